#include "core/Texts.h"

#include "core/Bytes.h"
#include "core/Charset.h"
#include "core/FileUtil.h"

#include <algorithm>

namespace zor {

TitlesTable TitlesTable::Parse(std::string_view bytes) {
    TitlesTable t;
    ByteReader r(bytes);
    uint8_t mode = r.u8();
    int16_t n = r.i16();
    if (!r.ok() || n <= 0) return t;
    // Never trust the count beyond what the file can hold.
    size_t count = std::min<size_t>(size_t(n), r.remaining() / 8);
    t.entries_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ByteReader idx(bytes);
        idx.seek(3 + 8 * i);
        uint32_t id = idx.u32();
        uint32_t off = idx.u32();
        ByteReader txt(bytes);
        txt.seek(off);
        auto text = [&]() {
            uint16_t len = txt.u16();
            std::string s = txt.bytes(len);
            if (mode != 0) s.resize(s.size() / 2);
            if (s.size() > MaxTitleTextBytes) s.resize(MaxTitleTextBytes);
            return s;
        };
        TitleEntry e;
        e.id = id;
        e.defaultText = text();
        e.replacement = text();
        if (!idx.ok() || !txt.ok()) continue;
        t.entries_.push_back(std::move(e));
    }
    return t;
}

TitlesTable TitlesTable::Load(const std::string& path) {
    auto bytes = ReadWholeFile(path, size_t(64) << 20);
    return bytes ? Parse(*bytes) : TitlesTable{};
}

std::optional<std::string> TitlesTable::TitleById(uint32_t id) const {
    for (const auto& e : entries_)
        if (e.id == id) {
            if (e.replacement.empty()) return std::nullopt;
            return e.replacement;
        }
    return std::nullopt;
}

std::optional<std::string> TitlesTable::TitleByDefaultText(std::string_view text) const {
    if (text.empty()) return std::nullopt;
    for (const auto& e : entries_)
        if (EqualsNoCase(e.defaultText, text)) {
            if (e.replacement.empty()) return std::nullopt;
            return e.replacement;
        }
    return std::nullopt;
}

const char* BuiltinString(int id) {
    const auto& table = BuiltinStrings();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const StringEntry& e, int v) { return e.id < v; });
    return it != table.end() && it->id == id ? it->text : nullptr;
}

std::optional<std::string> LoadText(const TitlesTable& titles, int id) {
    if (id >= 0)
        if (auto t = titles.TitleById(uint32_t(id))) return t;
    if (const char* s = BuiltinString(id)) return std::string(s);
    return std::nullopt;
}

std::string LoadTextOr(const TitlesTable& titles, int id, std::string_view fallback) {
    auto t = LoadText(titles, id);
    return t ? *t : std::string(fallback);
}

std::string UiText(const TitlesTable& titles, int charset, int id, std::string_view fallback) {
    return DecodeToUtf8(LoadTextOr(titles, id, fallback), charset);
}

} // namespace zor
