// The dialogs of the scattergram and the histogram: "Scattergram setup" (DialogScatterSetup),
// "Statistics" (DialogStatistics) and "Histogram parameters" (DialogHistogram). Their models are
// in charts/StatDialogs.h; these are the widgets around them.
#pragma once

#include "charts/StatDialogs.h"
#include "charts/qt/UiServices.h"
#include "core/Ids.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zor::charts::qt {

class ScatterSetupDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogScatterSetup;
    ScatterSetupDialog(const UiServices& ui, const ScatterSetupModel& model,
                       QWidget* parent = nullptr);

    // The model with the four chosen positions (valid once accepted).
    const ScatterSetupModel& Result() const { return result_; }

    QComboBox* xIndicator() const { return xIndicator_; }
    QComboBox* xPeriod() const { return xPeriod_; }
    QComboBox* yIndicator() const { return yIndicator_; }
    QComboBox* yPeriod() const { return yPeriod_; }
    QPushButton* okButton() const { return ok_; }

    void done(int r) override;

private:
    ScatterSetupModel result_;
    QComboBox *xIndicator_, *xPeriod_, *yIndicator_, *yPeriod_;
    QPushButton* ok_;
};

class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogStatistics;
    StatisticsDialog(const UiServices& ui, const std::string& text, QWidget* parent = nullptr);

    QLabel* text() const { return text_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* text_;
    QPushButton* ok_;
};

class HistogramDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogHistogram;
    HistogramDialog(const UiServices& ui, int columns, QWidget* parent = nullptr);

    // The column count chosen (valid once accepted).
    int Columns() const { return columns_; }

    QSpinBox* columnsBox() const { return spin_; }
    QPushButton* okButton() const { return ok_; }

    void done(int r) override;

private:
    QSpinBox* spin_;
    QPushButton* ok_;
    int columns_;
};

// Registers the three dialogs for their models. Safe to call more than once.
void RegisterStatDialogs();

} // namespace zor::charts::qt
