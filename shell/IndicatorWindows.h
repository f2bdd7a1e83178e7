// The windows of indicator maintenance and definitions, registered with the main frame's
// WindowRegistry: "Setup Temporary Indicators" (1020), "Print Main Indicators List" (1040) and
// "Definitions" (5020, which needs the definitions file and selected indicators).
#pragma once

namespace zor {

// Registers the three windows; safe to call more than once.
void RegisterIndicatorWindows();

} // namespace zor
