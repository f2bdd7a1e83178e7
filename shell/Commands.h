// The command table of the main frame: ids, menu layout, prerequisites, the frame menus of the
// view commands, and the registry through which each view enables its command.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace zor {

class Application;
class Selection;

// What a command needs before it runs.
enum Need : unsigned {
    NeedNothing = 0,
    NeedIndicators = 1,
    NeedRegions = 2,
    NeedPeriods = 4,
    NeedDefinitionsFile = 8, // inddef.bin in the definitions directory
};

// Commands the main frame runs itself; every other command opens a frame through its factory.
enum CommandId : int {
    CmdSelectParameters = 1010,
    CmdTemporaryIndicators = 1020,
    CmdPrinterSetup = 1030,
    CmdPrintIndicatorList = 1040,
    CmdMaps = 2000,
    CmdAvailability = 3090,
    CmdHelpContents = 5010,
    CmdDefinitions = 5020,
    CmdAbout = 5030,
    CmdQuit = 6000,
};

struct CommandInfo {
    int id = 0;
    unsigned needs = NeedNothing;
    int frameMenu = 0;     // menu resource of the frame it opens; 0 when none
    const char* viewClass; // class of the view it opens, nullptr for the frame's own commands
};

// Every command of the main frame, in id order.
const std::vector<CommandInfo>& MainFrameCommands();
const CommandInfo* FindMainFrameCommand(int id);

// Whether a command opens a view frame (and so is enabled only when a factory is registered).
inline bool IsViewCommand(const CommandInfo& c) {
    return c.viewClass != nullptr;
}

// The prerequisites on the selection; the definitions file is checked by the caller.
bool SelectionMeets(unsigned needs, const Selection& selection);

// Menu 25001: popups "Parameters", "Graphs", "Tables", "Help" with their items.
struct MenuItem {
    enum Kind { Command, Popup, Separator } kind = Command;
    int id = 0;                  // Command
    const char* caption = "";    // Popup: its default caption
    std::vector<MenuItem> items; // Popup
};
const std::vector<MenuItem>& MainFrameMenu();
// The toolbar of the main frame, left to right; 0 stands for a separator.
const std::vector<int>& MainFrameToolbar();

// The default caption (with its "&" mnemonic) of a command of any menu.
const char* CommandCaption(int id);

// A view factory creates the frame a command opens (not yet shown) from the application's
// current selection; nullptr when it decided to open nothing.
using ViewFactory = std::function<QWidget*(Application& app, const CommandInfo& command)>;

// The process-wide registry: a view module registers a factory for its command id, which
// enables the command in every main frame.
class ViewRegistry : public QObject {
    Q_OBJECT
public:
    static ViewRegistry& Instance();

    void Register(int commandId, ViewFactory factory);
    void Unregister(int commandId);
    const ViewFactory* Find(int commandId) const;

Q_SIGNALS:
    void changed(int commandId);

private:
    std::map<int, ViewFactory> factories_;
};

inline void RegisterViewCommand(int commandId, ViewFactory factory) {
    ViewRegistry::Instance().Register(commandId, std::move(factory));
}

} // namespace zor
