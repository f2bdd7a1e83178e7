// The catalogue files one at a time; the first byte chooses the format.
#include "core/Formats.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string_view in = zor::fuzz::AsView(data + 1, size - 1);
    zor::RegionSet set;
    std::vector<zor::RegionSet> sets(3);
    sets[0].id = 10000;
    sets[1].id = 10100;
    switch (data[0] % 9) {
    case 0:
        zor::ParseTimePeriods(in);
        break;
    case 1:
        zor::ParseGroupNames(in);
        break;
    case 2:
        if (auto len = zor::ParseMainlistHeader(in.substr(0, 5)); len && in.size() > 5)
            zor::ParseIndicatorBlock(in.substr(5), *len, data[0] % 10);
        break;
    case 3:
        zor::ParseSetList(in);
        break;
    case 4:
        zor::ParseParFile(in, set);
        break;
    case 5:
        zor::ParseIndFile(in, set);
        break;
    case 6:
        zor::ApplySetCodes(in, sets);
        break;
    case 7:
        zor::ParseTempList(in);
        break;
    case 8:
        if (auto h = zor::ParseTempListHeader(in.substr(0, 7)))
            for (int s = 0; s < 100; ++s) {
                uint64_t off = zor::TempSlotOffset(h->nameLength, s);
                size_t len = size_t(h->nameLength) + 40;
                if (off + len > in.size()) break;
                zor::ParseTempSlot(in.substr(size_t(off), len), h->nameLength, s);
            }
        break;
    }
    return 0;
}
