// zorexport definitions: the definition texts of indicators as the definitions viewer shows
// them, decoded to UTF-8.
#include "core/Charset.h"
#include "core/InddefReader.h"
#include "core/JsonWriter.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/Startup.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {
    "definitions", "zorexport definitions [DIR=<data directory>] --indicators C1,C2,...", nullptr};

// String id of "Can not find definitions file!".
constexpr int NoDefinitionsFileTextId = 1079;

bool ParseCode(const std::string& s, int& code) {
    const char* end = s.data() + s.size();
    auto r = std::from_chars(s.data(), end, code);
    return r.ec == std::errc() && r.ptr == end && code >= INT16_MIN && code <= INT16_MAX;
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    std::string dir = TakeDirArgument(args);

    std::optional<std::string> list;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--indicators" && !list && i + 1 < args.size()) {
            list = args[++i];
        } else if (a.rfind("--indicators=", 0) == 0 && !list) {
            list = a.substr(13);
        } else {
            return UsageError(kInfo, "unexpected argument " + a);
        }
    }
    if (!list) return UsageError(kInfo, "--indicators is required");
    std::vector<int> codes;
    for (const std::string& item : SplitList(*list)) {
        int code = 0;
        if (!ParseCode(item, code)) return UsageError(kInfo, "bad indicator code \"" + item + "\"");
        codes.push_back(code);
    }
    if (codes.empty()) return UsageError(kInfo, "no indicator codes");

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;

    std::string path = DefinitionsFilePath(store.Settings());
    if (!FileExists(path)) {
        std::string msg =
            store.LoadTextOr(NoDefinitionsFileTextId, "Can not find definitions file!");
        std::fprintf(stderr, "zorexport definitions: %s %s\n", Utf8(store, msg).c_str(),
                     path.c_str());
        return ExitLoadFailed;
    }

    auto views = LoadDefinitionViews(path, codes, DefinitionNotFoundText(store.Titles()));
    JsonWriter j;
    j.BeginArray();
    for (const DefinitionView& v : views) {
        j.BeginObject().Key("code").Int(v.code).Key("found").Bool(v.found);
        j.Key("text").String(DecodeToUtf8(v.text, store.Charset())).EndObject();
    }
    j.EndArray();
    std::fwrite(j.str().data(), 1, j.str().size(), stdout);
    std::fputc('\n', stdout);
    return ExitOk;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
