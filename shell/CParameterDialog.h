// The "Select Parameters" dialog (resource 20001): indicator, region and period trees with
// check boxes, the lists of what is checked, region modes, saved lists, OK and Cancel. The
// rules live in ParameterModel; this window shows the model and forwards the user's input.
#pragma once

#include "core/Ids.h"
#include "core/SavedSelections.h"
#include "shell/ParameterModel.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidgetItem;

namespace zor {

class Application;
class CCheckTree;

class CParameterDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = DialogParameters;

    CParameterDialog(Application& app, QWidget* parent = nullptr);
    ~CParameterDialog() override;

    ParameterModel& Model() { return *model_; }
    // Confirms the selection with what the dialog shows (what OK stores).
    void ApplyTo(Selection& selection) const { model_->ApplyTo(selection); }

    // The controls, by their role.
    CCheckTree* IndicatorTree() const { return indicatorTree_; }
    CCheckTree* RegionTree() const { return regionTree_; }
    CCheckTree* PeriodTree() const { return periodTree_; }
    QListWidget* SelectedIndicatorList() const { return indicatorList_; }
    QListWidget* SelectedRegionList() const { return regionList_; }
    QGroupBox* ModeBox() const { return modeBox_; }
    QRadioButton* ModeButton(int mode) const { return modeButtons_[mode]; }
    QComboBox* SetCombo() const { return setCombo_; }
    QPushButton* Button(int controlId) const;
    // The tree item showing a model item.
    QTreeWidgetItem* IndicatorItem(int item) const { return indicatorItems_.at(size_t(item)); }
    QTreeWidgetItem* RegionItem(int item) const { return regionItems_.at(size_t(item)); }
    QTreeWidgetItem* PeriodItem(int item) const { return periodItems_.at(size_t(item)); }

    // The Load buttons list the saved names {slot, name} and give the chosen slot, or -1.
    // The default drops a list down at the button; tests choose directly.
    using LoadChooser =
        std::function<int(QPushButton* button, const std::vector<std::pair<int, QString>>& names)>;
    void SetLoadChooser(LoadChooser chooser) { loadChooser_ = std::move(chooser); }
    // The Save buttons run the "Save selection" dialog through this; the default shows it.
    void SetSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }

    // The buttons' work, also reachable without clicking.
    void LoadIndicators();
    void SaveIndicators();
    void LoadRegions();
    void SaveRegions();

private:
    // BuildControls makes the three columns, lays them out, sets the keyboard order and
    // connects each column's controls.
    void BuildControls();
    QPushButton* AddButton(const char* text, int controlId);
    QLayout* BuildIndicatorColumn();
    QLayout* BuildRegionColumn();
    QLayout* BuildPeriodColumn();
    void SetKeyboardOrder();
    void ConnectIndicators();
    void ConnectRegions();
    void ConnectPeriods();
    void Sync();
    void SyncTree(CCheckTree* tree, const CheckTree& model, std::vector<QTreeWidgetItem*>& items);
    void SyncList(QListWidget* list, const std::vector<SelectedEntry>& entries);
    void SyncRegionControls();
    int ItemIndex(QTreeWidgetItem* item) const;
    std::string IndicatorFile() const;
    std::string RegionFile() const;
    SaveDialog DefaultSaveDialog();
    int Choose(QPushButton* button, const std::vector<std::pair<int, QString>>& names);

    Application& app_;
    std::unique_ptr<ParameterModel> model_;

    CCheckTree* indicatorTree_ = nullptr;
    CCheckTree* regionTree_ = nullptr;
    CCheckTree* periodTree_ = nullptr;
    QListWidget* indicatorList_ = nullptr;
    QListWidget* regionList_ = nullptr;
    QGroupBox* modeBox_ = nullptr;
    QWidget* content_ = nullptr; // the three columns, inside the dialog's scroll area
    QRadioButton* modeButtons_[3] = {nullptr, nullptr, nullptr};
    QComboBox* setCombo_ = nullptr;
    std::vector<QPushButton*> buttons_;
    std::vector<QTreeWidgetItem*> indicatorItems_, regionItems_, periodItems_;
    bool syncing_ = false;

    LoadChooser loadChooser_;
    SaveDialog saveDialog_;
};

} // namespace zor
