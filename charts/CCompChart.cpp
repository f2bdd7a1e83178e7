#include "charts/CCompChart.h"

#include "charts/ViewRegistry.h"
#include "draw/NullContext.h"

#include <cstdio>

namespace zor::charts {

using draw::DeviceContext;

std::string CodedName(int code, const std::string& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4.4d ", code);
    return buf + name;
}

const std::vector<MenuItem>& CCompChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuPopup("Options", {MenuCommand(CmdUseAverage)}),
                                               MenuCommand(CmdScale), MenuCommand(CmdPrint),
                                               MenuCommand(CmdSpecial), MenuCommand(CmdQuit)};
    return menu;
}

CCompChart::CCompChart(const ViewContext& context) : CYearLineChart(context, false) {}

void CCompChart::OnCreate() {
    AddRegionChoice(table_.Regions(), RegionIndex(), 2);
}

void CCompChart::OnRegionChanged(int) {
    PageChanged();
}

Legend CCompChart::LayoutPageLegend() const {
    std::vector<LegendEntry> entries;
    const auto& indicators = table_.Indicators();
    for (size_t i = 0; i < indicators.size(); ++i)
        entries.push_back(
            {static_cast<int>(i), CodedName(indicators[i].code, Decode(indicators[i].name))});
    return LayoutLegend(LegendKey::LineMarker, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
}

std::string CCompChart::TitleText() const {
    const auto r = static_cast<size_t>(RegionIndex());
    return r < table_.RowLabels().size() ? Decode(table_.RowLabels()[r]) : std::string();
}

void CCompChart::DrawPageTitle(DeviceContext& dc) const {
    dc.SetFont(titleFont_);
    dc.SetTextAlign(draw::ta::Left | draw::ta::Bottom);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.Text(axes_.Left(), axes_.Top() + 100, TitleText());
}

int CCompChart::TitleTop(const DeviceContext& dc) const {
    return axes_.Top() + 100 + draw::MeasureText(dc, titleFont_, TitleText()).cy;
}

} // namespace zor::charts
