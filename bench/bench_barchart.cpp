// Bar chart rendering: 30 periods of 30 regions drawn to a 1600 x 1200 image and to an enhanced
// metafile, with the layout computed once as the window does. Prints the median time per
// render over the runs.
#include "bench/Timing.h"
#include "charts/CBarChart.h"
#include "core/DataStore.h"
#include "core/Selection.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "tests/support/Fixture.h"
#include "tests/support/ViewTestSupport.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Periods = 30, Regions = 30, Runs = 25;

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zor;

    test::TempDir dir;
    test::Fixture f(dir.path());
    std::vector<std::string> names;
    for (int r = 1; r <= Regions; ++r) names.push_back("Region " + std::to_string(r));
    names.push_back("Total");
    f.Set(10000, "Country", names);
    f.Group(1, "Economy").Indicator(1010, "Gross domestic product per person");
    std::vector<int> years;
    for (int p = 0; p < Periods; ++p) years.push_back(1980 + p);
    f.Periods(years);
    for (int y : years) {
        std::vector<float> v;
        for (int r = 0; r <= Regions; ++r) v.push_back(float((y * 37 + r * 101) % 997) - 100);
        f.Values(10000, y, 1010, v);
    }
    f.Write();
    DataStore store;
    PlatformInfo platform = DefaultPlatform(0, nullptr);
    platform.executableDirectory = dir.path();
    platform.commandLine.clear();
    if (!store.StartUp(platform)) {
        std::fprintf(stderr, "bench_barchart: %s\n", store.StartupError().c_str());
        return 2;
    }

    Selection selection;
    std::vector<ListItem> regions, periods;
    for (int r = 1; r <= Regions; ++r)
        regions.push_back({MakeRegionKey(10000, r), names[size_t(r - 1)]});
    for (int y : years) periods.push_back({y, std::to_string(y)});
    selection.Confirm(10000, {{1010, "Gross domestic product per person"}}, regions, periods);
    const charts::ChartResources resources(store.Charset());
    charts::CBarChart chart({store, resources, selection, nullptr});
    test::RecordingHost host;
    test::OpenView(chart, host);

    const draw::Size size{1600, 1200};
    const auto paint = [&chart](draw::DeviceContext& dc, draw::Size s) {
        chart.Paint(dc, {0, 0, s.cx, s.cy});
    };
    size_t emfBytes = 0;
    const double imageMs = bench::MedianMs(Runs, [&] { draw::RenderImage(size, paint); });
    const double emfMs = bench::MedianMs(
        Runs, [&] { emfBytes = chart.MakeMetafile(draw::QtTextMeasurer::Screen(), false).size(); });
    std::printf("bar chart %d periods x %d regions (%zu bars, %d bands)\n", Periods, Regions,
                chart.Layout().indicators[0].bars.size(), chart.Layout().bands);
    std::printf("image 1600x1200: median %.2f ms per render (%d runs)\n", imageMs, Runs);
    std::printf("EMF 800x600:     median %.2f ms per render (%d runs), %zu bytes\n", emfMs, Runs,
                emfBytes);
    return 0;
}
