// The command table of the main frame: which commands it runs itself and which open a window,
// the menu and toolbar layout, and the registry of windows that are not views of the view table.
#pragma once

#include "charts/ViewRegistry.h"
#include "core/Ids.h"

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace zor {

class Application;

enum class CommandKind {
    Frame, // run by the main frame itself
    Opens, // opens a window: a view of the view table, or a registered window
};

struct CommandInfo {
    int id = 0;
    CommandKind kind = CommandKind::Frame;
};

// Every command of the main frame, in id order.
const std::vector<CommandInfo>& MainFrameCommands();
const CommandInfo* FindMainFrameCommand(int id);

// Menu 25001: popups "Parameters", "Graphs", "Tables", "Help" with their items.
const std::vector<charts::MenuItem>& MainFrameMenu();
// The toolbar of the main frame, left to right; 0 stands for a separator.
const std::vector<int>& MainFrameToolbar();

// A window that a command opens and that is not a view of the view table (the temporary
// indicator editor, the indicator list, the definitions viewer): its prerequisites (charts::Need)
// and the function that makes it (not yet shown; nullptr when it decided to open nothing).
struct WindowCommand {
    unsigned needs = charts::NeedNothing;
    std::function<QWidget*(Application& app)> open;
};

// The process-wide registry of such windows; a registration enables its command in every main
// frame (and takes precedence over the view table, so tests may stand in for a view).
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    static WindowRegistry& Instance();

    void Register(int commandId, WindowCommand command);
    void Unregister(int commandId);
    const WindowCommand* Find(int commandId) const;

Q_SIGNALS:
    void changed(int commandId);

private:
    std::map<int, WindowCommand> windows_;
};

} // namespace zor
