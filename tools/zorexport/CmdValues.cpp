// zorexport values: builds and loads a DataTable from the given lists and prints it as JSON.
#include "core/DataTable.h"
#include "core/JsonWriter.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/SelectionArgs.h"
#include "tools/zorexport/Startup.h"

#include <cstdio>
#include <optional>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {"values",
                           "zorexport values [DIR=<dir>] --set CODE --row-mode 0|1|2 [--zero-axis] "
                           "--indicators C1,C2,... [--regions K1,K2,...] --periods P1,P2,...",
                           nullptr};

void WriteValue(JsonWriter& j, float v) {
    if (IsMissing(v))
        j.Null();
    else
        j.Float(v);
}

void WriteMatrix(JsonWriter& j, const DataTable& t, bool first) {
    j.BeginArray();
    for (int i = 0; i < int(t.Indicators().size()); ++i) {
        j.BeginArray();
        for (int s = 0; s < t.SlotCount(); ++s)
            j.Int(first ? t.FirstAvailablePeriod(i, s) : t.LastAvailablePeriod(i, s));
        j.EndArray();
    }
    j.EndArray();
}

// The options as given; the lists are parsed once they are all there.
struct Options {
    std::optional<int64_t> setCode, rowMode;
    std::optional<std::string> indicators, regions, periods;
    bool zeroAxis = false;
};

// The lists of the table, parsed.
struct Lists {
    std::vector<int64_t> indicators, regions, periods;
};

// Reads the options into `o`; returns an error text, empty when they are good.
std::string ParseOptions(const std::vector<std::string>& args, Options& o) {
    for (size_t a = 0; a < args.size(); ++a) {
        const std::string& opt = args[a];
        if (opt == "--zero-axis") {
            o.zeroAxis = true;
            continue;
        }
        if (opt != "--set" && opt != "--row-mode" && opt != "--indicators" && opt != "--regions" &&
            opt != "--periods")
            return "unexpected argument " + opt;
        if (a + 1 >= args.size()) return opt + " needs a value";
        const std::string& value = args[++a];
        if (opt == "--set") {
            o.setCode = ParseInt(value);
            if (!o.setCode || *o.setCode < INT16_MIN || *o.setCode > INT16_MAX)
                return "bad set code " + value;
        } else if (opt == "--row-mode") {
            o.rowMode = ParseInt(value);
            if (!o.rowMode || *o.rowMode < 0 || *o.rowMode > 2) return "bad row mode " + value;
        } else if (opt == "--indicators") {
            o.indicators = value;
        } else if (opt == "--regions") {
            o.regions = value;
        } else {
            o.periods = value;
        }
    }
    if (!o.setCode) return "--set is required";
    if (!o.rowMode) return "--row-mode is required";
    if (!o.indicators) return "--indicators is required";
    if (!o.periods) return "--periods is required";
    return {};
}

// Parses the lists of `o` into `lists`; returns an error text, empty when they are good.
std::string ParseLists(const Options& o, Lists& lists) {
    auto indicators = ParseIntList(*o.indicators, INT32_MIN, INT32_MAX);
    if (!indicators) return "bad indicator list " + *o.indicators;
    // Region keys: set id * 65536 + region id, read as signed or unsigned 32-bit.
    auto regions = ParseIntList(o.regions.value_or(""), INT32_MIN, UINT32_MAX);
    if (!regions) return "bad region list " + *o.regions;
    auto periods = ParseIntList(*o.periods, INT16_MIN, INT16_MAX);
    if (!periods) return "bad period list " + *o.periods;
    lists = {std::move(*indicators), std::move(*regions), std::move(*periods)};
    return {};
}

// The rows with their keys and labels, the total row, the period and indicator codes.
void WriteHeadings(JsonWriter& j, const DataStore& store, const DataTable& table) {
    j.Key("rows").BeginArray();
    for (int r = 0; r < table.RowCount(); ++r) {
        j.BeginObject().Key("key").Int(table.RowKeys()[size_t(r)]);
        j.Key("label").String(Utf8(store, table.RowLabels()[size_t(r)])).EndObject();
    }
    j.EndArray();
    j.Key("totalRow").Int(table.TotalRow());
    j.Key("periods").BeginArray();
    for (const auto& p : table.Periods()) j.Int(p.code);
    j.EndArray();
    j.Key("indicators").BeginArray();
    for (const auto& i : table.Indicators()) j.Int(i.code);
    j.EndArray();
}

// The values [period][indicator][row], then the periods they were taken from.
void WriteValues(JsonWriter& j, const DataTable& table) {
    j.Key("values").BeginArray();
    for (int p = 0; p < int(table.Periods().size()); ++p) {
        j.BeginArray();
        for (int i = 0; i < int(table.Indicators().size()); ++i) {
            j.BeginArray();
            for (int r = 0; r < table.RowCount(); ++r) WriteValue(j, table.Value(p, i, r));
            j.EndArray();
        }
        j.EndArray();
    }
    j.EndArray();

    j.Key("firstAvailable");
    WriteMatrix(j, table, true);
    j.Key("lastAvailable");
    WriteMatrix(j, table, false);
}

// The computed axis of each indicator.
void WriteAxes(JsonWriter& j, const DataTable& table) {
    j.Key("axes").BeginArray();
    for (int i = 0; i < int(table.Indicators().size()); ++i) {
        const AxisRange a = table.ComputedAxis(i);
        j.BeginObject();
        j.Key("min");
        WriteValue(j, a.min);
        j.Key("max");
        WriteValue(j, a.max);
        j.Key("step").Float(a.step);
        j.EndObject();
    }
    j.EndArray();
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    const std::string dir = TakeDirArgument(args);
    Options o;
    if (const std::string error = ParseOptions(args, o); !error.empty())
        return UsageError(kInfo, error);
    Lists lists;
    if (const std::string error = ParseLists(o, lists); !error.empty())
        return UsageError(kInfo, error);

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;
    // A key of no region, or of another set, would give a row of another region's values.
    if (const std::string error = CheckRegionKeys(store, int(*o.setCode), lists.regions);
        !error.empty())
        return UsageError(kInfo, error);

    DataTable table(store, int(*o.setCode), IndicatorItems(store, lists.indicators),
                    RegionItems(store, lists.regions), PeriodItems(store, lists.periods),
                    int(*o.rowMode), o.zeroAxis);
    const int loaded = table.Load();

    JsonWriter j;
    j.BeginObject();
    j.Key("setCode").Int(table.SetCode());
    j.Key("rowMode").Int(table.RowMode());
    WriteHeadings(j, store, table);
    WriteValues(j, table);
    WriteAxes(j, table);
    j.EndObject();

    std::fwrite(j.str().data(), 1, j.str().size(), stdout);
    std::fputc('\n', stdout);
    return loaded == 0 ? ExitOk : ExitLoadFailed;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
