#include "indicators/qt/CDefinWnd.h"

#include "charts/qt/FramePlacement.h"
#include "core/Charset.h"
#include "core/InddefReader.h"
#include "core/MenuCaptions.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>

namespace zor::indicators::qt {

namespace {

constexpr int ItemRole = Qt::UserRole;
// The text pane's font: "Courier New", 16 pixels; a fixed pitch keeps the compiler's justified
// lines straight.
constexpr int TextFontPixels = 16;

} // namespace

CLeftView::CLeftView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    // Long names scroll instead of being cut.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

CDefinWnd::CDefinWnd(const std::string& path, const std::vector<ListItem>& selected,
                     charts::qt::UiServices ui, QWidget* owner)
    : QMainWindow(owner, charts::qt::OwnedWindowFlags(owner)), ui_(std::move(ui)) {
    setObjectName(QStringLiteral("CDefinWnd"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui_.Text(ResourceId, "Indicator definitions"));
    QAction* quit = menuBar()->addAction(QString::fromUtf8(CommandCaption(CmdQuit)));
    if (ui_.setCommandId) ui_.setCommandId(quit, CmdQuit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    if (ui_.translateMenu) ui_.translateMenu(menuBar());

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    tree_ = new CLeftView(splitter);
    text_ = new QPlainTextEdit(splitter);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(TextFontPixels);
    text_->setFont(font);
    splitter->addWidget(tree_);
    splitter->addWidget(text_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, 700});
    setCentralWidget(splitter);

    // Single-byte text of the charset, like the definitions.
    static const TitlesTable none;
    notFound_ = DefinitionNotFoundText(ui_.titles ? *ui_.titles : none);
    definitions_.Build(path, selected, ui_.charset);
    if (!selected.empty()) {
        auto* root =
            new QTreeWidgetItem(tree_, {ui_.Text(TextSelectedIndicators, "Selected indicators")});
        const auto& items = definitions_.Items();
        for (size_t i = 0; i < items.size(); ++i) {
            auto* item = new QTreeWidgetItem(root, {QString::fromStdString(items[i].label)});
            item->setData(0, ItemRole, static_cast<int>(i));
        }
        root->setExpanded(true);
        tree_->setCurrentItem(root);
    }
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { Show(current); });
    // Room for a whole line of the compiler's 100 columns and the indent.
    const int textWidth = QFontMetrics(font).horizontalAdvance(QString(104, u'x')) +
                          text_->verticalScrollBar()->sizeHint().width();
    resize(TreeWidth + splitter->handleWidth() + textWidth, 600);
}

void CDefinWnd::SelectIndicator(int index) {
    QTreeWidgetItem* root = tree_->Root();
    if (root && index >= 0 && index < root->childCount()) tree_->setCurrentItem(root->child(index));
}

void CDefinWnd::Show(QTreeWidgetItem* item) {
    if (!item || !item->data(0, ItemRole).isValid()) return; // the root shows nothing new
    const size_t index = static_cast<size_t>(item->data(0, ItemRole).toInt());
    const std::string text = definitions_.TextOf(index, notFound_);
    // The pane keeps lines by "\n"; the texts end their lines with "\r\n".
    QString shown = QString::fromStdString(DecodeToUtf8(text, ui_.charset));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setPlainText(shown);
}

} // namespace zor::indicators::qt
