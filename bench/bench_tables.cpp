// Table A on the US-counties benchmark database (scripts/make-us-db.sh): every region of every
// set (row mode 0 under "all sets") by 30 periods, with 30 indicators in its popup. Times, as
// medians over the runs:
//   - load: the value table of 30 indicators x 30 periods read (the view's construction);
//   - fill: the grid built from it (the first showing: rows, cells, fitting column 0);
//   - html: the HTML export's bytes made and written with fwrite (to a file in /tmp);
//   - export: the "Export" of a file, with its atomic replace (written, flushed, renamed);
//   - paint: one screen (1000 x 700 pixels) painted into an image;
// each also as a ratio to writing the same HTML bytes with plain fwrite (to the same file) in
// the same run; the export's target is 2x.
// Usage: bench_tables <database directory> [runs]
#include "bench/Timing.h"
#include "charts/ChartResources.h"
#include "core/DataStore.h"
#include "core/Selection.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "grids/CTables.h"
#include "tests/support/ViewTestSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Columns = 30;

using zor::bench::Median;
using zor::bench::MedianMs;
using zor::bench::Ms;

bool FwriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A headless window measuring with the screen fonts.
struct ScreenHost : zor::test::RecordingHost {
    const zor::draw::TextMeasurer& Measurer() const override {
        return zor::draw::QtTextMeasurer::Screen();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_tables <database directory> [runs]\n");
        return 64;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    using namespace zor;

    DataStore store;
    PlatformInfo platform = DefaultPlatform(0, nullptr);
    platform.commandLine = std::string("DIR=") + argv[1];
    if (!store.StartUp(platform)) {
        std::fprintf(stderr, "bench_tables: %s\n", store.StartupError().c_str());
        return 2;
    }

    // The first 30 indicators of the catalogue and its last 30 periods.
    std::vector<ListItem> indicators, periods;
    for (size_t g = 0; g < store.Groups().size() && indicators.size() < Columns; ++g) {
        store.LoadGroupIndicators(static_cast<int>(g));
        for (const Indicator& i : store.Groups()[g].indicators)
            if (indicators.size() < Columns) indicators.push_back({i.code, i.name});
    }
    const std::vector<ListItem> all = store.PeriodList();
    periods.assign(all.end() - std::min<std::ptrdiff_t>(Columns, std::ssize(all)), all.end());
    Selection selection;
    selection.Confirm(AllRegionSets, indicators, {}, periods);
    const charts::ChartResources resources(store.Charset());
    const charts::ViewContext context{store, resources, selection, nullptr};

    ScreenHost host;
    std::unique_ptr<grids::CTableA> table;
    const double load = MedianMs(runs, [&] { table = std::make_unique<grids::CTableA>(context); });
    if (!table->Loaded()) {
        std::fprintf(stderr, "bench_tables: the value table could not be loaded\n");
        return 3;
    }
    table->Create(&host);
    const double fill = MedianMs(runs, [&] { table->InitialUpdate(); });

    const std::string html = *table->ExportText(charts::TextExport::Html);
    const std::string path = "/tmp/bench_tables." + std::to_string(getpid()) + ".html";
    QImage image(1000, 700, QImage::Format_RGB32);
    // The cheap steps run side by side with the baseline, each ratio taken within its run, so
    // that the load of a shared machine affects both alike.
    bool written = true;
    std::vector<double> base, exportHtml, exportFile, paint;
    for (int i = 0; i < runs; ++i) {
        base.push_back(Ms([&] { written &= FwriteFile(path, html); }));
        exportHtml.push_back(
            Ms([&] { written &= FwriteFile(path, *table->ExportText(charts::TextExport::Html)); }));
        exportFile.push_back(
            Ms([&] { written &= table->ExportToFile(path, grids::ExportKind::Html); }));
        paint.push_back(Ms([&] {
            QPainter painter(&image);
            draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen());
            table->PaintWindow(dc, {0, 0, image.width(), image.height()});
        }));
    }
    std::remove(path.c_str());
    if (!written) {
        std::fprintf(stderr, "bench_tables: cannot write %s\n", path.c_str());
        return 1;
    }

    const double baseline = Median(base);
    std::printf("table A: %d rows x %zu periods (%zu indicators in the popup), HTML %zu bytes, "
                "median of %d runs\n",
                table->RowCount(), periods.size(), indicators.size(), html.size(), runs);
    std::printf("%-34s %9.2f ms\n", "fwrite of the HTML bytes (1x)", baseline);
    auto row = [&](const char* what, double ms, double ratio) {
        std::printf("%-34s %9.2f ms %8.2fx\n", what, ms, ratio);
    };
    auto paired = [&](const char* what, const std::vector<double>& ms) {
        std::vector<double> ratios;
        for (size_t i = 0; i < ms.size(); ++i) ratios.push_back(ms[i] / base[i]);
        row(what, Median(ms), Median(ratios));
    };
    row("load the value table", load, load / baseline);
    row("fill the grid", fill, fill / baseline);
    paired("export HTML (bytes + fwrite)", exportHtml);
    paired("export HTML file (atomic replace)", exportFile);
    paired("paint one screen (1000 x 700)", paint);
    return 0;
}
