// zorgui.cfg lines and the map colours inside them.
#include "core/Settings.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zor::PlatformInfo platform;
    platform.arialWithCharset = [](int cs) { return cs % 2 == 0; };
    zor::AppSettings s;
    s.dataDirectory = "/data/";
    std::string_view text = zor::fuzz::AsView(data, size);
    zor::ApplyConfigText(s, text, platform);
    zor::ParseMapColors(text);
    if (zor::IsFileProviderName(s.providerName)) zor::CompleteDataSource(s);
    zor::AppSettings c;
    zor::ApplyCommandLine(c, text);
    return 0;
}
