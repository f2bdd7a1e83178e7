// Reading the indicator definitions file inddef.bin, and choosing and formatting the definition
// each selected indicator shows.
//
// Layout (little-endian): N (int16); N index entries {code int16, absolute record offset int32}
// in source order, codes neither sorted nor unique; then the records {text length int32, text}.
// A text is lines of at most 100 characters, each ending with "\n".
#pragma once

#include "core/FileUtil.h"
#include "core/Settings.h"
#include "core/Texts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

inline constexpr const char* DefinitionsFileName = "inddef.bin";

// Where the definitions file is: in the data source for the built-in provider ("ZOR-2"),
// else in the data directory.
std::string DefinitionsFilePath(const AppSettings& settings);

// String id of "Definition is not found!".
inline constexpr int DefinitionNotFoundTextId = 1078;

struct DefinitionIndexEntry {
    int16_t code = 0;
    uint32_t offset = 0; // absolute file offset of the record
};

// The definition a selected indicator shows: the index entry it took, if any.
struct DefinitionSlot {
    bool filled = false;
    int16_t code = -1;
    uint32_t offset = 0;
};

// An open definitions file. A file whose header does not fit (N negative, or an index longer
// than the file) reads as having no entries; entries whose record does not lie wholly within
// the file are left out of the index, so they never take a slot.
class DefinitionsFile {
public:
    // False when the file cannot be opened or its header is bad; the index is then empty.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_.IsOpen(); }
    const std::vector<DefinitionIndexEntry>& Index() const { return index_; }

    // The text of the record at `offset`; none when it does not lie within the file.
    std::optional<std::string> ReadRecord(uint32_t offset) const;

private:
    RandomAccessFile file_;
    std::vector<DefinitionIndexEntry> index_;
};

// The code of the main indicator of `code`: rounded down to a multiple of ten.
int MainIndicatorCode(int code);

// One slot per selected code, in selection order. An entry whose code is selected fills that
// code's slot, a later entry replacing an earlier one. Otherwise an entry of a main indicator
// (code a multiple of ten) goes to the first selected indicator whose main indicator it is, only
// while that indicator's slot is still empty.
std::vector<DefinitionSlot> MatchDefinitionSlots(const std::vector<DefinitionIndexEntry>& index,
                                                 const std::vector<int>& selected);

// The slot an item of `code` shows, as an index into `slots`: the slot holding its own code;
// else, for a variant, the slot holding its main indicator's code; else -1.
int SlotOfItem(const std::vector<DefinitionSlot>& slots, int code);

// A definition text as the viewer shows it: one blank before the text and every "\n" replaced
// by "\r\n ", so each line is indented by one blank.
std::string IndentDefinitionText(std::string_view text);

// What an indicator without a definition shows: "\r\n\t" + message + "\r\n".
std::string DefinitionNotFoundText(std::string_view message);
// The same with the text of id 1078 from the titles table or the string table.
std::string DefinitionNotFoundText(const TitlesTable& titles);

struct DefinitionView {
    int code = 0;
    bool found = false;
    std::string text; // the display text, or the "not found" text
};

// What the viewer shows for each selected code, in selection order. A file that cannot be read
// gives every code the "not found" text.
std::vector<DefinitionView> LoadDefinitionViews(const std::string& path,
                                                const std::vector<int>& selected,
                                                std::string_view notFoundText);

} // namespace zor
