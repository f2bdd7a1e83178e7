#include "shell/CAboutDialog.h"

#include "core/Ids.h"
#include "shell/Application.h"
#include "shell/Icons.h"
#include "shell/UiText.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zor {

std::string_view AboutDescription() {
    return "zorgui2 shows statistical indicators by region and year\r\n"
           "as choropleth maps, charts and tables.\r\n"
           "\r\n"
           "Choose indicators, regions and time periods with\r\n"
           "Parameters - Select Parameters, then open a view from\r\n"
           "the Graphs and Tables menus or the toolbar. Every view\r\n"
           "works on the selection as it was when it was opened.\r\n"
           "\r\n"
           "Views print, and export their pictures and tables.\r\n"
           "Temporary indicators are computed from stored ones.\r\n";
}

std::vector<std::string> DescriptionLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t cr = text.find('\r', pos);
        if (cr == std::string_view::npos) cr = text.size();
        lines.push_back(" " + std::string(text.substr(pos, cr - pos)));
        pos = cr + 1;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

CAboutDialog::CAboutDialog(Application& app, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About zorgui2"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(QSize(48, 48)));
    icon->setAlignment(Qt::AlignTop);

    auto* title = new QLabel(app.ProgramTitle() + QStringLiteral(" Version 2.0"), this);
    QFont bold(QStringLiteral("Arial"));
    bold.setStyleHint(QFont::SansSerif);
    bold.setBold(true);
    bold.setPointSizeF(font().pointSizeF() * 1.2);
    title->setFont(FontForCharset(bold, app.Charset()));

    auto* list = new QListWidget(this);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    fixed.setPointSizeF(font().pointSizeF() * 1.1);
    list->setFont(FontForCharset(fixed, app.Charset()));
    for (const auto& line : DescriptionLines(AboutDescription()))
        list->addItem(QString::fromStdString(line));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    const QFontMetrics fm(list->font());
    list->setMinimumSize(fm.horizontalAdvance(QLatin1Char('x')) * 60,
                         fm.lineSpacing() * (list->count() + 1));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok, CtlOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    PrepareDialog(this, ResourceId, app.Titles(), app.Charset());
}

} // namespace zor
