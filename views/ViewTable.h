// The table of every view of the program: one line per view (see charts/ViewRegistry.h). The
// main frame enables and opens the views' commands from it, the frames take their menus and
// titles from it and `zorexport render` finds views by their names in it.
#pragma once

#include "charts/ViewRegistry.h"

#include <string_view>
#include <vector>

namespace zor::views {

const std::vector<charts::ViewEntry>& AllViews();
// nullptr when no view has the command or the name.
const charts::ViewEntry* FindViewByCommand(int command);
const charts::ViewEntry* FindViewByName(std::string_view exportName);

} // namespace zor::views
