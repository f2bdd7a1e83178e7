#include "shell/ViewWindows.h"

#include "charts/qt/DialogRunners.h"
#include "grids/qt/CGridWidget.h"
#include "maps/qt/MapDialogs.h"
#include "shell/Application.h"
#include "shell/UiText.h"

namespace zor {

charts::qt::UiServices FrameServices(Application& app) {
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
    ui.showMessage = [&app](QWidget* parent, const QString& text, bool stop) {
        app.ShowText(parent, stop ? MessageKind::Stop : MessageKind::Information, text);
    };
    return ui;
}

QWidget* MakeViewWidget(charts::CView& view, charts::qt::CGraphFrame& frame) {
    if (QWidget* grid = grids::qt::MakeGridWidget(view, frame)) return grid;
    return charts::qt::MakeChartWidget(view, frame);
}

charts::qt::CGraphFrame* MakeViewFrame(Application& app, const charts::ViewEntry& entry) {
    if (!entry.make) return nullptr;
    const charts::ViewContext context{app.Store(), app.ChartResources(), app.CurrentSelection(),
                                      app.Progress()};
    return new charts::qt::CGraphFrame(entry, entry.make(context), &MakeViewWidget,
                                       FrameServices(app), app.MainWindow());
}

void RegisterViewDialogs() {
    charts::qt::RegisterChartDialogs();
    maps::qt::RegisterMapDialogs();
}

} // namespace zor
