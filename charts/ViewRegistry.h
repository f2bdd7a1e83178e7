// What the program knows of each view without making one: the command that opens it, the menu
// of its frame, its window title, its name for `zorexport render`, what it needs of the
// selection, its render options and how it is made. The table of every view is
// views/ViewTable.h; the main frame, the frames and zorexport read it.
#pragma once

#include "charts/CView.h"
#include "core/Ids.h"

#include <memory>
#include <string_view>
#include <vector>

namespace zor {
class Selection;
}

namespace zor::charts {

// An item of a menu resource: a command, a popup of items, or a separator.
struct MenuItem {
    enum Kind { Command, Popup, Separator } kind = Command;
    int id = 0;                  // Command
    const char* caption = "";    // Popup: its default caption; commands take theirs by id
    std::vector<MenuItem> items; // Popup
};
inline MenuItem MenuCommand(int id) {
    return {MenuItem::Command, id, "", {}};
}
inline MenuItem MenuSeparator() {
    return {MenuItem::Separator, 0, "", {}};
}
inline MenuItem MenuPopup(const char* caption, std::vector<MenuItem> items) {
    return {MenuItem::Popup, 0, caption, std::move(items)};
}

// What a command needs before it runs.
enum Need : unsigned {
    NeedNothing = 0,
    NeedIndicators = 1,
    NeedRegions = 2,
    NeedPeriods = 4,
    NeedDefinitionsFile = 8, // inddef.bin in the definitions directory
};
// The prerequisites on the selection (the definitions file is checked by the caller).
bool SelectionMeets(unsigned needs, const Selection& selection);

// An option of `zorexport render VIEW` that only this view takes ("--two-bars"); flags take no
// value.
struct RenderOption {
    const char* name;
    bool takesValue = true;
};

using ViewFactory = std::unique_ptr<CView> (*)(const ViewContext& context);

// The factory of a view class made from a ViewContext.
template <class View> std::unique_ptr<CView> MakeView(const ViewContext& context) {
    return std::make_unique<View>(context);
}

struct ViewEntry {
    CommandId command = CmdBarChart;
    MenuId menu = MenuBarChart; // the frame's menu resource
    int title = MenuBarChart;   // the string id of the window title
    const char* exportName = "";
    unsigned needs = NeedNothing;
    ViewFactory make = nullptr;
    const std::vector<MenuItem>& (*frameMenu)() = nullptr;
    std::vector<RenderOption> renderOptions;
};

} // namespace zor::charts
