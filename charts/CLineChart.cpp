#include "charts/CLineChart.h"

#include "charts/RegionsHighlight.h"
#include "charts/ViewRegistry.h"

#include <algorithm>

namespace zor::charts {

using draw::DeviceContext;

const std::vector<MenuItem>& CLineChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuPopup("Options", {MenuCommand(CmdUseAverage)}),
                                               MenuCommand(CmdLineRegions),
                                               MenuCommand(CmdScale),
                                               MenuCommand(CmdPrint),
                                               MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

CLineChart::CLineChart(const ViewContext& context) : CYearLineChart(context, true) {}

void CLineChart::OnCreate() {
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 3);
}

void CLineChart::OnIndicatorChanged(int) {
    PageChanged();
}

bool CLineChart::OnCommand(int id) {
    if (id != CmdLineRegions) return CYearLineChart::OnCommand(id);
    if (!Host()) return true;
    RegionsHighlightModel m;
    for (const std::string& label : table_.RowLabels()) m.names.push_back(Decode(label));
    m.checked.assign(m.names.size(), false);
    for (int p : highlighted_)
        if (p >= 0 && static_cast<size_t>(p) < m.checked.size())
            m.checked[static_cast<size_t>(p)] = true;
    m.use = highlighting_;
    if (Host()->RunDialog(m)) SetHighlighting(m.use, HighlightedPositions(m.checked));
    return true;
}

void CLineChart::SetHighlighting(bool on, std::vector<int> positions) {
    highlighting_ = on;
    highlighted_ = std::move(positions);
    if (Host()) Host()->Invalidate(true);
}

int CLineChart::HighlightPosition(int s) const {
    const auto it = std::find(highlighted_.begin(), highlighted_.end(), s);
    return it == highlighted_.end() ? -1 : static_cast<int>(it - highlighted_.begin());
}

bool CLineChart::SeriesHighlighted(int s) const {
    return highlighting_ && HighlightPosition(s) >= 0;
}

std::vector<CYearLineChart::SeriesPaint> CLineChart::PaintOrder() const {
    if (!highlighting_) return CYearLineChart::PaintOrder();
    // The grey lines first, under the highlighted ones in the colours of their positions.
    std::vector<SeriesPaint> order;
    const int n = static_cast<int>(Series().size());
    for (int s = n - 1; s >= 0; --s)
        if (HighlightPosition(s) < 0) order.push_back({s, greyWide_, greyThin_, -1, -1});
    for (int h = static_cast<int>(highlighted_.size()) - 1; h >= 0; --h) {
        const int s = highlighted_[static_cast<size_t>(h)];
        if (s >= 0 && s < n) order.push_back({s, res_.WidePen(h), res_.ThinPen(h), h, h});
    }
    return order;
}

Legend CLineChart::LayoutPageLegend() const {
    std::vector<LegendEntry> entries;
    if (!highlighting_) {
        for (int s = 0; s < table_.RowCount(); ++s) entries.push_back({s, SeriesName(s)});
    } else {
        for (size_t h = 0; h < highlighted_.size(); ++h)
            entries.push_back({static_cast<int>(h), SeriesName(highlighted_[h])});
    }
    // Highlighted names start where the list of every region would.
    return LayoutLegend(LegendKey::LineMarker, entries, axes_.Right(), axes_.Bottom(), axes_.Top(),
                        table_.RowCount());
}

std::string CLineChart::TitleText() const {
    const auto i = static_cast<size_t>(IndicatorIndex());
    return i < table_.Indicators().size() ? Decode(table_.Indicators()[i].name) : std::string();
}

Title CLineChart::PageTitle(const DeviceContext& dc) const {
    return LayoutTitle(dc, titleFont_, TitleText(), axes_.Left(), axes_.Right(), axes_.Top() + 50);
}

void CLineChart::DrawPageTitle(DeviceContext& dc) const {
    const Title title = PageTitle(dc);
    dc.SetFont(titleFont_);
    DrawTitle(dc, title);
}

int CLineChart::TitleTop(const DeviceContext& dc) const {
    return PageTitle(dc).box.top;
}

} // namespace zor::charts
