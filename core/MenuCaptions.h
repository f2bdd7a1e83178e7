// Captions of the program's menu commands, as the menu resources hold them.
#pragma once

#include "core/Texts.h"

#include <vector>

namespace zor {

// Every menu command with a caption (command id, caption with its "&" mnemonic), sorted by id,
// one entry per id. Popup captions have no id and are not listed.
const std::vector<StringEntry>& MenuCommandCaptions();

// The default caption (with its "&" mnemonic) of a command of any menu; "" when it has none.
const char* CommandCaption(int id);

} // namespace zor
