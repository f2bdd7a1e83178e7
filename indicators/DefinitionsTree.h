// The definitions viewer without its window: the tree of the selected indicators ("%4.4d %s")
// under the root "Selected indicators", the definition each item shows (its own, or for a
// variant its main indicator's) and the text of that definition as the read-only pane shows it.
#pragma once

#include "core/Catalogue.h"
#include "core/InddefReader.h"

#include <string>
#include <string_view>
#include <vector>

namespace zor::indicators {

// String id of the tree's root ("Selected indicators").
inline constexpr int DefinitionsRootTextId = 15002;

class DefinitionsTree {
public:
    struct Item {
        int code = 0;
        std::string label; // "%4.4d %s" of code and name, UTF-8
        int slot = -1;     // the definition it shows (index into Slots()); -1: none
    };

    // Reads the index of the definitions file at `path` and matches the selected indicators
    // (codes and single-byte names of the charset) with it. A file that cannot be read leaves
    // every item without a definition.
    void Build(const std::string& path, const std::vector<ListItem>& selected, int charset);

    const std::vector<Item>& Items() const { return items_; }
    const std::vector<DefinitionSlot>& Slots() const { return slots_; }

    // What the text pane shows for item `index`: the definition read from the file now, each
    // line indented by one blank (lines end with "\r\n"), or `notFound` (see
    // DefinitionNotFoundText) when the item has none or it cannot be read.
    std::string TextOf(size_t index, std::string_view notFound) const;

private:
    std::string path_;
    std::vector<DefinitionSlot> slots_;
    std::vector<Item> items_;
};

} // namespace zor::indicators
