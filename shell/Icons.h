// The program's icons, painted as vector drawings so that they are sharp at every size and
// device pixel ratio.
#pragma once

#include <QIcon>

namespace zor {

// The toolbar icon of a main-frame command; a null icon for a command without one.
QIcon CommandIcon(int commandId);

// The program's icon (icon 25001).
QIcon ProgramIcon();

} // namespace zor
