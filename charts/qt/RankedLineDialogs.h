// The dialogs of the ranked bar charts and line charts: "Ranked Bar Chart Selection"
// (DialogRankedSelection) and "Regions highlighting" (DialogRegionsHighlight). Their rules and
// models live in charts/RankedSelection.h and charts/RegionsHighlight.h; these are the widgets.
#pragma once

#include "charts/RankedSelection.h"
#include "charts/RegionsHighlight.h"
#include "charts/qt/UiServices.h"
#include "core/Ids.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zor::charts::qt {

class RankedSelectionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogRankedSelection;
    // `model` is written on OK only; it must outlive the dialog.
    RankedSelectionDialog(const UiServices& ui, RankedSelectionModel& model,
                          QWidget* parent = nullptr);

    QComboBox* indicatorA() const { return indicatorA_; }
    QComboBox* periodA() const { return periodA_; }
    QComboBox* indicatorB() const { return indicatorB_; }
    QComboBox* periodB() const { return periodB_; }
    QLabel* lightBlueLabel() const { return lightBlue_; }
    QCheckBox* twoBars() const { return twoBars_; }
    QPushButton* okButton() const { return ok_; }

    void done(int r) override;

private:
    RankedSelectionModel& model_;
    QComboBox *indicatorA_, *periodA_, *indicatorB_, *periodB_;
    QLabel* lightBlue_;
    QCheckBox* twoBars_;
    QPushButton* ok_;
};

class RegionsHighlightDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogRegionsHighlight;
    // `model` is written on OK only; it must outlive the dialog.
    RegionsHighlightDialog(const UiServices& ui, RegionsHighlightModel& model,
                           QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QCheckBox* useBox() const { return use_; }
    QPushButton* okButton() const { return ok_; }

    void done(int r) override;

private:
    RegionsHighlightModel& model_;
    QListWidget* list_;
    QCheckBox* use_;
    QPushButton* ok_;
};

} // namespace zor::charts::qt
