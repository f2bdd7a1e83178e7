// zorexport catalogue: the settings and the whole catalogue as JSON.
#include "core/JsonWriter.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/Startup.h"

#include <cstdio>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {"catalogue", "zorexport catalogue [DIR=<data directory>]", nullptr};

void WriteItems(JsonWriter& j, const DataStore& store, const std::vector<ListItem>& items) {
    j.BeginArray();
    for (const auto& it : items) {
        j.BeginObject().Key("key").Int(it.code).Key("name").String(Utf8(store, it.name));
        j.EndObject();
    }
    j.EndArray();
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    std::string dir = TakeDirArgument(args);
    if (!args.empty()) return UsageError(kInfo, "unexpected argument " + args.front());

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;
    for (size_t g = 0; g < store.Groups().size(); ++g) store.LoadGroupIndicators(int(g));

    const AppSettings& s = store.Settings();
    JsonWriter j;
    j.BeginObject().Key("settings").BeginObject();
    j.Key("provider").String(Utf8(store, s.providerName));
    j.Key("dataSource").String(Utf8(store, s.dataSource));
    j.Key("dataDirectory").String(Utf8(store, s.dataDirectory));
    j.Key("passwordFile").String(Utf8(store, s.passwordFile));
    j.Key("charset").Int(s.charset);
    j.Key("decimalSymbol").String(Utf8(store, std::string(1, s.decimalSymbol)));
    j.Key("mapColors");
    if (s.mapColors) {
        j.BeginArray();
        for (uint32_t c : *s.mapColors) j.Int(c);
        j.EndArray();
    } else {
        j.Null();
    }
    j.EndObject();

    j.Key("regionSets").BeginArray();
    for (const auto& set : store.RegionSets()) {
        j.BeginObject();
        j.Key("id").Int(set.id).Key("name").String(Utf8(store, set.name));
        j.Key("code").String(Utf8(store, set.code));
        j.Key("topCount").Int(set.topCount).Key("smallCount").Int(set.smallCount);
        j.Key("regions").BeginArray();
        for (const auto& r : set.regions)
            j.BeginObject().Key("id").Int(r.id).Key("name").String(Utf8(store, r.name)).EndObject();
        j.EndArray();
        j.Key("indicators").BeginArray();
        for (auto c : set.indicators) j.Int(c);
        j.EndArray();
        j.Key("parValues").BeginArray();
        for (auto v : set.parValues) j.Int(v);
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();

    int sizes[10] = {};
    int reported = store.GroupSizes(sizes, 10);
    j.Key("groups").BeginArray();
    for (size_t g = 0; g < store.Groups().size(); ++g) {
        const auto& group = store.Groups()[g];
        j.BeginObject();
        j.Key("id").Int(group.id).Key("name").String(Utf8(store, group.name));
        j.Key("announced").Int(int(g) < reported ? sizes[g] : group.announced);
        j.Key("indicators").BeginArray();
        for (const auto& ind : group.indicators) {
            j.BeginObject().Key("code").Int(ind.code).Key("name").String(Utf8(store, ind.name));
            j.Key("variants").BeginArray();
            for (const auto& v : ind.variants)
                j.BeginObject()
                    .Key("code")
                    .Int(v.code)
                    .Key("name")
                    .String(Utf8(store, v.name))
                    .EndObject();
            j.EndArray().EndObject();
        }
        j.EndArray().EndObject();
    }
    j.EndArray();

    j.Key("periods").BeginArray();
    for (const auto& p : store.Periods())
        j.BeginObject().Key("code").Int(p.code).Key("name").String(Utf8(store, p.name)).EndObject();
    j.EndArray();

    j.Key("allRegions");
    WriteItems(j, store, store.AllRegions());
    j.Key("topRegions");
    WriteItems(j, store, store.TopRegions());
    j.EndObject();

    std::fwrite(j.str().data(), 1, j.str().size(), stdout);
    std::fputc('\n', stdout);
    return ExitOk;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
