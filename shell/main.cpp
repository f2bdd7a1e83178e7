// zorgui2: the program. Starts the data core on the data directory (the executable's, or
// DIR=<dir> on the command line), opens the main frame and runs the event loop.
#include "shell/Application.h"
#include "shell/CMainFrame.h"
#include "shell/Icons.h"
#include "shell/IndicatorWindows.h"
#include "shell/ViewWindows.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication qt(argc, argv); // takes out the arguments that are Qt's own
    QApplication::setApplicationName(QStringLiteral("zorgui2"));
    QApplication::setWindowIcon(zor::ProgramIcon());

    zor::Application app;
    if (!app.StartUp(zor::DefaultPlatform(argc, argv))) {
        std::fprintf(stderr, "zorgui2: %s\n", app.Store().StartupError().c_str());
        return 2;
    }
    zor::RegisterViewDialogs();
    zor::RegisterIndicatorWindows();
    zor::CMainFrame frame(app);
    frame.showMaximized();
    frame.ShowStartupPicture();
    return qt.exec();
}
