// The chart commands of the main frame: registers the view factory of each chart command so
// that the main frame enables it.
#pragma once

namespace zor {

// Registers 3010 "Bar Chart". Call once at start-up, after the data store has started.
void RegisterChartCommands();

} // namespace zor
