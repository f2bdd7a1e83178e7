// zorexport indicator-list: the printed indicator list of the chosen groups without a window:
// its export files (html, txt) as the window writes them, its lines and pages (json) and its
// printout (print-pdf).
#include "core/Ids.h"
#include "core/JsonWriter.h"
#include "draw/NullContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "indicators/IndicatorList.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/Output.h"
#include "tools/zorexport/SelectionArgs.h"
#include "tools/zorexport/Startup.h"

#include <QGuiApplication>

#include <algorithm>
#include <memory>
#include <optional>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {"indicator-list",
                           "zorexport indicator-list [DIR=<data directory>] [--groups G1,G2,...] "
                           "[--all] [--paper WxH] --format html|txt|json|print-pdf [--out FILE]",
                           nullptr};

constexpr int Dpi = 600;

struct Options {
    std::optional<std::vector<int64_t>> groups;
    bool all = false;
    double paperWidth = 210, paperHeight = 297; // mm
    std::string format, out;
};

std::string ParseArgs(const std::vector<std::string>& args, Options& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--all") {
            o.all = true;
            continue;
        }
        if (i + 1 >= args.size())
            return arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unexpected argument " + arg;
        const std::string& value = args[++i];
        if (arg == "--groups") {
            o.groups = ParseIntList(value, 0, 9);
            if (!o.groups || o.groups->empty()) return "bad group list " + value;
        } else if (arg == "--paper") {
            const auto paper = ParseSize(value, 2000);
            if (!paper) return "bad paper size " + value;
            o.paperWidth = paper->cx, o.paperHeight = paper->cy;
        } else if (arg == "--format") {
            if (value != "html" && value != "txt" && value != "json" && value != "print-pdf")
                return "bad format " + value;
            o.format = value;
        } else if (arg == "--out") {
            o.out = value;
        } else {
            return "unexpected argument " + arg;
        }
    }
    if (o.format.empty()) return "--format is required";
    if (o.format == "print-pdf" && o.out.empty()) return "--out is required";
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

    // The groups in the window's order (the catalogue's), all of them unless chosen.
    std::vector<int> chosen;
    const std::vector<int> listed = indicators::ListedGroups(store.Groups());
    if (o.groups)
        for (const int64_t id : *o.groups)
            if (store.FindGroup(static_cast<int>(id)) < 0 ||
                std::find(listed.begin(), listed.end(), store.FindGroup(static_cast<int>(id))) ==
                    listed.end())
                return UsageError(kInfo,
                                  "group " + std::to_string(id) + " is not in the catalogue");
    for (const int g : listed) {
        const int id = store.Groups()[static_cast<size_t>(g)].id;
        if (o.groups && std::find(o.groups->begin(), o.groups->end(), id) == o.groups->end())
            continue;
        store.LoadGroupIndicators(g);
        chosen.push_back(g);
    }
    const std::vector<indicators::ListLine> lines =
        indicators::BuildListLines(store.Groups(), chosen, o.all);

    bool written = false;
    if (o.format == "html") {
        written =
            WriteOutput(o.out, indicators::ExportListHtml(
                                   lines, indicators::ListCodePage(store.Charset()),
                                   store.LoadTextOr(indicators::ListTitleTextId, "Indicators")));
    } else if (o.format == "txt") {
        written = WriteOutput(o.out, indicators::ExportListText(lines));
    } else {
        const auto gui = MakeGuiApplication();
        indicators::IndicatorListPrint list(lines, store.Charset(),
                                            store.UiText(TextPageNumber, "Page %d"));
        const draw::DeviceInfo device = draw::PdfPageDevice(o.paperWidth, o.paperHeight, Dpi);
        const draw::Rect page{0, 0, device.width, device.height};
        const draw::NullContext counter(device, draw::QtTextMeasurer::Screen());
        const int pages = list.CountPages(counter, page);
        if (o.format == "json") {
            JsonWriter j;
            indicators::WriteListJson(j, lines, list.Layout(), store.Charset());
            written = WriteOutput(o.out, j.str() + "\n");
        } else {
            written =
                draw::SavePdfPages(o.out, o.paperWidth, o.paperHeight, Dpi, std::max(1, pages),
                                   [&list](draw::DeviceContext& dc, const draw::Rect& p,
                                           int index) { list.PrintPage(dc, p, index); });
        }
    }
    return written ? ExitOk : WriteFailed(o.out);
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
