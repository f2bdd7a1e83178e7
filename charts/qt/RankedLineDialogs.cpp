#include "charts/qt/RankedLineDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zor::charts::qt {

namespace {

QComboBox* Combo(const UiServices& ui, const std::vector<std::string>& items, int current, int id) {
    auto* box = ui.Control(new QComboBox, id);
    for (const std::string& item : items) box->addItem(QString::fromStdString(item));
    if (current >= 0 && current < box->count()) box->setCurrentIndex(current);
    return box;
}

} // namespace

RankedSelectionDialog::RankedSelectionDialog(const UiServices& ui, RankedSelectionModel& model,
                                             QWidget* parent)
    : QDialog(parent), model_(model) {
    const RankedChoice& c = model.choice;
    auto* grid = new QGridLayout;
    grid->addWidget(ui.Control(new QLabel(ui.Text(CtlBlueBar, "Blue bar:")), CtlBlueBar), 0, 0);
    grid->addWidget(indicatorA_ = Combo(ui, model.indicators, c.indicatorA, CtlIndicatorA), 0, 1);
    grid->addWidget(periodA_ = Combo(ui, model.periods, c.periodA, CtlPeriodA), 0, 2);
    lightBlue_ =
        ui.Control(new QLabel(ui.Text(CtlLightBlueBar, "Light blue bar:")), CtlLightBlueBar);
    grid->addWidget(lightBlue_, 1, 0);
    grid->addWidget(indicatorB_ = Combo(ui, model.indicators, c.indicatorB, CtlIndicatorB), 1, 1);
    grid->addWidget(periodB_ = Combo(ui, model.periods, c.periodB, CtlPeriodB), 1, 2);
    twoBars_ = ui.Control(new QCheckBox(ui.Text(CtlTwoBars, "Use two bars chart")), CtlTwoBars);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(twoBars_);
    layout->addLayout(buttons);

    auto apply = [this](bool on) {
        const bool enabled = LightBlueEnabled(on);
        lightBlue_->setEnabled(enabled);
        indicatorB_->setEnabled(enabled);
        periodB_->setEnabled(enabled);
    };
    twoBars_->setChecked(c.twoBars);
    apply(c.twoBars);
    connect(twoBars_, &QCheckBox::toggled, this, apply);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Ranked Bar Chart Selection");
}

void RankedSelectionDialog::done(int r) {
    if (r == Accepted)
        model_.choice = AcceptRankedSelection(model_.choice, indicatorA_->currentIndex(),
                                              periodA_->currentIndex(), indicatorB_->currentIndex(),
                                              periodB_->currentIndex(), twoBars_->isChecked());
    QDialog::done(r);
}

RegionsHighlightDialog::RegionsHighlightDialog(const UiServices& ui, RegionsHighlightModel& model,
                                               QWidget* parent)
    : QDialog(parent), model_(model) {
    auto* layout = new QVBoxLayout(this);
    list_ = ui.Control(new QListWidget, CtlRegionList);
    for (size_t i = 0; i < model.names.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(model.names[i]), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool on = i < model.checked.size() && model.checked[i];
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    layout->addWidget(list_);
    use_ = ui.Control(new QCheckBox(ui.Text(CtlUseHighlighting, "Use regions highlighting")),
                      CtlUseHighlighting);
    layout->addWidget(use_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_ = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    use_->setChecked(model.use);
    list_->setEnabled(HighlightListEnabled(model.use));
    connect(use_, &QCheckBox::toggled, this,
            [this](bool on) { list_->setEnabled(HighlightListEnabled(on)); });
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui.PrepareDialog(this, ResourceId, "Regions highlighting");
}

void RegionsHighlightDialog::done(int r) {
    if (r == Accepted) {
        model_.checked.assign(static_cast<size_t>(list_->count()), false);
        for (int i = 0; i < list_->count(); ++i)
            model_.checked[static_cast<size_t>(i)] = list_->item(i)->checkState() == Qt::Checked;
        model_.use = use_->isChecked();
    }
    QDialog::done(r);
}

} // namespace zor::charts::qt
