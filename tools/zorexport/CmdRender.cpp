// zorexport render: opens a view of the view table headlessly as its frame would (the view's
// Create and InitialUpdate steps), applies the popup choices and the view's own options, and
// writes its picture (PNG, SVG, PDF, enhanced metafile, drawing calls), its printout, its data
// as JSON or its text exports.
#include "core/FileUtil.h"
#include "core/JsonWriter.h"
#include "core/Selection.h"
#include "draw/NullContext.h"
#include "draw/RecordingContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "tools/zorexport/Command.h"
#include "tools/zorexport/Output.h"
#include "tools/zorexport/SelectionArgs.h"
#include "tools/zorexport/Startup.h"
#include "views/ViewTable.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

namespace zor::exporter {

namespace {

const CommandInfo kInfo = {
    "render",
    "zorexport render VIEW [DIR=<dir>] [--set CODE] [--indicators C1,...] [--regions K1,...] "
    "[--periods P1,...] [--indicator I] [--period P] [--region R] [--size WxH] [--paper WxH] "
    "[--margins MM] [view options] --format png|svg|pdf|emf|draw|json|html|txt|copy|print-pdf "
    "[--out FILE]",
    nullptr};

struct Options {
    const charts::ViewEntry* view = nullptr;
    int64_t setCode = 10000;
    std::optional<std::vector<int64_t>> indicators, regions, periods;
    int indicator = 0, period = 0, region = 0;
    std::optional<draw::Size> size;
    double paperWidth = 210, paperHeight = 297;    // mm
    double margins = charts::DefaultPrintMarginMm; // mm, on each side of the paper
    std::string format;
    std::string out;
    std::vector<std::pair<std::string, std::string>> viewOptions; // in the given order
};

bool IsPictureFormat(const std::string& f) {
    return f == "png" || f == "svg" || f == "pdf" || f == "emf" || f == "draw";
}
bool IsTextFormat(const std::string& f) {
    return f == "json" || f == "html" || f == "txt" || f == "copy";
}

const charts::RenderOption* FindOption(const charts::ViewEntry& view, const std::string& name) {
    for (const charts::RenderOption& o : view.renderOptions)
        if (name == o.name) return &o;
    return nullptr;
}

// Parses the arguments into `o`; returns an error text, empty when they are good.
std::string Parse(const std::vector<std::string>& args, Options& o) {
    std::string viewName;
    std::optional<std::string> indicators, regions, periods;
    for (size_t a = 0; a < args.size(); ++a) {
        const std::string& opt = args[a];
        if (opt.rfind("--", 0) != 0) {
            if (!viewName.empty()) return "unexpected argument " + opt;
            viewName = opt;
            o.view = views::FindViewByName(viewName);
            if (!o.view) return "unknown view " + viewName;
            continue;
        }
        if (o.view)
            if (const charts::RenderOption* own = FindOption(*o.view, opt)) {
                if (!own->takesValue) {
                    o.viewOptions.emplace_back(opt, std::string());
                    continue;
                }
                if (a + 1 >= args.size()) return opt + " needs a value";
                o.viewOptions.emplace_back(opt, args[++a]);
                continue;
            }
        if (a + 1 >= args.size()) return opt + " needs a value";
        const std::string& value = args[++a];
        auto index = [&](int& into) -> std::string {
            const auto v = ParseInt(value);
            if (!v || *v < 0 || *v > INT16_MAX) return "bad " + opt + " " + value;
            into = static_cast<int>(*v);
            return {};
        };
        std::string error;
        if (opt == "--set") {
            const auto code = ParseInt(value);
            if (!code || *code < INT16_MIN || *code > INT16_MAX) return "bad set code " + value;
            o.setCode = *code;
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
            o.size = ParseSize(value, 20000);
            if (!o.size) return "bad size " + value;
        } else if (opt == "--paper") {
            const auto paper = ParseSize(value, 2000);
            if (!paper) return "bad paper size " + value;
            o.paperWidth = paper->cx, o.paperHeight = paper->cy;
        } else if (opt == "--margins") {
            const auto mm = ParseInt(value);
            if (!mm || *mm < 0 || *mm > 500) return "bad margins " + value;
            o.margins = static_cast<double>(*mm);
        } else if (opt == "--format") {
            o.format = value;
            if (!IsPictureFormat(value) && !IsTextFormat(value) && value != "print-pdf")
                return "bad format " + value;
        } else if (opt == "--out") {
            o.out = value;
        } else {
            return "unexpected argument " + opt;
        }
        if (!error.empty()) return error;
    }
    if (2 * o.margins >= std::min(o.paperWidth, o.paperHeight))
        return "the margins leave nothing of the paper";
    if (!o.view) return "VIEW is required";
    if (o.format.empty()) return "--format is required";
    if (o.out.empty() && !IsTextFormat(o.format)) return "--out is required";
    if (indicators) {
        o.indicators = ParseIntList(*indicators, INT32_MIN, INT32_MAX);
        if (!o.indicators) return "bad indicator list " + *indicators;
    }
    if (regions) {
        o.regions = ParseIntList(*regions, INT32_MIN, UINT32_MAX);
        if (!o.regions) return "bad region list " + *regions;
    }
    if (periods) {
        o.periods = ParseIntList(*periods, INT16_MIN, INT16_MAX);
        if (!o.periods) return "bad period list " + *periods;
    }
    const unsigned needs = o.view->needs;
    auto required = [](const auto& list) { return list && !list->empty(); };
    if (((needs & charts::NeedIndicators) && !required(o.indicators)) ||
        ((needs & charts::NeedRegions) && !required(o.regions)) ||
        ((needs & charts::NeedPeriods) && !required(o.periods))) {
        std::string lists;
        auto name = [&](unsigned need, const char* what) {
            if (!(needs & need)) return;
            if (!lists.empty()) lists += ", ";
            lists += what;
        };
        name(charts::NeedIndicators, "--indicators");
        name(charts::NeedRegions, "--regions");
        name(charts::NeedPeriods, "--periods");
        return "the view needs " + lists + " (each with at least one entry)";
    }
    auto size = [](const auto& list) { return list ? static_cast<int>(list->size()) : 0; };
    if (o.indicator > 0 && o.indicator >= size(o.indicators))
        return "--indicator is past the indicator list";
    if (o.period > 0 && o.period >= size(o.periods)) return "--period is past the period list";
    if (o.region > 0 && o.region >= size(o.regions)) return "--region is past the region list";
    return {};
}

// The window of a view without a screen: measures with the screen fonts, reports messages on
// standard error, has no dialogs and no clipboard.
class HeadlessHost final : public charts::ViewHost {
public:
    void ShowMessage(const std::string& text, charts::MessageIcon) override {
        std::fprintf(stderr, "zorexport: %s\n", text.c_str());
    }
    void Invalidate(bool) override {}
    void PopupChanged(int) override {}
    std::optional<charts::ExportChoice> RunExportDialog(bool) override { return std::nullopt; }
    std::optional<charts::SaveFileChoice>
    AskSaveFileName(const std::vector<charts::FileType>&) override {
        return std::nullopt;
    }
    void PutPictureOnClipboard(const std::string&, const charts::PictureFunction&,
                               draw::Size) override {}
    void PutHtmlOnClipboard(const std::string&, const std::string&) override {}
    // Picture files as the frame writes them (PNG at twice the pixels).
    bool SavePicture(const std::string& path, charts::PictureFormat format,
                     const charts::PictureFunction& draw, draw::Size size,
                     const std::string& title) override {
        switch (format) {
        case charts::PictureFormat::Png:
            return draw::SavePng(path, size, draw, draw::White, 2);
        case charts::PictureFormat::Svg:
            return draw::SaveSvg(path, size, draw, title);
        case charts::PictureFormat::Pdf:
            break;
        }
        return draw::SavePdf(path, size, draw);
    }
    // No window: pictures take the size of the view's metafile.
    std::optional<draw::Size> WindowSize() const override { return std::nullopt; }
    bool RunDialog(charts::DialogModel&) override { return false; }
    bool OpenView(std::unique_ptr<charts::CView>) override { return false; }
    const draw::TextMeasurer& Measurer() const override { return draw::QtTextMeasurer::Screen(); }
    bool PaintBitmap(draw::Raster& raster, const charts::PictureFunction& draw) override {
        draw::PaintOnRaster(raster, draw);
        return true;
    }
};

bool WritePicture(charts::CView& view, const Options& o) {
    const charts::MetafileInfo info = view.GetMetafileInfo();
    const draw::Rect& bounds = info.bounds;
    const std::string& description = info.description;
    const draw::Size size = o.size.value_or(draw::Size{bounds.Width(), bounds.Height()});
    const auto paint = [&view](draw::DeviceContext& dc, draw::Size s) {
        view.PaintWindow(dc, {0, 0, s.cx, s.cy});
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

// The frames of a view shown as a sequence of pictures: DIR/frame-000.png, ... at --size.
bool WriteFrames(charts::CView& view, const Options& o) {
    const draw::Rect bounds = view.GetMetafileInfo().bounds;
    const draw::Size size = o.size.value_or(draw::Size{bounds.Width(), bounds.Height()});
    std::error_code error;
    std::filesystem::create_directories(o.out, error);
    if (error) return false;
    for (int i = 0; i < view.FrameCount(); ++i) {
        const std::unique_ptr<draw::Raster> frame = view.RenderFrame(i, size);
        char name[32];
        std::snprintf(name, sizeof name, "frame-%03d.png", i);
        if (!frame || !draw::SaveRasterPng((std::filesystem::path(o.out) / name).string(), *frame))
            return false;
    }
    return true;
}

constexpr int PrintDpi = 600;

// The printout's page count on the chosen paper inside its margins, as the print command asks
// it first.
int CountPrintedPages(charts::CView& view, const Options& o) {
    const draw::DeviceInfo device =
        draw::PdfPageDevice(o.paperWidth, o.paperHeight, PrintDpi, o.margins);
    draw::NullContext counter(device, draw::QtTextMeasurer::Screen());
    return std::max(1, view.CountPages(counter, {0, 0, device.width, device.height}));
}

bool WritePrintout(charts::CView& view, const Options& o) {
    const int pages = CountPrintedPages(view, o);
    return draw::SavePdfPages(
        o.out, o.paperWidth, o.paperHeight, PrintDpi, pages,
        [&view](draw::DeviceContext& dc, const draw::Rect& p, int index) {
            view.PrintPage(dc, p, index, true);
        },
        o.margins);
}

int Run(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    const std::string dir = TakeDirArgument(args);
    Options o;
    if (const std::string error = Parse(args, o); !error.empty()) return UsageError(kInfo, error);

    DataStore store;
    if (!RunStartUp(store, dir)) return ExitStartupFailed;
    if (o.regions)
        if (const std::string error =
                CheckRegionKeys(store, static_cast<int>(o.setCode), *o.regions);
            !error.empty())
            return UsageError(kInfo, error);
    const auto gui = MakeGuiApplication();

    Selection selection;
    selection.Confirm(static_cast<int>(o.setCode),
                      o.indicators ? IndicatorItems(store, *o.indicators) : std::vector<ListItem>{},
                      o.regions ? RegionItems(store, *o.regions) : std::vector<ListItem>{},
                      o.periods ? PeriodItems(store, *o.periods) : std::vector<ListItem>{});
    const charts::ChartResources resources(store.Charset());
    const charts::ViewContext context{store, resources, selection, nullptr};
    const std::unique_ptr<charts::CView> view = o.view->make(context);
    if (!view->Loaded()) {
        std::fprintf(stderr, "zorexport: the value table could not be loaded\n");
        return ExitLoadFailed;
    }
    HeadlessHost host;
    view->Create(&host);
    view->InitialUpdate();
    view->Select(charts::PopupKind::Indicators, o.indicator);
    view->Select(charts::PopupKind::Periods, o.period);
    view->Select(charts::PopupKind::Regions, o.region);
    for (const auto& [name, value] : o.viewOptions)
        if (const std::string error = view->ApplyRenderOption(name, value); !error.empty())
            return UsageError(kInfo, error);

    bool written = false;
    if (view->FrameCount() > 0 && o.format != "json") {
        if (o.format != "png") return UsageError(kInfo, "the view writes its frames as png only");
        written = WriteFrames(*view, o);
    } else if (IsPictureFormat(o.format)) {
        written = WritePicture(*view, o);
    } else if (o.format == "print-pdf") {
        written = WritePrintout(*view, o);
    } else if (o.format == "json") {
        // Views that print several pages report the count for the paper (--paper).
        CountPrintedPages(*view, o);
        JsonWriter json;
        if (!view->WriteData(json)) return UsageError(kInfo, "the view has no json form");
        written = WriteOutput(o.out, json.str() + "\n");
    } else {
        const charts::TextExport kind = o.format == "html"  ? charts::TextExport::Html
                                        : o.format == "txt" ? charts::TextExport::Text
                                                            : charts::TextExport::ClipboardHtml;
        const auto text = view->ExportText(kind);
        if (!text) return UsageError(kInfo, "the view has no " + o.format + " export");
        written = WriteOutput(o.out, *text);
    }
    view->Detach();
    return written ? ExitOk : WriteFailed(o.out);
}

const CommandRegistrar kRegister({kInfo.name, kInfo.usage, &Run});

} // namespace

} // namespace zor::exporter
