// zorexport views: the table of views this build has, for scripts that go over every view (the
// manual's screenshots): each view's `render` name, its command, its window title and what it
// needs of the selection.
#include "core/JsonWriter.h"
#include "core/Texts.h"
#include "tools/zorexport/Command.h"
#include "views/ViewTable.h"

#include <cstdio>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {"views", "zorexport views", nullptr};

int Run(const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(kInfo, "unexpected argument " + args.front());
    JsonWriter json;
    json.BeginObject().Key("views").BeginArray();
    for (const charts::ViewEntry& e : views::AllViews()) {
        const char* title = BuiltinString(e.title);
        json.BeginObject()
            .Key("name")
            .String(e.exportName)
            .Key("command")
            .Int(e.command)
            .Key("title")
            .String(title ? title : "")
            .Key("needs")
            .BeginArray();
        const struct {
            unsigned need;
            const char* name;
        } needs[] = {{charts::NeedIndicators, "indicators"},
                     {charts::NeedRegions, "regions"},
                     {charts::NeedPeriods, "periods"},
                     {charts::NeedDefinitionsFile, "definitions"}};
        for (const auto& n : needs)
            if (e.needs & n.need) json.String(n.name);
        json.EndArray().Key("options").BeginArray();
        for (const charts::RenderOption& o : e.renderOptions)
            json.BeginObject()
                .Key("name")
                .String(o.name)
                .Key("value")
                .Bool(o.takesValue)
                .EndObject();
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
    const std::string text = json.str() + "\n";
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? ExitOk : 1;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
