#include "shell/UiText.h"

#include "core/Charset.h"
#include "core/Ids.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

namespace zor {

namespace {

constexpr char kCommandIdProperty[] = "zorCommandId";
constexpr char kControlIdProperty[] = "zorControlId";
constexpr char kDefaultTextProperty[] = "zorDefaultText";

QFontDatabase::WritingSystem WritingSystemOfCharset(int charset) {
    switch (charset) {
    case 161:
        return QFontDatabase::Greek;
    case 204:
        return QFontDatabase::Cyrillic;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 222:
        return QFontDatabase::Thai;
    case 163:
        return QFontDatabase::Vietnamese;
    case 128:
        return QFontDatabase::Japanese;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 129:
        return QFontDatabase::Korean;
    case 136:
        return QFontDatabase::TraditionalChinese;
    default:
        return QFontDatabase::Latin; // 1252, 1250, 1254, 1257 and the rest
    }
}

bool FamilyCovers(const QString& family, QFontDatabase::WritingSystem ws) {
    return QFontDatabase::writingSystems(family).contains(ws);
}

// The default caption of a menu item: remembered the first time, so that translating twice
// starts from the same text.
QString DefaultCaption(QAction* action) {
    QVariant v = action->property(kDefaultTextProperty);
    if (v.isValid()) return v.toString();
    action->setProperty(kDefaultTextProperty, action->text());
    return action->text();
}

void TranslateActions(const QList<QAction*>& actions, const TitlesTable& titles, int charset) {
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        const QString def = DefaultCaption(a);
        if (QMenu* sub = a->menu()) {
            // Popups are found by their caption as the menu holds it; a table written
            // without the mnemonic marker matches too.
            auto t = titles.TitleByDefaultText(def.toStdString());
            if (!t) t = titles.TitleByDefaultText(WithoutMnemonic(def).toStdString());
            a->setText(t ? FromCharset(*t, charset) : def);
            sub->setTitle(a->text());
            TranslateActions(sub->actions(), titles, charset);
            continue;
        }
        const int id = CommandIdOf(a);
        if (id == 0) continue;
        const bool checked = a->isChecked();
        auto t = titles.TitleById(uint32_t(id));
        a->setText(t ? FromCharset(*t, charset) : def);
        a->setChecked(checked);
    }
}

void ShortcutActions(const QList<QAction*>& actions) {
    for (QAction* a : actions) {
        if (QMenu* sub = a->menu()) {
            ShortcutActions(sub->actions());
            continue;
        }
        switch (CommandIdOf(a)) {
        case CmdPrint:              // "Print" of the views
        case CmdPrintIndicatorList: // "Print Main Indicators List" of the main frame
            a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
            break;
        case CmdQuit:
            a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
            break;
        default:
            break;
        }
    }
}

} // namespace

QString FromCharset(std::string_view bytes, int charset) {
    return QString::fromStdString(DecodeToUtf8(bytes, charset));
}

std::string ToCharset(const QString& text, int charset) {
    const QByteArray utf8 = text.toUtf8();
    if (auto all = EncodeFromUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), charset))
        return *all;
    std::string out;
    for (const uint cp : text.toUcs4()) {
        const QByteArray one =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1).toUtf8();
        auto b = EncodeFromUtf8(std::string_view(one.constData(), size_t(one.size())), charset);
        out += b && b->size() == 1 ? *b : std::string("?");
    }
    return out;
}

QFont FontForCharset(const QFont& font, int charset) {
    const QFontDatabase::WritingSystem ws = WritingSystemOfCharset(charset);
    const QString family = QFontInfo(font).family();
    if (FamilyCovers(family, ws) || FamilyCovers(font.family(), ws)) return font;
    QString fallback;
    for (const char* f : {"Arial", "Liberation Sans", "DejaVu Sans", "Noto Sans"}) {
        if (FamilyCovers(QString::fromLatin1(f), ws)) {
            fallback = QString::fromLatin1(f);
            break;
        }
    }
    if (fallback.isEmpty()) {
        const QStringList all = QFontDatabase::families(ws);
        if (all.isEmpty()) return font;
        fallback = all.front();
    }
    QFont out = font;
    out.setFamilies({font.family(), fallback});
    return out;
}

void SetCommandId(QAction* action, int id) {
    action->setProperty(kCommandIdProperty, id);
}

int CommandIdOf(const QAction* action) {
    return action ? action->property(kCommandIdProperty).toInt() : 0;
}

void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

int ControlIdOf(const QWidget* control) {
    return control ? control->property(kControlIdProperty).toInt() : 0;
}

void TranslateMenu(QMenuBar* bar, const TitlesTable& titles, int charset) {
    if (!bar || titles.empty()) return;
    TranslateActions(bar->actions(), titles, charset);
}

void TranslateMenu(QMenu* menu, const TitlesTable& titles, int charset) {
    if (!menu || titles.empty()) return;
    TranslateActions(menu->actions(), titles, charset);
}

void ApplyStandardShortcuts(QMenuBar* bar) {
    if (bar) ShortcutActions(bar->actions());
}

void PrepareDialog(QDialog* dialog, int resourceId, const TitlesTable& titles, int charset) {
    dialog->setFont(FontForCharset(dialog->font(), charset));
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const int id = ControlIdOf(w);
        if (id == 0) continue;
        auto t = titles.TitleById(uint32_t(id));
        if (!t) continue;
        const QString text = FromCharset(*t, charset);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(text);
    }
    if (auto t = titles.TitleById(uint32_t(resourceId)))
        dialog->setWindowTitle(FromCharset(*t, charset));
}

QString WithoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

} // namespace zor
