// ind.sav and reg.sav: the used slots, and a rewrite of what was read.
#include "core/SavedSelections.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view in = zor::fuzz::AsView(data, size);
    auto inds = zor::ParseIndicatorLists(in);
    auto regs = zor::ParseRegionLists(in);
    // What was read must write back into a whole file.
    if (zor::WriteIndicatorLists(inds).size() != zor::SavedSlotCount * zor::IndicatorSlotSize)
        __builtin_trap();
    if (zor::WriteRegionLists(regs).size() != zor::SavedSlotCount * zor::RegionSlotSize)
        __builtin_trap();
    return 0;
}
