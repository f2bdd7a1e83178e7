// inddef.bin: the index, slot matching for a few selections and every record.
#include "core/InddefReader.h"
#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        std::string t = zor::fuzz::ScratchBase() + "/zorfuzz-inddef-XXXXXX";
        int fd = mkstemp(t.data());
        if (fd < 0) std::abort();
        close(fd);
        return t;
    }();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    std::vector<int> selected = {10, 11, 12, 1000, 1005, 2340};
    auto views = zor::LoadDefinitionViews(path, selected, "Definition is not found!");
    zor::DefinitionsFile file;
    if (file.Open(path)) {
        auto slots = zor::MatchDefinitionSlots(file.Index(), selected);
        for (int code : selected) zor::SlotOfItem(slots, code);
        for (const auto& e : file.Index())
            if (auto text = file.ReadRecord(e.offset)) zor::IndentDefinitionText(*text);
    }
    return 0;
}
