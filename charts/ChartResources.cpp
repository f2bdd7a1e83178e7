#include "charts/ChartResources.h"

namespace zor::charts {

draw::Font ChartFont(int height, int weight, int escapement, int charset) {
    draw::Font f;
    f.face = "Arial";
    f.height = height;
    f.weight = weight;
    f.escapement = escapement;
    f.charset = charset;
    f.quality = 2;
    f.pitchAndFamily = 18;
    return f;
}

ChartResources::ChartResources(int charset)
    : GridPen(draw::GridPen()), AxisFont(ChartFont(150, 100, 0, charset)),
      AxisTitleFont(ChartFont(150, 100, 2700, charset)) {
    for (int i = 0; i < ChartColorCount; ++i) {
        ChartPalette[size_t(i)] = draw::ChartPalette[size_t(i)];
        ChartBrushes[size_t(i)] = draw::ChartBrush(i);
        ChartWidePens[size_t(i)] = draw::ChartWidePen(i);
        ChartThinPens[size_t(i)] = draw::ChartThinPen(i);
    }
}

} // namespace zor::charts
