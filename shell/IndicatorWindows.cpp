#include "shell/IndicatorWindows.h"

#include "core/FileUtil.h"
#include "core/InddefReader.h"
#include "indicators/qt/CDefinWnd.h"
#include "indicators/qt/CPrintInds.h"
#include "indicators/qt/CTempIndSetup.h"
#include "shell/Application.h"
#include "shell/Commands.h"
#include "shell/ViewWindows.h"

namespace zor {

void RegisterIndicatorWindows() {
    WindowRegistry& registry = WindowRegistry::Instance();
    registry.Register(CmdTemporaryIndicators,
                      {charts::NeedNothing, [](Application& app) -> QWidget* {
                           return indicators::qt::CTempIndSetup::Open(
                               app.Store(), app.CurrentSelection(), FrameServices(app),
                               app.MainWindow());
                       }});
    registry.Register(CmdPrintIndicatorList,
                      {charts::NeedNothing, [](Application& app) -> QWidget* {
                           return new indicators::qt::CPrintIndsFrame(
                               app.Store(), FrameServices(app), app.MainWindow());
                       }});
    registry.Register(
        CmdDefinitions,
        {charts::NeedDefinitionsFile | charts::NeedIndicators, [](Application& app) -> QWidget* {
             return new indicators::qt::CDefinWnd(
                 ResolvePath(DefinitionsFilePath(app.Store().Settings())),
                 app.CurrentSelection().Indicators(), FrameServices(app), app.MainWindow());
         }});
}

} // namespace zor
