// zorexport render: draws a view headlessly as its window would and writes the picture (PNG,
// SVG, PDF, enhanced metafile) or the drawing calls as text.
#include "charts/CBarChart.h"
#include "core/FileUtil.h"
#include "core/Selection.h"
#include "draw/RecordingContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/SelectionArgs.h"
#include "tools/zorexport/Startup.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {
    "render",
    "zorexport render VIEW [DIR=<dir>] --set CODE --indicators C1,... --regions K1,... "
    "--periods P1,... [--indicator I] [--period P] [--region R] [--size WxH] "
    "--format png|svg|pdf|emf|draw --out FILE",
    nullptr};

constexpr int ExitWriteFailed = 1;

struct Options {
    std::string view;
    int64_t setCode = 0;
    std::vector<int64_t> indicators, regions, periods;
    int indicator = 0, period = 0, region = 0;
    std::optional<draw::Size> size;
    std::string format;
    std::string out;
};

std::optional<draw::Size> ParseSize(const std::string& text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const auto w = ParseInt(text.substr(0, x)), h = ParseInt(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > 20000 || *h > 20000) return std::nullopt;
    return draw::Size{int(*w), int(*h)};
}

// Parses the arguments into `o`; returns an error text, empty when they are good.
std::string Parse(std::vector<std::string> args, Options& o) {
    std::optional<int64_t> setCode;
    std::optional<std::string> indicators, regions, periods;
    for (size_t a = 0; a < args.size(); ++a) {
        const std::string& opt = args[a];
        if (opt.rfind("--", 0) != 0) {
            if (!o.view.empty()) return "unexpected argument " + opt;
            o.view = opt;
            continue;
        }
        if (a + 1 >= args.size()) return opt + " needs a value";
        const std::string& value = args[++a];
        auto index = [&](int& into) -> std::string {
            const auto v = ParseInt(value);
            if (!v || *v < 0 || *v > INT16_MAX) return "bad " + opt + " " + value;
            into = int(*v);
            return {};
        };
        std::string error;
        if (opt == "--set") {
            setCode = ParseInt(value);
            if (!setCode || *setCode < INT16_MIN || *setCode > INT16_MAX)
                return "bad set code " + value;
        } else if (opt == "--indicators") {
            indicators = value;
        } else if (opt == "--regions") {
            regions = value;
        } else if (opt == "--periods") {
            periods = value;
        } else if (opt == "--indicator") {
            error = index(o.indicator);
        } else if (opt == "--period") {
            error = index(o.period);
        } else if (opt == "--region") {
            error = index(o.region);
        } else if (opt == "--size") {
            o.size = ParseSize(value);
            if (!o.size) return "bad size " + value;
        } else if (opt == "--format") {
            o.format = value;
            if (value != "png" && value != "svg" && value != "pdf" && value != "emf" &&
                value != "draw")
                return "bad format " + value;
        } else if (opt == "--out") {
            o.out = value;
        } else {
            return "unexpected argument " + opt;
        }
        if (!error.empty()) return error;
    }
    if (o.view.empty()) return "VIEW is required";
    if (o.view != "barchart") return "unknown view " + o.view;
    if (!setCode) return "--set is required";
    if (o.format.empty()) return "--format is required";
    if (o.out.empty()) return "--out is required";
    if (!indicators || !regions || !periods)
        return "the bar chart needs --indicators, --regions and --periods";
    o.setCode = *setCode;
    auto ind = ParseIntList(*indicators, INT32_MIN, INT32_MAX);
    if (!ind) return "bad indicator list " + *indicators;
    auto reg = ParseIntList(*regions, INT32_MIN, UINT32_MAX);
    if (!reg) return "bad region list " + *regions;
    auto per = ParseIntList(*periods, INT16_MIN, INT16_MAX);
    if (!per) return "bad period list " + *periods;
    if (ind->empty() || reg->empty() || per->empty())
        return "the bar chart needs at least one indicator, region and period";
    if (o.indicator >= int(ind->size())) return "--indicator is past the indicator list";
    if (o.period >= int(per->size())) return "--period is past the period list";
    if (o.region >= int(reg->size())) return "--region is past the region list";
    o.indicators = *ind, o.regions = *reg, o.periods = *per;
    return {};
}

// A GUI application for fonts and painting; offscreen unless a platform is chosen.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zorexport";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool Write(charts::CGraphView& view, const Options& o) {
    draw::Rect bounds;
    std::string description;
    view.GetMetafileInfo(bounds, description);
    const draw::Size size = o.size.value_or(draw::Size{bounds.Width(), bounds.Height()});
    const auto paint = [&view](draw::DeviceContext& dc, draw::Size s) {
        view.Paint(dc, {0, 0, s.cx, s.cy});
    };
    if (o.format == "png") return draw::SavePng(o.out, size, paint);
    if (o.format == "svg") return draw::SaveSvg(o.out, size, paint, description);
    if (o.format == "pdf") return draw::SavePdf(o.out, size, paint);
    if (o.format == "emf")
        return draw::SaveEmf(
            o.out, size,
            [&view](draw::DeviceContext& dc, draw::Size s) {
                view.DrawPicture(dc, {0, 0, s.cx, s.cy}, false);
            },
            description);
    draw::RecordingContext dc(
        draw::QtTextMeasurer::Screen(),
        draw::DeviceInfo{draw::Technology::Display, size.cx, size.cy, 3780, 3780, 24});
    paint(dc, size);
    return WriteFileAtomic(o.out, dc.Recording());
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    const std::string dir = TakeDirArgument(args);
    Options o;
    if (const std::string error = Parse(args, o); !error.empty()) return UsageError(kInfo, error);

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;
    const auto gui = MakeGuiApplication();

    Selection selection;
    selection.Confirm(int(o.setCode), IndicatorItems(store, o.indicators),
                      RegionItems(store, o.regions), PeriodItems(store, o.periods));
    const charts::ChartResources resources(store.Charset());
    charts::CBarChart chart(store, resources, selection);
    if (chart.LoadResult() != 0) {
        std::fprintf(stderr, "zorexport: the value table could not be loaded\n");
        return ExitLoadFailed;
    }
    chart.Select(charts::PopupKind::Indicators, o.indicator);
    chart.Select(charts::PopupKind::Periods, o.period);
    chart.Select(charts::PopupKind::Regions, o.region);
    chart.ComputeLayout();
    if (!Write(chart, o)) {
        std::fprintf(stderr, "zorexport: cannot write %s\n", o.out.c_str());
        return ExitWriteFailed;
    }
    return ExitOk;
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
