#include "shell/CParameterDialog.h"

#include "core/Ids.h"
#include "shell/Application.h"
#include "shell/CCheckTree.h"
#include "shell/CSaveSelectionDialog.h"
#include "shell/UiText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zor {

namespace {

constexpr int ItemIndexRole = Qt::UserRole + 1;

QLabel* Caption(const char* text, int id, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    SetControlId(l, id);
    return l;
}

// A row of buttons, left-aligned.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) row->addWidget(b);
    row->addStretch(1);
    return row;
}

} // namespace

CParameterDialog::CParameterDialog(Application& app, QWidget* parent)
    : QDialog(parent), app_(app),
      model_(std::make_unique<ParameterModel>(app.Store(), app.CurrentSelection(),
                                              app.FirstAvailableLabel(),
                                              app.LastAvailableLabel())) {
    setObjectName(QStringLiteral("CParameterDialog"));
    setWindowTitle(QStringLiteral("Select Parameters"));
    setSizeGripEnabled(true);
    BuildControls();
    PrepareDialog(this, ResourceId, app_.Titles(), app_.Charset());
    Sync();

    // The period labels fit without being cut.
    int widest = 0;
    for (int i = 0; i < model_->Periods().Size(); ++i)
        widest =
            std::max(widest, periodTree_->fontMetrics().horizontalAdvance(PeriodItem(i)->text(0)));
    const int box = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, periodTree_);
    periodTree_->setMinimumWidth(
        widest + box + periodTree_->verticalScrollBar()->sizeHint().width() +
        2 * periodTree_->frameWidth() + 4 * fontMetrics().averageCharWidth());

    // The first checked period (else the first) is in view.
    const int first = model_->FirstShownPeriod();
    if (first >= 0) periodTree_->scrollToItem(PeriodItem(first), QAbstractItemView::PositionAtTop);

    // A quarter more than the resource's 516 x 301 dialog units at the dialog's font, so that
    // longer catalogues show more at once; never more than the screen holds.
    const QFontMetrics fm(font());
    const int unitX = std::max(1, fm.averageCharWidth());
    const int unitY = std::max(1, fm.height());
    QSize size(516 * unitX * 5 / 16, 301 * unitY * 5 / 32);
    size = size.expandedTo(content_->minimumSizeHint());
    if (QScreen* s = parent ? parent->screen() : screen()) {
        const QSize room = s->availableGeometry().size() * 9 / 10;
        size = size.boundedTo(room);
    }
    resize(size);
}

CParameterDialog::~CParameterDialog() = default;

QPushButton* CParameterDialog::AddButton(const char* text, int controlId) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    SetControlId(b, controlId);
    b->setAutoDefault(false);
    buttons_.push_back(b);
    return b;
}

void CParameterDialog::BuildControls() {
    QLayout* indicatorColumn = BuildIndicatorColumn();
    QLayout* regionColumn = BuildRegionColumn();
    QLayout* periodColumn = BuildPeriodColumn();

    // Layout: three columns that share the width; the trees take the height. They lie in a
    // scroll area, so that on a screen smaller than the dialog's least size (a large scale
    // factor) the dialog still fits and scrolls instead of hiding its OK button off-screen.
    content_ = new QWidget;
    auto* layout = new QHBoxLayout(content_);
    layout->addLayout(indicatorColumn, 5);
    layout->addLayout(regionColumn, 4);
    layout->addLayout(periodColumn, 2);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content_);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // One region set: no modes; the region buttons move up into their place.
    modeBox_->setVisible(model_->HasRegionModes());

    SetKeyboardOrder();
    ConnectIndicators();
    ConnectRegions();
    ConnectPeriods();
}

// Indicators: the tree, the selected list, Load, Clear and Save.
QLayout* CParameterDialog::BuildIndicatorColumn() {
    auto* label = Caption("Indicators", CtlIndicatorsLabel, this);
    indicatorTree_ = new CCheckTree(this);
    indicatorTree_->setObjectName(QStringLiteral("IndicatorTree"));
    auto* listLabel = Caption("Selected indicators", CtlSelectedIndicatorsLabel, this);
    indicatorList_ = new QListWidget(this);
    indicatorList_->setObjectName(QStringLiteral("SelectedIndicators"));
    QPushButton* load = AddButton("Load", CtlIndicatorLoad);
    QPushButton* clear = AddButton("Clear", CtlIndicatorClear);
    QPushButton* save = AddButton("Save", CtlIndicatorSave);
    label->setBuddy(indicatorTree_);
    listLabel->setBuddy(indicatorList_);

    auto* column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(indicatorTree_, 3);
    column->addWidget(listLabel);
    column->addWidget(indicatorList_, 1);
    column->addLayout(ButtonRow({load, clear, save}));
    return column;
}

// Regions: the tree, the selected list, the modes with the set box, Load, Clear and Save.
QLayout* CParameterDialog::BuildRegionColumn() {
    auto* label = Caption("Regions", CtlRegionsLabel, this);
    regionTree_ = new CCheckTree(this);
    regionTree_->setObjectName(QStringLiteral("RegionTree"));
    auto* listLabel = Caption("Selected regions", CtlSelectedRegionsLabel, this);
    regionList_ = new QListWidget(this);
    regionList_->setObjectName(QStringLiteral("SelectedRegions"));
    modeBox_ = new QGroupBox(QStringLiteral("Parameters"), this);
    SetControlId(modeBox_, CtlParameters);
    const char* modeTexts[3] = {"Top level region", "Specific region", "Small regions"};
    const int modeIds[3] = {CtlTopLevelRegions, CtlSpecificRegion, CtlSmallRegions};
    for (int m = 0; m < 3; ++m) {
        modeButtons_[m] = new QRadioButton(QString::fromLatin1(modeTexts[m]), modeBox_);
        SetControlId(modeButtons_[m], modeIds[m]);
    }
    setCombo_ = new QComboBox(modeBox_);
    SetControlId(setCombo_, CtlRegionSetBox);
    setCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setCombo_->setMinimumContentsLength(16);
    for (const std::string& l : model_->ComboLabels()) setCombo_->addItem(app_.Decode(l));
    QPushButton* load = AddButton("Load", CtlRegionLoad);
    QPushButton* clear = AddButton("Clear", CtlRegionClear);
    QPushButton* save = AddButton("Save", CtlRegionSave);
    label->setBuddy(regionTree_);
    listLabel->setBuddy(regionList_);

    auto* modeLayout = new QGridLayout(modeBox_);
    modeLayout->addWidget(modeButtons_[0], 0, 0, 1, 2);
    modeLayout->addWidget(modeButtons_[1], 1, 0);
    modeLayout->addWidget(setCombo_, 1, 1);
    modeLayout->addWidget(modeButtons_[2], 2, 0, 1, 2);
    modeLayout->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(regionTree_, 3);
    column->addWidget(listLabel);
    column->addWidget(regionList_, 1);
    column->addWidget(modeBox_);
    column->addLayout(ButtonRow({load, clear, save}));
    return column;
}

// Periods: the tree and Clear, then OK and Cancel.
QLayout* CParameterDialog::BuildPeriodColumn() {
    auto* label = Caption("Time periods", CtlPeriodsLabel, this);
    periodTree_ = new CCheckTree(this);
    periodTree_->setObjectName(QStringLiteral("PeriodTree"));
    periodTree_->setRootIsDecorated(false);
    QPushButton* clear = AddButton(" Clear", CtlPeriodClear);
    label->setBuddy(periodTree_);

    QPushButton* ok = AddButton("OK", CtlOk);
    QPushButton* cancel = AddButton("Cancel", CtlCancel);
    ok->setDefault(true);
    ok->setAutoDefault(true);

    auto* column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(periodTree_, 1);
    column->addWidget(clear);
    column->addSpacing(fontMetrics().height());
    column->addWidget(ok);
    column->addWidget(cancel);
    return column;
}

// Keyboard order follows the controls' order.
void CParameterDialog::SetKeyboardOrder() {
    QWidget* order[] = {indicatorTree_,
                        indicatorList_,
                        Button(CtlIndicatorLoad),
                        Button(CtlIndicatorClear),
                        Button(CtlIndicatorSave),
                        regionTree_,
                        regionList_,
                        modeButtons_[0],
                        modeButtons_[1],
                        modeButtons_[2],
                        setCombo_,
                        Button(CtlRegionLoad),
                        Button(CtlRegionClear),
                        Button(CtlRegionSave),
                        periodTree_,
                        Button(CtlPeriodClear),
                        Button(CtlOk),
                        Button(CtlCancel)};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void CParameterDialog::ConnectIndicators() {
    connect(indicatorTree_, &CCheckTree::checkClicked, this,
            [this](QTreeWidgetItem* item, Qt::KeyboardModifiers) {
                if (model_->ClickIndicator(ItemIndex(item))) Sync();
            });
    connect(indicatorTree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (syncing_) return;
        model_->SetIndicatorExpanded(ItemIndex(item), true);
        Sync();
    });
    connect(indicatorTree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (syncing_) return;
        model_->SetIndicatorExpanded(ItemIndex(item), false);
        Sync();
    });
    connect(Button(CtlIndicatorClear), &QPushButton::clicked, this, [this] {
        model_->ClearIndicators();
        Sync();
    });
    connect(Button(CtlIndicatorLoad), &QPushButton::clicked, this,
            &CParameterDialog::LoadIndicators);
    connect(Button(CtlIndicatorSave), &QPushButton::clicked, this,
            &CParameterDialog::SaveIndicators);
}

void CParameterDialog::ConnectRegions() {
    connect(regionTree_, &CCheckTree::checkClicked, this,
            [this](QTreeWidgetItem* item, Qt::KeyboardModifiers) {
                if (model_->ClickRegion(ItemIndex(item))) Sync();
            });
    auto regionExpansion = [this](QTreeWidgetItem* item, bool expanded) {
        if (syncing_) return;
        model_->SetRegionExpanded(ItemIndex(item), expanded);
        Sync(); // puts the item back when the mode does not allow the change
    };
    connect(regionTree_, &QTreeWidget::itemExpanded, this,
            [regionExpansion](QTreeWidgetItem* item) { regionExpansion(item, true); });
    connect(regionTree_, &QTreeWidget::itemCollapsed, this,
            [regionExpansion](QTreeWidgetItem* item) { regionExpansion(item, false); });
    for (int m = 0; m < 3; ++m) {
        connect(modeButtons_[m], &QRadioButton::toggled, this, [this, m](bool on) {
            if (syncing_ || !on) return;
            model_->SetMode(m);
            Sync();
        });
    }
    connect(setCombo_, &QComboBox::activated, this, [this](int index) {
        model_->ChooseSet(index);
        Sync();
    });
    connect(Button(CtlRegionClear), &QPushButton::clicked, this, [this] {
        model_->ClearRegions();
        Sync();
    });
    connect(Button(CtlRegionLoad), &QPushButton::clicked, this, &CParameterDialog::LoadRegions);
    connect(Button(CtlRegionSave), &QPushButton::clicked, this, &CParameterDialog::SaveRegions);
}

// Periods, and OK and Cancel.
void CParameterDialog::ConnectPeriods() {
    connect(periodTree_, &CCheckTree::checkClicked, this,
            [this](QTreeWidgetItem* item, Qt::KeyboardModifiers mods) {
                if (model_->ClickPeriod(ItemIndex(item), mods.testFlag(Qt::ShiftModifier))) Sync();
            });
    connect(Button(CtlPeriodClear), &QPushButton::clicked, this, [this] {
        model_->ClearPeriods();
        Sync();
    });

    connect(Button(CtlOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(CtlCancel), &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* CParameterDialog::Button(int controlId) const {
    for (QPushButton* b : buttons_)
        if (ControlIdOf(b) == controlId) return b;
    return nullptr;
}

int CParameterDialog::ItemIndex(QTreeWidgetItem* item) const {
    return item ? item->data(0, ItemIndexRole).toInt() : -1;
}

void CParameterDialog::SyncTree(CCheckTree* tree, const CheckTree& model,
                                std::vector<QTreeWidgetItem*>& items) {
    // Items are only ever added, and a parent always comes before its children.
    for (int i = int(items.size()); i < model.Size(); ++i) {
        const CheckItem& m = model[i];
        QTreeWidgetItem* item =
            m.parent < 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(items[size_t(m.parent)]);
        item->setText(0, app_.Decode(m.label));
        item->setToolTip(0, item->text(0)); // long names are cut at the tree's edge
        item->setData(0, ItemIndexRole, i);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        items.push_back(item);
    }
    for (int i = 0; i < model.Size(); ++i) {
        const CheckItem& m = model[i];
        QTreeWidgetItem* item = items[size_t(i)];
        CCheckTree::SetCheckBox(item, m.checkable, m.checked);
        const auto policy = m.hasChildrenToLoad ? QTreeWidgetItem::ShowIndicator
                                                : QTreeWidgetItem::DontShowIndicatorWhenChildless;
        if (item->childIndicatorPolicy() != policy) item->setChildIndicatorPolicy(policy);
        if (item->isExpanded() != m.expanded) item->setExpanded(m.expanded);
    }
}

void CParameterDialog::SyncList(QListWidget* list, const std::vector<SelectedEntry>& entries) {
    bool same = list->count() == int(entries.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->data(Qt::UserRole).toInt() == entries[size_t(i)].data;
    if (same) return;
    list->clear();
    for (const SelectedEntry& e : entries) {
        auto* item = new QListWidgetItem(app_.Decode(e.label), list);
        item->setData(Qt::UserRole, e.data);
    }
    list->scrollToBottom();
}

void CParameterDialog::SyncRegionControls() {
    const int mode = model_->Mode();
    for (int m = 0; m < 3; ++m) modeButtons_[m]->setChecked(m == mode);
    setCombo_->setEnabled(model_->ComboEnabled());
    setCombo_->setCurrentIndex(model_->ComboIndex());
    // Expand buttons only where the user may use them; elsewhere the dialog decides which
    // top-level region is open.
    regionTree_->setItemsExpandable(model_->UserMayExpandRegions());
    regionTree_->setRootIsDecorated(model_->UserMayExpandRegions());
}

void CParameterDialog::Sync() {
    syncing_ = true;
    SyncTree(indicatorTree_, model_->Indicators(), indicatorItems_);
    SyncTree(regionTree_, model_->Regions(), regionItems_);
    SyncTree(periodTree_, model_->Periods(), periodItems_);
    SyncList(indicatorList_, model_->SelectedIndicators());
    SyncList(regionList_, model_->SelectedRegions());
    SyncRegionControls();
    syncing_ = false;
}

std::string CParameterDialog::IndicatorFile() const {
    return app_.Store().DataDirectory() + "ind.sav";
}

std::string CParameterDialog::RegionFile() const {
    return app_.Store().DataDirectory() + "reg.sav";
}

int CParameterDialog::Choose(QPushButton* button,
                             const std::vector<std::pair<int, QString>>& names) {
    if (names.empty()) return -1;
    if (loadChooser_) return loadChooser_(button, names);
    QMenu list(button);
    list.setFont(font());
    list.setMinimumWidth(button->width());
    for (const auto& [slot, name] : names) {
        QAction* a = list.addAction(QString(name).replace(u'&', QStringLiteral("&&")));
        a->setData(slot);
    }
    QAction* chosen = list.exec(button->mapToGlobal(QPoint(0, 0)));
    return chosen ? chosen->data().toInt() : -1;
}

void CParameterDialog::LoadIndicators() {
    auto lists = ReadIndicatorListFile(IndicatorFile());
    if (!lists) return;
    std::vector<std::pair<int, QString>> names;
    for (const auto& l : *lists) names.emplace_back(l.slot, app_.Decode(l.name));
    const int slot = Choose(Button(10103), names);
    for (const auto& l : *lists) {
        if (l.slot != slot) continue;
        model_->ApplySavedIndicators(l.codes);
        Sync();
        break;
    }
}

void CParameterDialog::LoadRegions() {
    auto lists = ReadRegionListFile(RegionFile());
    if (!lists) return;
    std::vector<std::pair<int, QString>> names;
    for (const auto& l : *lists) names.emplace_back(l.slot, app_.Decode(l.name));
    const int slot = Choose(Button(10108), names);
    for (const auto& l : *lists) {
        if (l.slot != slot) continue;
        model_->ApplySavedRegions(l.setCode, l.keys);
        Sync();
        break;
    }
}

SaveDialog CParameterDialog::DefaultSaveDialog() {
    return [this](SaveSelectionModel& m) {
        CSaveSelectionDialog d(m, app_.Titles(), app_.Charset(), this);
        return d.exec() == QDialog::Accepted;
    };
}

void CParameterDialog::SaveIndicators() {
    SaveDialog dialog = saveDialog_ ? saveDialog_ : DefaultSaveDialog();
    SaveIndicatorSelection(IndicatorFile(), model_->CheckedIndicatorCodes(), dialog);
}

void CParameterDialog::SaveRegions() {
    SaveDialog dialog = saveDialog_ ? saveDialog_ : DefaultSaveDialog();
    SaveRegionSelection(RegionFile(), model_->SetCode(), model_->CheckedRegionKeys(), dialog);
}

} // namespace zor
