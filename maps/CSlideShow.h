// The slide show of a map as zorexport renders it: the map view's frames with a number of
// interpolated frames between periods, as JSON (each frame's period label, values and classes by
// row) or as one picture per frame.
#pragma once

#include "maps/CMapView.h"

#include <memory>
#include <string>
#include <vector>

namespace zor::maps {

class CSlideShow : public CMapView {
public:
    explicit CSlideShow(const charts::ViewContext& context) : CMapView(context) {}

    // The slide window's own menu (resource 25022: "Quit").
    static const std::vector<charts::MenuItem>& FrameMenu();

    int FrameCount() const override;
    // Frame `index` as the slide window shows it, on white.
    std::unique_ptr<draw::Raster> RenderFrame(int index, draw::Size size) override;
    bool WriteData(JsonWriter& json) override;
    // --between F (0 to 5 frames between periods) besides the map's options.
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
};

} // namespace zor::maps
