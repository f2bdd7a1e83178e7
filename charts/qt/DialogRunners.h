// The dialogs behind the window-less dialog models: a view asks its host to run a model, and
// the host looks up the dialog registered for the model's type. Each Qt module registers the
// dialogs of its views (RegisterChartDialogs for the shared chart dialogs).
#pragma once

#include "charts/ViewHost.h"
#include "charts/qt/UiServices.h"

#include <functional>
#include <typeindex>

class QWidget;

namespace zor::charts::qt {

// Runs the dialog of a model over `parent`; true when it was closed with OK.
using DialogRunner = std::function<bool(DialogModel& model, const UiServices& ui, QWidget* parent)>;

void RegisterDialogRunner(std::type_index model, DialogRunner runner);

// Registers the dialog of a model type from a function taking the model's own type.
template <class Model, class Run> void RegisterDialog(Run run) {
    RegisterDialogRunner(typeid(Model), [run](DialogModel& m, const UiServices& ui, QWidget* p) {
        return run(static_cast<Model&>(m), ui, p);
    });
}

// The registered dialog of the model's type; false (and nothing shown) when there is none.
bool RunRegisteredDialog(DialogModel& model, const UiServices& ui, QWidget* parent);

// The scale, XY scale and region list dialogs, those of the scattergram and the histogram
// (RegisterStatDialogs), the ranked bar chart selection and the line charts' regions
// highlighting. Safe to call more than once.
void RegisterChartDialogs();

} // namespace zor::charts::qt
