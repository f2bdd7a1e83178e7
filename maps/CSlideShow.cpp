#include "maps/CSlideShow.h"

#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"

#include <cstdlib>

namespace zor::maps {

const std::vector<charts::MenuItem>& CSlideShow::FrameMenu() {
    static const std::vector<charts::MenuItem> menu = {charts::MenuCommand(CmdQuit)};
    return menu;
}

int CSlideShow::FrameCount() const {
    return SlideFrameCount(static_cast<int>(Table().Periods().size()), SlideFramesBetween());
}

std::unique_ptr<draw::Raster> CSlideShow::RenderFrame(int index, draw::Size size) {
    const int count = FrameCount();
    if (index < 0 || index >= count) return nullptr;
    return RenderMapFrame(size, SlideFrame(count, index), draw::White);
}

bool CSlideShow::WriteData(JsonWriter& j) {
    const int count = FrameCount();
    j.BeginObject();
    j.Key("frameCount").Int(count);
    j.Key("frames").BeginArray();
    for (int b = 0; b < count; ++b) {
        const MapFrame frame = SlideFrame(count, b);
        const auto& periods = Table().Periods();
        j.BeginObject();
        j.Key("index").Int(b);
        j.Key("periodLabel")
            .String(static_cast<size_t>(frame.period) < periods.size()
                        ? Decode(periods[static_cast<size_t>(frame.period)].name)
                        : std::string());
        j.Key("values").BeginArray();
        for (float v : frame.values) IsMissing(v) ? j.Null() : j.Float(v);
        j.EndArray();
        j.Key("classes").BeginArray();
        for (int c : ClassesOf(frame.values)) j.Int(c);
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

std::string CSlideShow::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name != "--between") return CMapView::ApplyRenderOption(name, value);
    char* end = nullptr;
    const long f = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || end != value.c_str() + value.size() || f < 0 || f > MaxFramesBetween)
        return "--between must be 0 to 5, not " + value;
    SetSlideFramesBetween(static_cast<int>(f));
    return {};
}

} // namespace zor::maps
