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

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    const std::string dir = TakeDirArgument(args);

    std::optional<int64_t> setCode, rowMode;
    std::optional<std::string> indicatorText, regionText, periodText;
    bool zeroAxis = false;
    for (size_t a = 0; a < args.size(); ++a) {
        const std::string& opt = args[a];
        if (opt == "--zero-axis") {
            zeroAxis = true;
            continue;
        }
        if (opt != "--set" && opt != "--row-mode" && opt != "--indicators" && opt != "--regions" &&
            opt != "--periods")
            return UsageError(kInfo, "unexpected argument " + opt);
        if (a + 1 >= args.size()) return UsageError(kInfo, opt + " needs a value");
        const std::string& value = args[++a];
        if (opt == "--set") {
            setCode = ParseInt(value);
            if (!setCode || *setCode < INT16_MIN || *setCode > INT16_MAX)
                return UsageError(kInfo, "bad set code " + value);
        } else if (opt == "--row-mode") {
            rowMode = ParseInt(value);
            if (!rowMode || *rowMode < 0 || *rowMode > 2)
                return UsageError(kInfo, "bad row mode " + value);
        } else if (opt == "--indicators") {
            indicatorText = value;
        } else if (opt == "--regions") {
            regionText = value;
        } else {
            periodText = value;
        }
    }
    if (!setCode) return UsageError(kInfo, "--set is required");
    if (!rowMode) return UsageError(kInfo, "--row-mode is required");
    if (!indicatorText) return UsageError(kInfo, "--indicators is required");
    if (!periodText) return UsageError(kInfo, "--periods is required");

    auto indicatorCodes = ParseIntList(*indicatorText, INT32_MIN, INT32_MAX);
    if (!indicatorCodes) return UsageError(kInfo, "bad indicator list " + *indicatorText);
    // Region keys: set id * 65536 + region id, read as signed or unsigned 32-bit.
    auto regionKeys = ParseIntList(regionText.value_or(""), INT32_MIN, UINT32_MAX);
    if (!regionKeys) return UsageError(kInfo, "bad region list " + *regionText);
    auto periodCodes = ParseIntList(*periodText, INT16_MIN, INT16_MAX);
    if (!periodCodes) return UsageError(kInfo, "bad period list " + *periodText);

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;

    DataTable table(store, int(*setCode), IndicatorItems(store, *indicatorCodes),
                    RegionItems(store, *regionKeys), PeriodItems(store, *periodCodes),
                    int(*rowMode), zeroAxis);
    const int loaded = table.Load();

    JsonWriter j;
    j.BeginObject();
    j.Key("setCode").Int(table.SetCode());
    j.Key("rowMode").Int(table.RowMode());
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
    j.EndObject();

    std::fwrite(j.str().data(), 1, j.str().size(), stdout);
    std::fputc('\n', stdout);
    return loaded == 0 ? ExitOk : ExitLoadFailed;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
