#include "charts/CGraphView.h"

#include "core/Charset.h"
#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "draw/EmfWriter.h"

#include <cstdlib>

namespace zor::charts {

using draw::DeviceContext;
using draw::Rect;

namespace {

constexpr int NoDataText = 1076;
constexpr int SourceText = 7000;

// A device context that only holds a mapping: turns device points into logical ones with the
// view's own mapping steps.
class MappingContext final : public DeviceContext {
public:
    explicit MappingContext(const Rect& client)
        : DeviceContext(draw::DeviceInfo{draw::Technology::Display, client.Width(), client.Height(),
                                         3780, 3780, 24},
                        Measurer()) {}

protected:
    void DoPolyline(std::span<const draw::Point>) override {}
    void DoPolygon(std::span<const draw::Point>) override {}
    void DoText(draw::Point, std::string_view) override {}

private:
    static const draw::TextMeasurer& Measurer() {
        static const draw::FixedTextMeasurer measurer;
        return measurer;
    }
};

} // namespace

CGraphView::CGraphView(DataStore& store, const ChartResources& resources)
    : store_(store), res_(resources) {}

void CGraphView::GetOrigin(int& x, int& y) const {
    x = 750, y = 400;
}
void CGraphView::GetExtent(int& cx, int& cy) const {
    cx = 8000, cy = 6000;
}
void CGraphView::DrawChart(DeviceContext&, bool) {}

void CGraphView::PrepareScreenMapping(DeviceContext& dc, const Rect& client) {
    int cx = 0, cy = 0, x = 0, y = 0;
    dc.SetMapMode(draw::MapMode::Anisotropic);
    GetExtent(cx, cy);
    dc.SetWindowExt(cx, -cy);
    dc.SetViewportExt(client.Width(), client.Height());
    GetOrigin(x, y);
    dc.SetWindowOrg(-x, -y);
    dc.SetViewportOrg(0, client.bottom);
}

void CGraphView::PreparePrintMapping(DeviceContext& dc, const Rect& page) {
    int cx = 0, cy = 0, x = 0, y = 0;
    dc.SetMapMode(draw::MapMode::Isotropic);
    GetExtent(cx, cy);
    dc.SetWindowExt(cx, -cy);
    // The picture keeps a 4:3 shape at the top left of the page.
    int w = page.Width(), h = page.Height();
    if (w * 3 < h * 4)
        h = w * 3 / 4;
    else if (h * 4 < w * 3)
        w = h * 4 / 3;
    dc.SetViewportExt(w, h);
    GetOrigin(x, y);
    dc.SetWindowOrg(-x, -y);
    dc.SetViewportOrg(0, h);
}

void CGraphView::GetTipText(std::string&) {}
int CGraphView::HitTest(draw::Point) {
    return -1;
}

void CGraphView::GetMetafileInfo(Rect& bounds, std::string& description) {
    bounds = {0, 0, 800, 600};
    description = "Graph";
}

void CGraphView::OnPeriodChanged(int) {}
void CGraphView::OnIndicatorChanged(int) {}
void CGraphView::OnRegionChanged(int) {}
bool CGraphView::CanReportNoData() const {
    return true;
}
bool CGraphView::IsDataMissing() const {
    return false;
}

void CGraphView::ExportPicture() {
    if (!host_) return;
    const auto choice = host_->RunExportDialog(pictureChoice_);
    if (!choice) return;
    std::string path;
    if (!choice->toClipboard) {
        const auto name = host_->AskMetafileName();
        if (!name) return;
        path = *name;
    }
    const bool bw = choice->blackAndWhite;
    const std::string emf = MakeMetafile(host_->Measurer(), bw);
    if (choice->toClipboard) {
        Rect bounds;
        std::string description;
        GetMetafileInfo(bounds, description);
        host_->PutPictureOnClipboard(emf,
                                     [this, bw](DeviceContext& dc, draw::Size size) {
                                         DrawPicture(dc, {0, 0, size.cx, size.cy}, bw);
                                     },
                                     {bounds.Width(), bounds.Height()});
    } else {
        // A picture that did not reach its file must not pass for exported: say so.
        if (!WriteFileAtomic(path, emf))
            host_->ShowMessage("The picture could not be written to " + path + ".",
                               MessageIcon::Stop);
    }
}

void CGraphView::OnInitialUpdate() {
    if (host_) host_->Invalidate(false);
    if (CanReportNoData() && IsDataMissing() && host_)
        host_->ShowMessage(Text(NoDataText, "Sorry, no data!"), MessageIcon::Stop);
}

void CGraphView::Paint(DeviceContext& dc, const Rect& client) {
    PrepareScreenMapping(dc, client);
    DrawChart(dc, false);
}

void CGraphView::PrintPage(DeviceContext& dc, const Rect& page, bool colorPrinter) {
    PreparePrintMapping(dc, page);
    DrawChart(dc, !colorPrinter);
    DrawSourceLine(dc);
}

void CGraphView::DrawPicture(DeviceContext& dc, const Rect& bounds, bool blackAndWhite) {
    PrepareScreenMapping(dc, bounds);
    int cx = 0, cy = 0, x = 0, y = 0;
    GetExtent(cx, cy);
    GetOrigin(x, y);
    {
        draw::StateSaver saver(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::White));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle({-x, -y, cx - x, cy - y});
    }
    DrawChart(dc, blackAndWhite);
}

std::string CGraphView::MakeMetafile(const draw::TextMeasurer& measurer, bool blackAndWhite) {
    Rect bounds;
    std::string description;
    GetMetafileInfo(bounds, description);
    draw::EmfContext dc(measurer, {{bounds.Width(), bounds.Height()}, description});
    DrawPicture(dc, {0, 0, bounds.Width(), bounds.Height()}, blackAndWhite);
    return dc.Finish();
}

void CGraphView::DrawSourceLine(DeviceContext& dc) {
    const std::string text = Text(SourceText, "Source: KVZ Database");
    if (text.empty()) return;
    const draw::Size ext = dc.WindowExt();
    const draw::Point org = dc.WindowOrg();
    draw::StateSaver saver(dc);
    dc.SetFont(ChartFont(std::abs(ext.cy) / 50, 700, 0, store_.Charset()));
    dc.SetTextAlign(draw::ta::Left | draw::ta::Bottom);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.Text(ext.cx / 50 + org.x, ext.cy >= 0 ? ext.cy : org.y, text);
}

bool CGraphView::OnCommand(int id) {
    if (id == CmdSpecial) {
        ExportPicture();
        return true;
    }
    const struct {
        int first;
        PopupKind kind;
    } ranges[] = {{FirstPeriodCommand, PopupKind::Periods},
                  {FirstIndicatorCommand, PopupKind::Indicators},
                  {FirstRegionCommand, PopupKind::Regions}};
    for (const auto& r : ranges)
        if (id >= r.first && id < r.first + MaxPopupChoices) {
            // Only items of a popup the view has put up are routed.
            for (const PopupMenu& menu : popups_)
                if (menu.kind == r.kind && id - r.first < int(menu.items.size())) {
                    Select(r.kind, id - r.first);
                    return true;
                }
            return false;
        }
    return false;
}

int& CGraphView::IndexOf(PopupKind kind) {
    switch (kind) {
    case PopupKind::Periods:
        return period_;
    case PopupKind::Indicators:
        return indicator_;
    default:
        return region_;
    }
}

bool CGraphView::Select(PopupKind kind, int index) {
    int& current = IndexOf(kind);
    if (index == current) return false;
    const int old = current;
    current = index;
    for (size_t i = 0; i < popups_.size(); ++i)
        if (popups_[i].kind == kind) {
            popups_[i].checked = index;
            if (host_) host_->PopupChanged(int(i));
        }
    if (CanReportNoData() && IsDataMissing() && host_)
        host_->ShowMessage(Text(NoDataText, "Sorry, no data!"), MessageIcon::None);
    switch (kind) {
    case PopupKind::Periods:
        OnPeriodChanged(old);
        break;
    case PopupKind::Indicators:
        OnIndicatorChanged(old);
        break;
    case PopupKind::Regions:
        OnRegionChanged(old);
        break;
    }
    if (host_) host_->Invalidate(true);
    return true;
}

draw::Point CGraphView::ToLogical(draw::Point device, const Rect& client) {
    MappingContext dc(client);
    PrepareScreenMapping(dc, client);
    return dc.DPtoLP(device);
}

TipAction CGraphView::MouseMove(draw::Point device, const Rect& client) {
    if (client.Width() <= 0 || client.Height() <= 0) return TipAction::None;
    const int item = HitTest(ToLogical(device, client));
    if (item == -1) {
        const bool was = hovered_ != -1;
        hovered_ = -1;
        return was ? TipAction::Hide : TipAction::None;
    }
    const bool was = hovered_ != -1;
    hovered_ = item;
    return was ? TipAction::Refresh : TipAction::Show;
}

std::string CGraphView::TipText() {
    std::string text;
    GetTipText(text);
    return text;
}

void CGraphView::AddMenu(PopupKind kind, int titleId, std::string_view title, int firstId,
                         const std::vector<ListItem>& list, int current, int position) {
    PopupMenu menu;
    menu.kind = kind;
    menu.title = Text(titleId, title);
    for (const ListItem& item : list) menu.items.push_back(Decode(item.name));
    menu.firstId = firstId;
    menu.checked = current;
    menu.position = position;
    popups_.push_back(std::move(menu));
}

void CGraphView::AddTimePeriodMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Periods, 1100, "Time periods", FirstPeriodCommand, list, current, position);
}

void CGraphView::AddIndicatorMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Indicators, 1200, "Indicators", FirstIndicatorCommand, list, current,
            position);
}

void CGraphView::AddRegionMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Regions, 1300, "Regions", FirstRegionCommand, list, current, position);
}

std::string CGraphView::Text(int id, std::string_view fallback) const {
    return DecodeToUtf8(store_.LoadTextOr(id, fallback), store_.Charset());
}

std::string CGraphView::Decode(std::string_view bytes) const {
    return DecodeToUtf8(bytes, store_.Charset());
}

} // namespace zor::charts
