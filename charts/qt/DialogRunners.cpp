#include "charts/qt/DialogRunners.h"

#include "charts/DialogRules.h"
#include "charts/qt/ChartDialogs.h"
#include "charts/qt/RankedLineDialogs.h"
#include "charts/qt/StatDialogs.h"

#include <map>

namespace zor::charts::qt {

namespace {

std::map<std::type_index, DialogRunner>& Runners() {
    static std::map<std::type_index, DialogRunner> runners;
    return runners;
}

} // namespace

void RegisterDialogRunner(std::type_index model, DialogRunner runner) {
    Runners()[model] = std::move(runner);
}

bool RunRegisteredDialog(DialogModel& model, const UiServices& ui, QWidget* parent) {
    const auto it = Runners().find(typeid(model));
    return it != Runners().end() && it->second(model, ui, parent);
}

void RegisterChartDialogs() {
    RegisterDialog<ScaleDialogModel>([](ScaleDialogModel& m, const UiServices& ui, QWidget* p) {
        ScaleDialog dialog(ui, m.input, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m.result = dialog.Result();
        return true;
    });
    RegisterDialog<XYScaleDialogModel>([](XYScaleDialogModel& m, const UiServices& ui, QWidget* p) {
        XYScaleDialog dialog(ui, m.input, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m.result = dialog.Result();
        return true;
    });
    RegisterDialog<RegionListModel>([](RegionListModel& m, const UiServices& ui, QWidget* p) {
        std::vector<int> flags = m.flags;
        RegionListDialog dialog(ui, static_cast<int>(flags.size()), flags.data(), &m.names, p);
        if (dialog.exec() != QDialog::Accepted) return false;
        m.flags = flags;
        return true;
    });
    RegisterStatDialogs();
    RegisterDialog<RankedSelectionModel>(
        [](RankedSelectionModel& m, const UiServices& ui, QWidget* p) {
            RankedSelectionDialog dialog(ui, m, p);
            return dialog.exec() == QDialog::Accepted;
        });
    RegisterDialog<RegionsHighlightModel>(
        [](RegionsHighlightModel& m, const UiServices& ui, QWidget* p) {
            RegionsHighlightDialog dialog(ui, m, p);
            return dialog.exec() == QDialog::Accepted;
        });
}

} // namespace zor::charts::qt
