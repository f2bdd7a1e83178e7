#include "core/InddefReader.h"

#include "core/Bytes.h"

namespace zor {

std::string DefinitionsFilePath(const AppSettings& settings) {
    return JoinPath(DefinitionsDirectory(settings), DefinitionsFileName);
}

bool DefinitionsFile::Open(const std::string& path) {
    index_.clear();
    if (!file_.Open(path)) return false;
    const uint64_t size = file_.Size();
    auto head = file_.ReadExact(0, 2);
    if (!head) return false;
    int n = ByteReader(*head).i16();
    if (n < 0 || 2 + 6 * uint64_t(n) > size) return false;

    auto table = file_.ReadExact(2, 6 * size_t(n));
    if (!table) return false;
    ByteReader r(*table);
    index_.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        DefinitionIndexEntry e;
        e.code = r.i16();
        e.offset = r.u32();
        // The record must fit: its length field and its text lie within the file.
        uint8_t len[4];
        if (e.offset > size || size - e.offset < 4 || file_.ReadAt(e.offset, len, 4) != 4) continue;
        int32_t length = ByteReader(len, 4).i32();
        if (length < 0 || uint64_t(length) > size - e.offset - 4) continue;
        index_.push_back(e);
    }
    return true;
}

std::optional<std::string> DefinitionsFile::ReadRecord(uint32_t offset) const {
    auto head = file_.ReadExact(offset, 4);
    if (!head) return std::nullopt;
    int32_t length = ByteReader(*head).i32();
    if (length < 0) return std::nullopt;
    // ReadExact checks the length against the file before it allocates.
    return file_.ReadExact(uint64_t(offset) + 4, size_t(length));
}

int MainIndicatorCode(int code) {
    int r = code % 10;
    return r < 0 ? code - r - 10 : code - r;
}

std::vector<DefinitionSlot> MatchDefinitionSlots(const std::vector<DefinitionIndexEntry>& index,
                                                 const std::vector<int>& selected) {
    std::vector<DefinitionSlot> slots(selected.size());
    for (const DefinitionIndexEntry& e : index) {
        const DefinitionSlot taken{true, e.code, e.offset};
        bool own = false;
        for (size_t j = 0; j < selected.size(); ++j)
            if (selected[j] == e.code) {
                slots[j] = taken;
                own = true;
                break;
            }
        if (own || e.code % 10 != 0) continue;
        for (size_t j = 0; j < selected.size(); ++j)
            if (MainIndicatorCode(selected[j]) == e.code) {
                if (!slots[j].filled) slots[j] = taken;
                break;
            }
    }
    return slots;
}

int SlotOfItem(const std::vector<DefinitionSlot>& slots, int code) {
    auto holding = [&](int c) {
        for (size_t j = 0; j < slots.size(); ++j)
            if (slots[j].filled && slots[j].code == c) return int(j);
        return -1;
    };
    int own = holding(code);
    if (own >= 0 || code % 10 == 0) return own;
    return holding(MainIndicatorCode(code));
}

std::string IndentDefinitionText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 8);
    out += ' ';
    for (char c : text) {
        if (c == '\n')
            out += "\r\n ";
        else
            out += c;
    }
    return out;
}

std::string DefinitionNotFoundText(std::string_view message) {
    std::string out = "\r\n\t";
    out += message;
    out += "\r\n";
    return out;
}

std::string DefinitionNotFoundText(const TitlesTable& titles) {
    return DefinitionNotFoundText(
        LoadTextOr(titles, DefinitionNotFoundTextId, "Definition is not found!"));
}

std::vector<DefinitionView> LoadDefinitionViews(const std::string& path,
                                                const std::vector<int>& selected,
                                                std::string_view notFoundText) {
    DefinitionsFile file;
    file.Open(path);
    std::vector<DefinitionSlot> slots = MatchDefinitionSlots(file.Index(), selected);
    std::vector<DefinitionView> views;
    views.reserve(selected.size());
    for (int code : selected) {
        DefinitionView v;
        v.code = code;
        int slot = SlotOfItem(slots, code);
        std::optional<std::string> text;
        if (slot >= 0) text = file.ReadRecord(slots[size_t(slot)].offset);
        v.found = text.has_value();
        v.text = text ? IndentDefinitionText(*text) : std::string(notFoundText);
        views.push_back(std::move(v));
    }
    return views;
}

} // namespace zor
