#include "indicators/qt/CTempIndSetup.h"

#include "charts/qt/FramePlacement.h"
#include "core/DataStore.h"
#include "core/MenuCaptions.h"
#include "core/Selection.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "indicators/FormulaPicture.h"
#include "indicators/qt/CSelectIndicator.h"

#include <algorithm>

#include <QGridLayout>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

namespace zor::indicators::qt {

namespace {

constexpr int SlotRole = Qt::UserRole;
constexpr int TypeRole = Qt::UserRole;
// The formulas' font: Arial with a 17-pixel line.
constexpr int FormulaFontHeight = 17;

QString Utf8(const std::string& s) {
    return QString::fromStdString(s);
}

void SetText(QLineEdit* edit, const std::string& text, const QLineEdit* keep = nullptr) {
    if (!edit || edit == keep) return;
    const QString t = Utf8(text);
    if (edit->text() == t) return;
    const QSignalBlocker block(edit);
    edit->setText(t);
}

} // namespace

// --- Type list -----------------------------------------------------------------------------------

CFormulaDelegate::CFormulaDelegate(QString movingAverage, QObject* parent)
    : QAbstractItemDelegate(parent), movingAverage_(movingAverage.toStdString()) {}

void CFormulaDelegate::PaintFormula(QPainter& painter, const QRect& rect, int type,
                                    const QColor& color) const {
    draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen());
    draw::Font font;
    font.height = FormulaFontHeight;
    dc.SetFont(font);
    const draw::Rect cell{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    DrawFormula(dc, LayoutFormula(dc, type, cell, movingAverage_),
                draw::Rgb(color.red(), color.green(), color.blue()));
}

void CFormulaDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect,
                      option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    PaintFormula(*painter, option.rect, index.data(TypeRole).toInt(),
                 option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    if ((option.state & QStyle::State_HasFocus) && option.widget) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect.adjusted(1, 1, -1, -1);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                              option.widget);
    }
}

QSize CFormulaDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {240, FormulaItemHeight};
}

CFormulaCombo::CFormulaCombo(QString movingAverage, QWidget* parent) : QComboBox(parent) {
    delegate_ = new CFormulaDelegate(movingAverage, this);
    setItemDelegate(delegate_);
    for (int type = Ratio; type <= MovingAverage; ++type)
        addItem(type == MovingAverage ? movingAverage : QString::fromLatin1(FormulaText(type)),
                type);
    setCurrentIndex(-1);
}

int CFormulaCombo::TypeAt(int index) const {
    return index >= 0 && index < count() ? itemData(index, TypeRole).toInt() : NoType;
}

int CFormulaCombo::IndexOf(int type) const {
    return findData(type, TypeRole);
}

QSize CFormulaCombo::sizeHint() const {
    return {260, FormulaItemHeight + 6};
}

QSize CFormulaCombo::minimumSizeHint() const {
    return sizeHint();
}

void CFormulaCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    delegate_->PaintFormula(
        painter, field, TypeAt(currentIndex()),
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
}

// --- Tree ----------------------------------------------------------------------------------------

CTmpIndsTree::CTmpIndsTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    // Long names scroll instead of being cut.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QTreeWidgetItem* CTmpIndsTree::SlotItem(int slot) const {
    QTreeWidgetItem* root = Root();
    return root && slot >= 0 && slot < root->childCount() ? root->child(slot) : nullptr;
}

int CTmpIndsTree::SlotOf(const QTreeWidgetItem* item) {
    if (!item) return TempEditor::Root;
    const QVariant v = item->data(0, SlotRole);
    return v.isValid() ? v.toInt() : TempEditor::Root;
}

// --- Form ----------------------------------------------------------------------------------------

CTmpDlgView::CTmpDlgView(const charts::qt::UiServices& ui, int nameLength, QWidget* parent)
    : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    code_ = ui.Control(new QLineEdit(this), CtlTempCode);
    code_->setReadOnly(true);
    title_ = ui.Control(new QLineEdit(this), CtlTempTitle);
    title_->setMaxLength(std::clamp(nameLength, 1, 255));
    type_ = ui.Control(new CFormulaCombo(ui.Text(TextMovingAverage, "Moving average"), this),
                       CtlTempType);
    grid->addWidget(new QLabel(QStringLiteral("Code:"), this), 0, 0);
    grid->addWidget(code_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Title:"), this), 1, 0);
    grid->addWidget(title_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Type:"), this), 2, 0);
    grid->addWidget(type_, 2, 1, Qt::AlignLeft);

    pages_ = ui.Control(new QStackedWidget(this), CtlPageArea);
    pages_->addWidget(new QWidget(pages_)); // no type
    for (int dialog = 1; dialog <= 5; ++dialog) {
        auto* page = new QWidget(pages_);
        auto* outer = new QVBoxLayout(page);
        outer->setContentsMargins(0, 0, 0, 0);
        TempPage& p = page_[static_cast<size_t>(dialog)];
        p.box =
            ui.Control(new QGroupBox(ui.Text(CtlParameters, "Parameters"), page), CtlParameters);
        outer->addWidget(p.box);
        outer->addStretch(1);
        auto* fields = new QGridLayout(p.box);
        const bool two = dialog <= 2;
        int row = 0;
        auto pick = [&](int id) {
            return ui.Control(new QPushButton(ui.Text(id, ". . ."), p.box), id);
        };
        p.first = ui.Control(new QLineEdit(p.box), CtlTempFirst);
        p.first->setReadOnly(true);
        p.pickFirst = pick(CtlPickFirst);
        fields->addWidget(new QLabel(two ? QStringLiteral("I1:") : QStringLiteral("I:"), p.box),
                          row, 0);
        fields->addWidget(p.first, row, 1);
        fields->addWidget(p.pickFirst, row++, 2);
        if (two) {
            p.second = ui.Control(new QLineEdit(p.box), CtlTempSecond);
            p.pickSecond = pick(CtlPickSecond);
            fields->addWidget(new QLabel(QStringLiteral("I2:"), p.box), row, 0);
            fields->addWidget(p.second, row, 1);
            fields->addWidget(p.pickSecond, row++, 2);
        }
        if (dialog == 1 || dialog == 4) {
            p.coefficient = ui.Control(new QLineEdit(p.box), CtlTempNumber);
            fields->addWidget(new QLabel(QStringLiteral("C:"), p.box), row, 0);
            fields->addWidget(p.coefficient, row++, 1);
        }
        if (dialog == 5) {
            p.years = ui.Control(new QLineEdit(p.box), CtlTempNumber);
            p.years->setMaximumWidth(80);
            auto* per = new QHBoxLayout;
            per->addWidget(p.years);
            per->addWidget(new QLabel(QStringLiteral("years"), p.box));
            per->addStretch(1);
            fields->addWidget(new QLabel(QStringLiteral("per"), p.box), row, 0);
            fields->addLayout(per, row++, 1);
        }
        fields->setColumnStretch(1, 1);
        pages_->addWidget(page);
    }
    grid->addWidget(pages_, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    saveItem_ = ui.Control(new QPushButton(ui.Text(CtlSaveCurrentItem, "Save current item"), this),
                           CtlSaveCurrentItem);
    insert_ = ui.Control(new QPushButton(ui.Text(CtlInsert, "Insert"), this), CtlInsert);
    delete_ = ui.Control(new QPushButton(ui.Text(CtlDelete, "Delete"), this), CtlDelete);
    saveList_ = ui.Control(new QPushButton(ui.Text(CtlSaveList, "Save list"), this), CtlSaveList);
    buttons->addWidget(saveItem_);
    buttons->addWidget(insert_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    buttons->addWidget(saveList_);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void CTmpDlgView::ShowFields(const TempForm& form, const QLineEdit* keep) {
    for (const TempPage& p : page_) {
        SetText(p.first, form.first, keep);
        SetText(p.second, form.second, keep);
        SetText(p.coefficient, form.coefficient, keep);
        SetText(p.years, form.years, keep);
    }
}

void CTmpDlgView::Show(const TempForm& form) {
    SetText(code_, form.code);
    SetText(title_, form.title);
    {
        const QSignalBlocker block(type_);
        type_->setCurrentIndex(type_->IndexOf(form.type));
    }
    title_->setEnabled(form.titleEnabled);
    type_->setEnabled(form.typeEnabled);
    saveItem_->setEnabled(form.saveItemEnabled);
    insert_->setEnabled(form.insertEnabled);
    delete_->setEnabled(form.deleteEnabled);
    const int dialog = PageOf(form.type).dialog;
    pages_->setCurrentIndex(dialog);
    pages_->setVisible(dialog != 0);
    ShowFields(form);
    type_->update();
}

// --- Frame ---------------------------------------------------------------------------------------

CTempIndSetup* CTempIndSetup::Open(DataStore& store, Selection& selection,
                                   const charts::qt::UiServices& ui, QWidget* owner) {
    auto editor = std::make_unique<TempEditor>(store);
    if (!editor->Open(store.TempListPath())) {
        const QString text = QStringLiteral("%1 is not a temporary indicator list.")
                                 .arg(QString::fromStdString(editor->Path()));
        if (ui.showMessage)
            ui.showMessage(owner, text, true);
        else
            QMessageBox::critical(owner, ui.Text(ResourceId, "Setup temporary indicators"), text);
        return nullptr;
    }
    return new CTempIndSetup(std::move(editor), store, selection, ui, owner);
}

CTempIndSetup::CTempIndSetup(std::unique_ptr<TempEditor> editor, DataStore& store,
                             Selection& selection, charts::qt::UiServices ui, QWidget* owner)
    : QMainWindow(owner, charts::qt::OwnedWindowFlags(owner)), editor_(std::move(editor)),
      store_(store), selection_(selection), ui_(std::move(ui)) {
    setObjectName(QStringLiteral("CTempIndSetup"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window takes no input while the editor is open.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(ui_.Text(ResourceId, "Setup temporary indicators"));
    QAction* quit = menuBar()->addAction(QString::fromUtf8(CommandCaption(CmdQuit)));
    if (ui_.setCommandId) ui_.setCommandId(quit, CmdQuit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    if (ui_.translateMenu) ui_.translateMenu(menuBar());

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    tree_ = new CTmpIndsTree(splitter);
    form_ = new CTmpDlgView(ui_, editor_->NameLength(), splitter);
    splitter->addWidget(tree_);
    splitter->addWidget(form_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, 520});
    setCentralWidget(splitter);

    auto* root =
        new QTreeWidgetItem(tree_, {ui_.Text(TextTemporaryIndicators, "Temporary indicators")});
    for (int s = 0; s < TempSlotCount; ++s) {
        auto* item = new QTreeWidgetItem(root, {Utf8(editor_->ItemText(s))});
        item->setData(0, SlotRole, s);
    }
    root->setExpanded(true);
    Connect();
    ShowForm();
    SelectSlot(editor_->InitialSlot());
    if (QTreeWidgetItem* item = tree_->currentItem()) tree_->scrollToItem(item);
    resize(TreeWidth + 560, 520);
}

void CTempIndSetup::Connect() {
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                if (moving_) return;
                const int left = editor_->Current();
                const std::string error = editor_->Select(CTmpIndsTree::SlotOf(current));
                if (!error.empty()) {
                    moving_ = true;
                    tree_->setCurrentItem(previous);
                    moving_ = false;
                    Message(error);
                    return;
                }
                UpdateItemText(left);
                ShowForm();
            });
    connect(form_->Title(), &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_->SetTitle(t.toStdString()); });
    connect(form_->Type(), &QComboBox::activated, this, [this](int index) {
        editor_->SetType(form_->Type()->TypeAt(index));
        ShowForm();
    });
    for (int dialog = 1; dialog <= 5; ++dialog) {
        const TempPage& p = form_->Page(dialog);
        connect(p.pickFirst, &QPushButton::clicked, this, [this] { Pick(1); });
        if (p.pickSecond) connect(p.pickSecond, &QPushButton::clicked, this, [this] { Pick(2); });
        auto typed = [this](QLineEdit* edit, void (TempEditor::*set)(std::string)) {
            if (!edit) return;
            connect(edit, &QLineEdit::textEdited, this, [this, edit, set](const QString& t) {
                (editor_.get()->*set)(t.toStdString());
                form_->ShowFields(editor_->Form(), edit);
            });
        };
        typed(p.second, &TempEditor::SetSecond);
        typed(p.coefficient, &TempEditor::SetCoefficient);
        typed(p.years, &TempEditor::SetYears);
    }
    connect(form_->SaveItemButton(), &QPushButton::clicked, this, [this] { SaveCurrentItem(); });
    connect(form_->InsertButton(), &QPushButton::clicked, this, [this] { Insert(); });
    connect(form_->DeleteButton(), &QPushButton::clicked, this, [this] { Delete(); });
    connect(form_->SaveListButton(), &QPushButton::clicked, this, [this] { SaveList(); });
}

void CTempIndSetup::Message(const std::string& text) {
    const QString t = Utf8(text);
    if (messageHook)
        messageHook(t);
    else if (ui_.showMessage)
        ui_.showMessage(this, t, true);
    else
        QMessageBox::warning(this, windowTitle(), t);
}

void CTempIndSetup::ShowForm() {
    form_->Show(editor_->Form());
}

void CTempIndSetup::UpdateItemText(int slot) {
    if (QTreeWidgetItem* item = tree_->SlotItem(slot))
        item->setText(0, Utf8(editor_->ItemText(slot)));
}

void CTempIndSetup::UpdateAllItems() {
    for (int s = 0; s < TempSlotCount; ++s) UpdateItemText(s);
}

bool CTempIndSetup::SelectSlot(int slot) {
    QTreeWidgetItem* item = slot == TempEditor::Root ? tree_->Root() : tree_->SlotItem(slot);
    if (!item) return false;
    tree_->setCurrentItem(item);
    return editor_->Current() == slot;
}

void CTempIndSetup::SaveCurrentItem() {
    const std::string error = editor_->SaveCurrentItem();
    UpdateItemText(editor_->Current());
    if (!error.empty()) Message(error);
}

void CTempIndSetup::Insert() {
    if (!editor_->Insert()) return;
    UpdateItemText(editor_->Current());
    ShowForm();
    form_->Title()->setFocus();
    form_->Title()->selectAll();
}

void CTempIndSetup::Delete() {
    if (!editor_->Delete()) return;
    UpdateItemText(editor_->Current());
    ShowForm();
}

bool CTempIndSetup::SaveList() {
    const std::string error = editor_->SaveList(&selection_, writer);
    UpdateAllItems();
    ShowForm();
    if (!error.empty()) {
        Message(error);
        return false;
    }
    Q_EMIT listSaved();
    return true;
}

void CTempIndSetup::Pick(int field) {
    const std::optional<QString> answer =
        pickHook ? pickHook(field) : CSelectIndicator::Ask(store_, ui_, this);
    if (!answer) return;
    if (field == 1)
        editor_->SetFirst(answer->toStdString());
    else
        editor_->SetSecond(answer->toStdString());
    form_->ShowFields(editor_->Form());
}

} // namespace zor::indicators::qt
