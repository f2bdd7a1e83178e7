#include "shell/ChartCommands.h"

#include "charts/CBarChart.h"
#include "charts/qt/CGraphFrame.h"
#include "shell/Application.h"
#include "shell/Commands.h"
#include "shell/UiText.h"

#include <memory>

namespace zor {

namespace {

constexpr int CmdBarChart = 3010;

// The drawing resources of every chart, made on first use for the configured charset and kept
// until exit.
const charts::ChartResources& Resources(const Application& app) {
    static const charts::ChartResources resources(app.Charset());
    return resources;
}

charts::qt::UiServices Services(Application& app) {
    charts::qt::UiServices ui;
    ui.titles = &app.Titles();
    ui.charset = app.Charset();
    const TitlesTable* titles = &app.Titles();
    const int charset = app.Charset();
    ui.translateMenu = [titles, charset](QMenuBar* bar) {
        TranslateMenu(bar, *titles, charset);
        ApplyStandardShortcuts(bar);
    };
    ui.prepareDialog = [titles, charset](QDialog* d, int id) {
        PrepareDialog(d, id, *titles, charset);
    };
    ui.setCommandId = [](QAction* a, int id) { SetCommandId(a, id); };
    ui.setControlId = [](QWidget* w, int id) { SetControlId(w, id); };
    ui.printer = [&app] { return &app.Printer(); };
    ui.mainWindow = app.MainWindow();
    return ui;
}

} // namespace

void RegisterChartCommands() {
    RegisterViewCommand(CmdBarChart, [](Application& app, const CommandInfo& command) -> QWidget* {
        auto view = std::make_unique<charts::CBarChart>(app.Store(), Resources(app),
                                                        app.CurrentSelection(), app.Progress());
        return new charts::qt::CGraphFrame(command.frameMenu ? command.frameMenu
                                                             : charts::CBarChart::ResourceId,
                                           std::move(view), Services(app), app.MainWindow());
    });
}

} // namespace zor
