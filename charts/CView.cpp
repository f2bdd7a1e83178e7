#include "charts/CView.h"

#include "core/Charset.h"
#include "core/DataStore.h"
#include "core/DataTable.h"
#include "core/FileUtil.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "draw/EmfWriter.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zor::charts {

void FloatOrNull(JsonWriter& json, float v) {
    if (IsMissing(v))
        json.Null();
    else
        json.Float(v);
}

void WriteRange(JsonWriter& json, const AxisRange& range) {
    json.Key("min");
    FloatOrNull(json, range.min);
    json.Key("max");
    FloatOrNull(json, range.max);
    json.Key("step").Float(range.step);
}

std::optional<int> WholeNumber(std::string_view text) {
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

CView::CView(const ViewContext& context) : store_(context.store), res_(context.resources) {}

void CView::Create(ViewHost* host) {
    host_ = host;
    OnCreate();
}

void CView::OnInitialUpdate() {
    if (host_) host_->Invalidate(false);
    if (CanReportNoData() && IsDataMissing()) ReportNoData(MessageIcon::Stop);
}

void CView::OnPeriodChanged(int) {}
void CView::OnIndicatorChanged(int) {}
void CView::OnRegionChanged(int) {}
bool CView::CanReportNoData() const {
    return true;
}
bool CView::IsDataMissing() const {
    return false;
}

void CView::ReportNoData(MessageIcon icon) {
    if (host_) host_->ShowMessage(Text(TextNoData), icon);
}

bool CView::OnCommand(int id) {
    if (id == CmdSpecial) {
        ExportPicture();
        return true;
    }
    const struct {
        int first;
        PopupKind kind;
    } ranges[] = {{CmdFirstPeriod, PopupKind::Periods},
                  {CmdFirstIndicator, PopupKind::Indicators},
                  {CmdFirstRegion, PopupKind::Regions}};
    for (const auto& r : ranges)
        if (id >= r.first && id < r.first + MaxPopupChoices) {
            // Only items of a popup the view has put up are routed.
            const bool listed = std::ranges::any_of(popups_, [&](const PopupMenu& menu) {
                return menu.kind == r.kind && id - r.first < static_cast<int>(menu.items.size());
            });
            if (listed) Select(r.kind, id - r.first);
            return listed;
        }
    return false;
}

CommandState CView::QueryCommand(int) const {
    return {};
}

int CView::CurrentIndexOf(PopupKind kind) const {
    return kind == PopupKind::Periods      ? period_
           : kind == PopupKind::Indicators ? indicator_
                                           : region_;
}

int& CView::IndexOf(PopupKind kind) {
    switch (kind) {
    case PopupKind::Periods:
        return period_;
    case PopupKind::Indicators:
        return indicator_;
    case PopupKind::Regions:
    case PopupKind::Commands:
        break;
    }
    return region_;
}

std::string CView::Subject() const {
    std::string subject;
    for (PopupKind kind : {PopupKind::Indicators, PopupKind::Regions, PopupKind::Periods})
        for (const auto& [listKind, names] : choices_) {
            const int current = CurrentIndexOf(kind);
            if (listKind != kind || current < 0 || static_cast<size_t>(current) >= names.size())
                continue;
            if (!subject.empty()) subject += ", ";
            subject += names[static_cast<size_t>(current)];
            break;
        }
    return subject;
}

bool CView::Select(PopupKind kind, int index) {
    if (kind == PopupKind::Commands) return false;
    int& current = IndexOf(kind);
    if (index == current) return false;
    const int old = current;
    current = index;
    for (size_t i = 0; i < popups_.size(); ++i)
        if (popups_[i].kind == kind) {
            popups_[i].checked = index;
            if (host_) host_->PopupChanged(static_cast<int>(i));
        }
    if (CanReportNoData() && IsDataMissing()) ReportNoData(MessageIcon::None);
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
    case PopupKind::Commands: // kept by the view (see above)
        break;
    }
    if (host_) host_->Invalidate(true);
    return true;
}

void CView::SetCurrent(PopupKind kind, int index) {
    if (kind == PopupKind::Commands) return;
    IndexOf(kind) = index;
    for (size_t i = 0; i < popups_.size(); ++i)
        if (popups_[i].kind == kind && popups_[i].checked != index) {
            popups_[i].checked = index;
            if (host_) host_->PopupChanged(static_cast<int>(i));
        }
}

std::unique_ptr<draw::Raster> CView::RenderFrame(int, draw::Size) {
    return nullptr;
}

int CView::CountPages(draw::DeviceContext&, const draw::Rect&) {
    return 1;
}

MetafileInfo CView::GetMetafileInfo() const {
    return {};
}

void CView::PaintWindow(draw::DeviceContext& dc, const draw::Rect& client) {
    DrawPicture(dc, client, false);
}

std::string CView::MakeMetafile(const draw::TextMeasurer& measurer, bool blackAndWhite) {
    const MetafileInfo info = GetMetafileInfo();
    const draw::Rect& b = info.bounds;
    draw::EmfContext dc(measurer, {{b.Width(), b.Height()}, info.description});
    DrawPicture(dc, {0, 0, b.Width(), b.Height()}, blackAndWhite);
    return dc.Finish();
}

SaveFileChoice ChooseFileType(const std::string& path, int chosenType,
                              const std::vector<FileType>& types) {
    if (types.empty()) return {path, 0};
    auto endsWith = [&path](const std::string& suffix) {
        const std::string dotted = "." + suffix;
        if (path.size() <= dotted.size()) return false;
        return std::equal(dotted.rbegin(), dotted.rend(), path.rbegin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (size_t i = 0; i < types.size(); ++i)
        if (endsWith(types[i].suffix)) return {path, static_cast<int>(i)};
    const size_t chosen = chosenType >= 0 && static_cast<size_t>(chosenType) < types.size()
                              ? static_cast<size_t>(chosenType)
                              : 0;
    return {path + "." + types[chosen].suffix, static_cast<int>(chosen)};
}

const std::vector<FileType>& CView::PictureFileTypes() {
    // In PictureFileType order.
    static const std::vector<FileType> types = {{"Enhanced metafile", "emf"},
                                                {"PNG image", "png"},
                                                {"SVG drawing", "svg"},
                                                {"PDF document", "pdf"}};
    return types;
}

draw::Size CView::PictureFileSize() const {
    if (host_)
        if (const auto window = host_->WindowSize(); window && window->cx > 0 && window->cy > 0)
            return *window;
    const draw::Rect b = GetMetafileInfo().bounds;
    return {b.Width(), b.Height()};
}

void CView::ExportPicture() {
    if (!host_) return;
    const auto choice = host_->RunExportDialog(pictureChoice_);
    if (!choice) return;
    const bool bw = choice->blackAndWhite;
    const PictureFunction draw = [this, bw](draw::DeviceContext& dc, draw::Size size) {
        DrawPicture(dc, {0, 0, size.cx, size.cy}, bw);
    };
    if (choice->toClipboard) {
        const draw::Rect bounds = GetMetafileInfo().bounds;
        host_->PutPictureOnClipboard(MakeMetafile(host_->Measurer(), bw), draw,
                                     {bounds.Width(), bounds.Height()});
        return;
    }
    const auto file = host_->AskSaveFileName(PictureFileTypes());
    if (!file) return;
    const std::string title = GetMetafileInfo().description;
    bool written = false;
    switch (file->type) {
    case FilePng:
        written =
            host_->SavePicture(file->path, PictureFormat::Png, draw, PictureFileSize(), title);
        break;
    case FileSvg:
        written =
            host_->SavePicture(file->path, PictureFormat::Svg, draw, PictureFileSize(), title);
        break;
    case FilePdf:
        written =
            host_->SavePicture(file->path, PictureFormat::Pdf, draw, PictureFileSize(), title);
        break;
    default: // FileEmf
        written = WriteFileAtomic(file->path, MakeMetafile(host_->Measurer(), bw));
        break;
    }
    // A picture that did not reach its file must not pass for exported: say so.
    if (!written)
        host_->ShowMessage("The picture could not be written to " + file->path + ".",
                           MessageIcon::Stop);
}

bool CView::WriteData(JsonWriter&) {
    return false;
}

std::optional<std::string> CView::ExportText(TextExport) {
    return std::nullopt;
}

std::string CView::ApplyRenderOption(const std::string& name, const std::string&) {
    return "the view has no option " + name;
}

void CView::AddMenu(PopupKind kind, int titleId, int firstId, const std::vector<ListItem>& list,
                    int current, int position) {
    PopupMenu menu;
    menu.kind = kind;
    menu.title = Text(titleId);
    for (const ListItem& item : list) menu.items.push_back(Decode(item.name));
    menu.firstId = firstId;
    menu.checked = current;
    menu.position = position;
    choices_.emplace_back(kind, menu.items);
    popups_.push_back(std::move(menu));
}

void CView::AddChoice(PopupKind kind, const std::vector<ListItem>& list, int current,
                      int position) {
    if (list.size() > 1) {
        switch (kind) {
        case PopupKind::Periods:
            AddTimePeriodMenu(list, current, position);
            return;
        case PopupKind::Indicators:
            AddIndicatorMenu(list, current, position);
            return;
        case PopupKind::Regions:
            AddRegionMenu(list, current, position);
            return;
        case PopupKind::Commands:
            return;
        }
    }
    std::vector<std::string> names;
    for (const ListItem& item : list) names.push_back(Decode(item.name));
    choices_.emplace_back(kind, std::move(names));
}

void CView::AddTimePeriodChoice(const std::vector<ListItem>& list, int current, int position) {
    AddChoice(PopupKind::Periods, list, current, position);
}

void CView::AddIndicatorChoice(const std::vector<ListItem>& list, int current, int position) {
    AddChoice(PopupKind::Indicators, list, current, position);
}

void CView::AddRegionChoice(const std::vector<ListItem>& list, int current, int position) {
    AddChoice(PopupKind::Regions, list, current, position);
}

int CView::AddCommandMenu(std::string title, const std::vector<std::pair<int, std::string>>& items,
                          int checked, int position) {
    PopupMenu menu;
    menu.kind = PopupKind::Commands;
    menu.title = std::move(title);
    for (const auto& [id, caption] : items) {
        menu.itemIds.push_back(id);
        menu.items.push_back(caption);
    }
    menu.firstId = items.empty() ? 0 : items.front().first;
    menu.checked = checked;
    menu.position = position;
    popups_.push_back(std::move(menu));
    return static_cast<int>(popups_.size()) - 1;
}

void CView::CheckPopupItem(int popup, int item) {
    if (popup < 0 || static_cast<size_t>(popup) >= popups_.size()) return;
    PopupMenu& menu = popups_[static_cast<size_t>(popup)];
    if (menu.checked == item) return;
    menu.checked = item;
    if (host_) host_->PopupChanged(popup);
}

void CView::AddTimePeriodMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Periods, TextPeriodsPopup, CmdFirstPeriod, list, current, position);
}

void CView::AddIndicatorMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Indicators, TextIndicatorsPopup, CmdFirstIndicator, list, current, position);
}

void CView::AddRegionMenu(const std::vector<ListItem>& list, int current, int position) {
    AddMenu(PopupKind::Regions, TextRegionsPopup, CmdFirstRegion, list, current, position);
}

std::string CView::Text(int id) const {
    return store_.UiText(id);
}

std::string CView::Decode(std::string_view bytes) const {
    return DecodeToUtf8(bytes, store_.Charset());
}

} // namespace zor::charts
