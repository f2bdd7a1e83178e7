// The selection lists of the subcommands that build a value table: integers and lists of them
// from the command line, and the names the parameter dialog would store for each code.
#pragma once

#include "core/DataStore.h"
#include "draw/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zor::exporter {

std::optional<int64_t> ParseInt(const std::string& s);
// A comma-separated list of integers within [lo, hi]; nullopt on any bad element.
std::optional<std::vector<int64_t>> ParseIntList(const std::string& text, int64_t lo, int64_t hi);
// "WxH" (or "WXH"): two integers from 1 to `limit`; nullopt otherwise.
std::optional<draw::Size> ParseSize(const std::string& text, int64_t limit);

// The indicator's name as the parameter dialog stores it: its tree label "%4.4d %s" without
// the first five characters (so a temporary indicator's name keeps a leading blank).
std::string IndicatorName(DataStore& store, int code);
// A region's name as the dialog stores it; a region of a sub-region set with a code gets
// " (code)".
std::string RegionName(const DataStore& store, int32_t key);
// A period's name; the pseudo periods -1 and -2 get their labels.
std::string PeriodName(const DataStore& store, int code);

// Checks region keys (read as signed or unsigned 32-bit) against the catalogue: each must name a
// region of one of its sets and, unless `setCode` is AllRegionSets, of the set `setCode`.
// Returns an error text naming the first key that does not ("region key 655367 is not in the
// catalogue", "region key 655361 is not in set 10000"), empty when every key does.
std::string CheckRegionKeys(const DataStore& store, int setCode, const std::vector<int64_t>& keys);

// The lists with their names, from parsed codes (region keys read as signed or unsigned).
std::vector<ListItem> IndicatorItems(DataStore& store, const std::vector<int64_t>& codes);
std::vector<ListItem> RegionItems(const DataStore& store, const std::vector<int64_t>& keys);
std::vector<ListItem> PeriodItems(const DataStore& store, const std::vector<int64_t>& codes);

} // namespace zor::exporter
