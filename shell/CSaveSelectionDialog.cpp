#include "shell/CSaveSelectionDialog.h"

#include "shell/UiText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zor {

namespace {

// The title editor takes at most as many characters as the name field holds.
class TitleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setMaxLength(SavedNameLength);
        return w;
    }
};

} // namespace

CSaveSelectionDialog::CSaveSelectionDialog(SaveSelectionModel& model, const TitlesTable& titles,
                                           int charset, QWidget* parent)
    : QDialog(parent), model_(model), charset_(charset) {
    setWindowTitle(QStringLiteral("Save selection"));

    rows_ = new QTreeWidget(this);
    rows_->setColumnCount(2);
    rows_->setHeaderLabels({QStringLiteral("Position"), QStringLiteral("Title")});
    rows_->setRootIsDecorated(false);
    rows_->setUniformRowHeights(true);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setItemDelegateForColumn(1, new TitleDelegate(rows_));
    rows_->header()->setStretchLastSection(true);
    rows_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    rows_->installEventFilter(this);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    insert_ = new QPushButton(QStringLiteral("Insert"), this);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    SetControlId(ok_, CtlOk);
    SetControlId(cancel_, CtlCancel);
    SetControlId(insert_, CtlInsert);
    SetControlId(delete_, CtlDelete);
    ok_->setDefault(true);
    for (QPushButton* b : {insert_, delete_}) b->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addSpacing(fontMetrics().height());
    buttons->addWidget(insert_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(rows_, 1);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(insert_, &QPushButton::clicked, this, &CSaveSelectionDialog::OnInsert);
    connect(delete_, &QPushButton::clicked, this, &CSaveSelectionDialog::OnDelete);
    connect(rows_, &QTreeWidget::itemChanged, this, &CSaveSelectionDialog::OnTitleEdited);
    connect(rows_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_)
            model_.Select(item ? rows_->indexOfTopLevelItem(item) : SaveSelectionModel::None);
        UpdateButtons();
    });
    connect(rows_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { EditTitle(rows_->indexOfTopLevelItem(item)); });

    PrepareDialog(this, ResourceId, titles, charset);
    Fill();
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(QLatin1Char('x')) * 56, fm.lineSpacing() * 22);
}

void CSaveSelectionDialog::Fill() {
    filling_ = true;
    rows_->clear();
    for (int i = 0; i < model_.Count(); ++i) {
        auto* item = new QTreeWidgetItem(rows_);
        item->setText(0, QString::fromStdString(model_.Position(i)));
        item->setText(1, FromCharset(model_.Title(i), charset_));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    const int sel = model_.Selected();
    rows_->setCurrentItem(sel >= 0 ? rows_->topLevelItem(sel) : nullptr);
    if (sel < 0) rows_->clearSelection();
    filling_ = false;
    UpdateButtons();
}

void CSaveSelectionDialog::UpdateButtons() {
    insert_->setEnabled(model_.CanInsert());
    delete_->setEnabled(model_.Selected() >= 0);
}

void CSaveSelectionDialog::EditTitle(int row) {
    QTreeWidgetItem* item = rows_->topLevelItem(row);
    if (!item) return;
    rows_->setCurrentItem(item);
    rows_->editItem(item, 1);
}

void CSaveSelectionDialog::OnInsert() {
    const int row = model_.Insert();
    if (row < 0) return;
    Fill();
    EditTitle(row);
}

void CSaveSelectionDialog::OnDelete() {
    if (!model_.Delete()) return;
    Fill();
}

void CSaveSelectionDialog::OnTitleEdited(QTreeWidgetItem* item, int column) {
    if (filling_ || column != 1) return;
    const int row = rows_->indexOfTopLevelItem(item);
    // A refused title (one that would mark the slot free) goes back to the stored one.
    model_.Rename(row, ToCharset(item->text(1), charset_));
    filling_ = true;
    item->setText(1, FromCharset(model_.Title(row), charset_));
    filling_ = false;
}

bool CSaveSelectionDialog::eventFilter(QObject* watched, QEvent* event) {
    // Only keys for the list itself: Enter in the title editor reaches the list too.
    if (watched == rows_ && event->type() == QEvent::KeyPress && rows_->hasFocus()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
            rows_->currentItem()) {
            EditTitle(rows_->indexOfTopLevelItem(rows_->currentItem()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zor
