// The binary formats of a data source, as pure functions from bytes to catalogue objects and
// back. All files are little-endian with int16 counts and zero-padded single-byte names.
// Parsers never read past their input and never trust a count beyond what the bytes can hold.
#pragma once

#include "core/Catalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

// --- tmscl.bin: count, then {code int16, name[16]} records.
// Fails on a negative count or fewer records than announced. Sorted ascending by code with an
// exchange sort (order of equal codes undefined).
std::optional<std::vector<TimePeriod>> ParseTimePeriods(std::string_view bytes);
std::string WriteTimePeriods(const std::vector<TimePeriod>& periods);

// --- mainlist.grp: "MGF", name length L, ten names of L bytes; "*" = no group.
// Returns the groups of the non-empty slots, id = slot.
std::optional<std::vector<IndicatorGroup>> ParseGroupNames(std::string_view bytes);
std::string WriteGroupNames(const std::vector<IndicatorGroup>& groups, int nameLength);

// --- mainlist.ind: "MIF", name length L, ten blocks of 1000 L + 202 bytes.
inline constexpr int GroupSlots = 100;
inline constexpr int VariantSlots = 9;
// The name length after the magic; nullopt on a wrong magic or a length below 1.
std::optional<int> ParseMainlistHeader(std::string_view header5);
inline uint64_t MainlistBlockSize(int nameLength) {
    return uint64_t{1000} * uint64_t(nameLength) + 202;
}
inline uint64_t MainlistBlockOffset(int nameLength, int group) {
    return 5 + uint64_t(group) * MainlistBlockSize(nameLength);
}
// One group's block: its announced count and, when the count is not 0, its indicators.
struct IndicatorBlock {
    int count = 0;
    std::vector<Indicator> indicators;
};
std::optional<IndicatorBlock> ParseIndicatorBlock(std::string_view block, int nameLength,
                                                  int groupId);
// Writes all ten blocks; groups are placed by id (0..9); an indicator's slot is
// (code % 1000) / 10 and a variant's slot is code % 10 - 1.
std::string WriteMainlist(const std::vector<IndicatorGroup>& groups, int nameLength);

// --- clist.bin: "CLF", name length L, count N, N entries {id int16, name[L]}.
struct SetListEntry {
    int16_t id = 0;
    std::string name;
};
std::optional<std::vector<SetListEntry>> ParseSetList(std::string_view bytes);
std::string WriteSetList(const std::vector<RegionSet>& sets, int nameLength);

// --- <id>.par: "CIF", region-name length R, top-level count and names, small count and names,
// parValues count and values. Fills regions, counts and parValues of `set`.
bool ParseParFile(std::string_view bytes, RegionSet& set);
std::string WriteParFile(const RegionSet& set, int regionNameLength);

// --- <id>.ind: count, codes. Fills set.indicators.
bool ParseIndFile(std::string_view bytes, RegionSet& set);
std::string WriteIndFile(const RegionSet& set);

// --- cid.bin: count, entries {set id int16, code[3]}; entries of unknown sets are ignored.
// Returns false (and changes nothing) when the file is shorter than its count says.
bool ApplySetCodes(std::string_view bytes, std::vector<RegionSet>& sets);
std::string WriteSetCodes(const std::vector<RegionSet>& sets);

// --- tmplist.ind: "TIF", name length L, used count, 100 slots of L + 40 bytes.
inline constexpr int TempListNameLength = 128;
struct TempListHeader {
    int nameLength = 0;
    int usedCount = 0;
};
std::optional<TempListHeader> ParseTempListHeader(std::string_view header7);
inline uint64_t TempSlotOffset(int nameLength, int slot) {
    return 7 + uint64_t(slot) * uint64_t(nameLength + 40);
}
// One slot's bytes (L + 40) as a definition with code 10000 + slot.
TempIndicatorDef ParseTempSlot(std::string_view slot, int nameLength, int slotIndex);
// A whole file: `defs` holds up to 100 used slots placed by code; every other slot is empty
// ("*", operation 0, operands -1, spare -1, zero parameters). The count is the number of defs.
std::string WriteTempList(const std::vector<TempIndicatorDef>& defs,
                          int nameLength = TempListNameLength);
// All 100 slots of a file (empty slots have a name beginning with "*").
std::optional<std::vector<TempIndicatorDef>> ParseTempList(std::string_view bytes);
// A whole file from its slots as they are, slot s at index s (missing slots past the end of
// `slots` are written empty, as a new file has them), with the given used count; names are cut
// to L bytes.
std::string WriteTempSlots(const std::vector<TempIndicatorDef>& slots, int nameLength,
                           int usedCount);

// --- value files <id>.<period>: one record of `stride` floats per code of the set's list.
std::string WriteValueFile(const std::vector<std::vector<float>>& records);

// --- wtitles.bin (written for tests and deployments; read by TitlesTable).
struct TitleEntry;
std::string WriteTitlesFile(const std::vector<TitleEntry>& entries, bool halfLengthMode = false);

} // namespace zor
