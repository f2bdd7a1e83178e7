#include "indicators/DefinitionsTree.h"

#include "core/Charset.h"
#include "indicators/TempEditor.h"

namespace zor::indicators {

void DefinitionsTree::Build(const std::string& path, const std::vector<ListItem>& selected,
                            int charset) {
    path_ = path;
    items_.clear();
    std::vector<int> codes;
    codes.reserve(selected.size());
    for (const ListItem& i : selected) codes.push_back(i.code);
    DefinitionsFile file;
    file.Open(path_); // an unreadable file has an empty index
    slots_ = MatchDefinitionSlots(file.Index(), codes);
    for (const ListItem& i : selected)
        items_.push_back({i.code, CodeText(i.code) + " " + DecodeToUtf8(i.name, charset),
                          SlotOfItem(slots_, i.code)});
}

std::string DefinitionsTree::TextOf(size_t index, std::string_view notFound) const {
    if (index >= items_.size() || items_[index].slot < 0) return std::string(notFound);
    DefinitionsFile file;
    if (!file.Open(path_)) return std::string(notFound);
    const auto text = file.ReadRecord(slots_[static_cast<size_t>(items_[index].slot)].offset);
    return text ? IndentDefinitionText(*text) : std::string(notFound);
}

} // namespace zor::indicators
