// Qt's own messages in a console tool: Qt warns at start-up about things that do not concern the
// output (XDG_RUNTIME_DIR not set, fonts, platform plugins), and standard error is for our
// messages. A filter installed first thing in main() drops them.
#pragma once

#include <QtGlobal>

namespace zor::exporter {

// Categories of our own messages begin with this; Qt's are "default" or "qt.*".
inline constexpr char OwnCategoryPrefix[] = "zor.";

// Whether a message reaches standard error: ours always, Qt's only when critical or fatal
// (those come before a failure and say why).
bool ShowsQtMessage(QtMsgType type, const char* category);

// Installs the filter in front of Qt's message handler, before any Qt object is made.
void InstallQtMessageFilter();

} // namespace zor::exporter
