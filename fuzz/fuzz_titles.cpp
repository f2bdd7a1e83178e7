// wtitles.bin and the lookups over what it yields.
#include "core/Texts.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zor::TitlesTable t = zor::TitlesTable::Parse(zor::fuzz::AsView(data, size));
    for (const auto& e : t.entries()) {
        t.TitleById(e.id);
        t.TitleByDefaultText(e.defaultText);
        zor::LoadText(t, int(e.id & 0x7fffffff));
    }
    return 0;
}
