// User-interface texts: the program's string table and the titles table (wtitles.bin) that
// lets a deployment replace them without touching the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

struct TitleEntry {
    uint32_t id = 0;
    std::string defaultText;
    std::string replacement;
};

// The titles table. Entries keep file order; the first matching entry wins.
class TitlesTable {
public:
    // Parses the bytes of a titles file. Entries whose texts lie outside the file are dropped;
    // a file too short for its header gives an empty table.
    static TitlesTable Parse(std::string_view bytes);
    // Reads the titles file; a missing or unreadable file gives an empty table.
    static TitlesTable Load(const std::string& path);

    void Add(TitleEntry e) { entries_.push_back(std::move(e)); }
    bool empty() const { return entries_.empty(); }
    const std::vector<TitleEntry>& entries() const { return entries_; }

    // The replacement text of the first entry with this id; none when absent or empty.
    std::optional<std::string> TitleById(uint32_t id) const;
    // The replacement text of the first entry whose default text equals `text` ignoring case;
    // none for an empty argument, when absent, or when the replacement is empty.
    std::optional<std::string> TitleByDefaultText(std::string_view text) const;

private:
    std::vector<TitleEntry> entries_;
};

// Stored texts are at most this many bytes; longer ones are cut.
inline constexpr size_t MaxTitleTextBytes = 1023;

// The program's own string resource with this id, or nullptr.
const char* BuiltinString(int id);

// One entry of the program's string table.
struct StringEntry {
    int id;
    const char* text;
};
// The whole string table, sorted by id.
const std::vector<StringEntry>& BuiltinStrings();

// The user-interface text for a string id: the titles table's non-empty replacement, else the
// program's string resource, else none.
std::optional<std::string> LoadText(const TitlesTable& titles, int id);

// LoadText with a fallback literal for callers that have one.
std::string LoadTextOr(const TitlesTable& titles, int id, std::string_view fallback);

// The one path of every user-interface text: LoadText (else `fallback`) decoded from the code
// page of `charset` to UTF-8 for display.
std::string UiText(const TitlesTable& titles, int charset, int id, std::string_view fallback = {});

} // namespace zor
