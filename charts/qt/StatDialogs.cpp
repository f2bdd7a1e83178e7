#include "charts/qt/StatDialogs.h"

#include "charts/qt/DialogRunners.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zor::charts::qt {

namespace {

// A combo box of names in list order, each item carrying its code, with one item chosen.
QComboBox* NameCombo(const std::vector<std::string>& names, const std::vector<int>& codes,
                     int chosen) {
    auto* combo = new QComboBox;
    for (size_t i = 0; i < names.size(); ++i)
        combo->addItem(QString::fromStdString(names[i]), i < codes.size() ? codes[i] : 0);
    combo->setCurrentIndex(PreselectedPosition(chosen, names.size()));
    return combo;
}

// OK and Cancel in a row.
QHBoxLayout* OkCancel(const UiServices& ui, QDialog* d, QPushButton*& ok, bool withCancel) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok = ui.Control(new QPushButton(ui.Text(CtlOk, "OK")), CtlOk));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
    if (withCancel) {
        auto* cancel = ui.Control(new QPushButton(ui.Text(CtlCancel, "Cancel")), CtlCancel);
        buttons->addWidget(cancel);
        QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
    }
    return buttons;
}

} // namespace

ScatterSetupDialog::ScatterSetupDialog(const UiServices& ui, const ScatterSetupModel& model,
                                       QWidget* parent)
    : QDialog(parent), result_(model) {
    xIndicator_ = ui.Control(NameCombo(model.indicators, model.indicatorCodes, model.xIndicator),
                             CtlXIndicator);
    xPeriod_ = ui.Control(NameCombo(model.periods, model.periodCodes, model.xPeriod), CtlXPeriod);
    yIndicator_ = ui.Control(NameCombo(model.indicators, model.indicatorCodes, model.yIndicator),
                             CtlYIndicator);
    yPeriod_ = ui.Control(NameCombo(model.periods, model.periodCodes, model.yPeriod), CtlYPeriod);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X:")), 0, 0);
    grid->addWidget(xIndicator_, 0, 1);
    grid->addWidget(xPeriod_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Y:")), 1, 0);
    grid->addWidget(yIndicator_, 1, 1);
    grid->addWidget(yPeriod_, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(OkCancel(ui, this, ok_, true));
    ui.PrepareDialog(this, ResourceId, "Scattergram setup");
}

void ScatterSetupDialog::done(int r) {
    if (r == Accepted) {
        result_.xIndicator = xIndicator_->currentIndex();
        result_.xPeriod = xPeriod_->currentIndex();
        result_.yIndicator = yIndicator_->currentIndex();
        result_.yPeriod = yPeriod_->currentIndex();
    }
    QDialog::done(r);
}

StatisticsDialog::StatisticsDialog(const UiServices& ui, const std::string& text, QWidget* parent)
    : QDialog(parent) {
    auto* group = new QGroupBox;
    auto* inner = new QVBoxLayout(group);
    text_ = ui.Control(new QLabel(QString::fromStdString(text)), CtlStatisticsText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    inner->addWidget(text_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(OkCancel(ui, this, ok_, false));
    ui.PrepareDialog(this, ResourceId, "Statistics");
}

HistogramDialog::HistogramDialog(const UiServices& ui, int columns, QWidget* parent)
    : QDialog(parent), columns_(ClampColumns(columns)) {
    spin_ = ui.Control(new QSpinBox, CtlColumnsEdit);
    spin_->setRange(MinColumns, MaxColumns);
    spin_->setValue(columns_);
    auto* row = new QHBoxLayout;
    row->addWidget(ui.Control(new QLabel(ui.Text(CtlColumnsLabel, "Columns:")), CtlColumnsLabel));
    row->addWidget(spin_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(OkCancel(ui, this, ok_, true));
    ui.PrepareDialog(this, ResourceId, "Histogram parameters");
}

void HistogramDialog::done(int r) {
    if (r == Accepted) columns_ = ClampColumns(spin_->value());
    QDialog::done(r);
}

void RegisterStatDialogs() {
    RegisterDialog<ScatterSetupModel>([](ScatterSetupModel& m, const UiServices& ui, QWidget* p) {
        ScatterSetupDialog dialog(ui, m, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m = dialog.Result();
        return true;
    });
    RegisterDialog<StatisticsModel>([](StatisticsModel& m, const UiServices& ui, QWidget* p) {
        StatisticsDialog dialog(ui, m.text, p);
        return dialog.exec() == QDialog::Accepted;
    });
    RegisterDialog<HistogramColumnsModel>(
        [](HistogramColumnsModel& m, const UiServices& ui, QWidget* p) {
            HistogramDialog dialog(ui, m.columns, p);
            if (dialog.exec() != QDialog::Accepted) return false;
            m.columns = dialog.Columns();
            return true;
        });
}

} // namespace zor::charts::qt
