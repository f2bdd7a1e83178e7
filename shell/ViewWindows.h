// The views of the view table in their frames: the services the frames take from the program,
// the client widget of each kind of view, and opening a view from the current selection.
#pragma once

#include "charts/ViewRegistry.h"
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/UiServices.h"

namespace zor {

class Application;

// The titles table, charset, menu and dialog translation, printer and main window of the
// program, for a frame.
charts::qt::UiServices FrameServices(Application& app);

// The client widget of a view: the chart widget of charts and maps (further kinds of views
// add theirs here).
QWidget* MakeViewWidget(charts::CView& view, charts::qt::CGraphFrame& frame);

// The frame of a view of the table, made from the current selection as its window would be
// (not yet shown).
charts::qt::CGraphFrame* MakeViewFrame(Application& app, const charts::ViewEntry& entry);

// The dialogs of every view module, registered once at start-up.
void RegisterViewDialogs();

} // namespace zor
