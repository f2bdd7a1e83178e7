// zorexport temp: the temporary-indicator editor's New/Change ("set"), Delete ("delete") and
// its list ("list") without a window. set and delete check a definition as the editor does and
// rewrite tmplist.ind atomically; invalid input writes nothing.
#include "core/JsonWriter.h"
#include "indicators/TempEditor.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/SelectionArgs.h"
#include "tools/zorexport/Startup.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {"temp",
                           "zorexport temp set|delete|list [DIR=<data directory>] --slot N "
                           "[--name TEXT --type T --a CODE --b CODE --params P1,...]",
                           nullptr};

// A definition the editor would refuse: nothing is written.
constexpr int ExitInvalidInput = 65;

struct Options {
    std::string action;
    std::optional<int> slot;
    std::optional<std::string> name, params;
    std::optional<int> type, a, b;
};

std::string ParseArgs(const std::vector<std::string>& args, Options& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!o.action.empty()) return "unexpected argument " + arg;
            o.action = arg;
            continue;
        }
        if (i + 1 >= args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        auto number = [&](std::optional<int>& into, int64_t lo, int64_t hi) -> std::string {
            const auto v = ParseInt(value);
            if (!v || *v < lo || *v > hi) return "bad " + arg + " " + value;
            into = static_cast<int>(*v);
            return {};
        };
        std::string error;
        if (arg == "--slot")
            error = number(o.slot, 0, TempSlotCount - 1);
        else if (arg == "--name")
            o.name = value;
        else if (arg == "--type")
            error = number(o.type, INT16_MIN, INT16_MAX);
        else if (arg == "--a")
            error = number(o.a, INT16_MIN, INT16_MAX);
        else if (arg == "--b")
            error = number(o.b, INT16_MIN, INT16_MAX);
        else if (arg == "--params")
            o.params = value;
        else
            return "unexpected argument " + arg;
        if (!error.empty()) return error;
    }
    if (o.action != "set" && o.action != "delete" && o.action != "list")
        return o.action.empty() ? "set, delete or list is required" : "unknown action " + o.action;
    const bool fields = o.name || o.type || o.a || o.b || o.params;
    if (o.action == "list" && (o.slot || fields)) return "list takes no other options";
    if (o.action != "list" && !o.slot) return "--slot is required";
    if (o.action == "delete" && fields) return "delete takes only --slot";
    return {};
}

// The numbers of a type's page, in the order it shows them.
std::vector<double> PageNumbers(const TempIndicatorDef& d) {
    const indicators::TypePage page = indicators::PageOf(d.operation);
    std::vector<double> out;
    if (page.coefficient) out.push_back(static_cast<double>(d.parameters[0]));
    if (page.years) out.push_back(std::trunc(static_cast<double>(d.parameters[1])));
    return out;
}

void WriteSlot(JsonWriter& j, const DataStore& store, const TempIndicatorDef& d) {
    j.BeginObject()
        .Key("slot")
        .Int(d.code - TempIndicatorBase)
        .Key("code")
        .Int(d.code)
        .Key("name")
        .String(Utf8(store, d.name))
        .Key("type")
        .Int(d.operation)
        .Key("a")
        .Int(d.operandA)
        .Key("b")
        .Int(d.operandB)
        .Key("params")
        .BeginArray();
    for (const double p : PageNumbers(d)) j.Double(p);
    j.EndArray().EndObject();
}

int Invalid(const std::string& why) {
    std::fprintf(stderr, "zorexport temp: %s\n", why.c_str());
    return ExitInvalidInput;
}

void Print(const JsonWriter& j) {
    std::fwrite(j.str().data(), 1, j.str().size(), stdout);
    std::fputc('\n', stdout);
}

// Fills the editor's form from the options, as the user would type them.
std::string FillForm(indicators::TempEditor& editor, const Options& o) {
    if (o.name) editor.SetTitle(*o.name);
    if (o.type) {
        if (!indicators::IsFormulaType(*o.type)) return "--type must be 1 to 7";
        editor.SetType(*o.type);
    }
    const int type = editor.Form().type;
    const indicators::TypePage page = indicators::PageOf(type);
    if (o.a) editor.SetFirst(indicators::CodeText(*o.a));
    if (o.b) {
        if (!page.second) return "type " + std::to_string(type) + " has no I2 (--b)";
        editor.SetSecond(indicators::CodeText(*o.b));
    }
    if (o.params) {
        const std::vector<std::string> values = SplitList(*o.params);
        const size_t wanted = (page.coefficient ? 1u : 0u) + (page.years ? 1u : 0u);
        if (values.size() != wanted)
            return "type " + std::to_string(type) + " takes " + std::to_string(wanted) +
                   " value(s) in --params";
        if (page.coefficient) editor.SetCoefficient(values[0]);
        if (page.years) editor.SetYears(values[0]);
    }
    return {};
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    const std::string dir = TakeDirArgument(args);
    Options o;
    if (const std::string error = ParseArgs(args, o); !error.empty())
        return UsageError(kInfo, error);

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;
    indicators::TempEditor editor(store);
    if (!editor.Open(store.TempListPath())) {
        std::fprintf(stderr, "zorexport temp: %s is not a temporary indicator list\n",
                     editor.Path().c_str());
        return ExitLoadFailed;
    }

    if (o.action == "list") {
        JsonWriter j;
        j.BeginArray();
        for (const TempIndicatorDef& d : editor.Slots())
            if (!indicators::IsEmptySlot(d)) WriteSlot(j, store, d);
        j.EndArray();
        Print(j);
        return ExitOk;
    }

    editor.Select(*o.slot);
    if (o.action == "delete") {
        editor.Delete();
    } else {
        if (indicators::IsEmptySlot(editor.Slots()[static_cast<size_t>(*o.slot)])) editor.Insert();
        if (const std::string error = FillForm(editor, o); !error.empty()) return Invalid(error);
        if (const std::string error = editor.SaveCurrentItem(); !error.empty())
            return Invalid(error);
    }
    if (const std::string error = editor.SaveList(nullptr); !error.empty()) {
        std::fprintf(stderr, "zorexport temp: %s\n", error.c_str());
        return ExitWriteFailed;
    }
    JsonWriter j;
    WriteSlot(j, store, editor.Slots()[static_cast<size_t>(*o.slot)]);
    Print(j);
    return ExitOk;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
