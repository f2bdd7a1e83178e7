#include "grids/CTables.h"

#include "charts/DialogRules.h"
#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "grids/HtmlText.h"

#include <cstdio>

namespace zor::grids {

using charts::MenuCommand;
using charts::MenuItem;

namespace {

constexpr int FirstColumnWidth = 100; // region tables' column 0 before fitting
constexpr int PeriodColumnWidth = 70; // period tables' column 0 before fitting

const ListItem* At(const std::vector<ListItem>& list, int index) {
    return index >= 0 && static_cast<size_t>(index) < list.size()
               ? &list[static_cast<size_t>(index)]
               : nullptr;
}

std::string NameAt(const std::vector<ListItem>& list, int index) {
    const ListItem* item = At(list, index);
    return item ? item->name : std::string();
}

} // namespace

// --- CTableView --------------------------------------------------------------------------------

CTableView::CTableView(const ViewContext& context, std::vector<ListItem> periods, int rowMode,
                       int windowTitle, TableShape shape)
    : CGridView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), std::move(periods), rowMode, false),
      decimal_(context.store.DecimalSymbol()), windowTitle_(windowTitle), shape_(shape) {
    loadResult_ = table_.Load(context.progress);
}

void CTableView::OnInitialUpdate() {
    CGridView::OnInitialUpdate();
    Fill();
}

std::string CTableView::Bytes(int id, std::string_view fallback) const {
    return store_.LoadTextOr(id, fallback);
}

std::string CTableView::ValueText(float v) {
    return FormatValue(v); // ". . ." for a missing value
}

void CTableView::DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell,
                              const GridColumn& column, const std::string& text, int row, int col,
                              float scale, bool printing) const {
    if (Highlighted(row)) draw::FillRect(dc, cell, draw::Brush::Solid(HighlightColor));
    CGridView::DrawCellText(dc, cell, column, text, row, col, scale, printing);
}

TableData CTableView::Snapshot() const {
    TableData t;
    t.shape = shape_;
    t.windowTitle = Bytes(windowTitle_, "");
    t.title = Title();
    t.codePage = WindowsCodePage(store_.Charset());
    t.decimal = decimal_;
    const auto& columns = Columns();
    if (!columns.empty()) t.firstHeader = columns[0].header;
    for (size_t c = 1; c < columns.size(); ++c) t.headers.emplace_back(columns[c].header);
    t.rows.resize(static_cast<size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r) {
        TableData::Row& row = t.rows[static_cast<size_t>(r)];
        row.first = Cell(r, 0);
        for (size_t c = 1; c < columns.size(); ++c)
            row.values.push_back(Cell(r, static_cast<int>(c)));
    }
    return t;
}

std::optional<std::string> CTableView::ExportText(charts::TextExport kind) {
    const TableData t = Snapshot();
    switch (kind) {
    case charts::TextExport::Html:
        return ExportTableHtml(t);
    case charts::TextExport::Text:
        return ExportTableText(t);
    case charts::TextExport::ClipboardHtml:
        break;
    }
    return ClipboardHtmlFormat(Shown(TableCopyFragment(t)));
}

void CTableView::Copy() {
    if (!Host()) return;
    const TableData t = Snapshot();
    Host()->PutHtmlOnClipboard(Shown(TableCopyFragment(t)), Shown(TableTextLines(t)));
}

bool CTableView::OnCommand(int id) {
    if (id == CmdCopy) {
        Copy();
        return true;
    }
    return CGridView::OnCommand(id);
}

// --- Region tables -----------------------------------------------------------------------------

CRegionTable::CRegionTable(const ViewContext& context, std::vector<ListItem> periods,
                           int windowTitle)
    : CTableView(context, std::move(periods), RowsAll, windowTitle, TableShape::Regions) {
    visible_.assign(static_cast<size_t>(table_.RowCount()), 1);
    for (const ListItem& r : table_.Regions()) selectedKeys_.insert(r.code);
}

void CRegionTable::OnCreate() {
    CTableView::OnCreate();
    AddColumn(Bytes(TextRegionsPopup, "Regions"), FirstColumnWidth, CellAlign::Left, FitToContent);
    const int width = ValueColumnWidth();
    for (std::string& header : ValueHeaders())
        AddColumn(std::move(header), width, CellAlign::Right, width);
}

void CRegionTable::Fill() {
    ClearRows();
    shown_.clear();
    const int columns = static_cast<int>(Columns().size()) - 1;
    for (int r = 0; r < table_.RowCount(); ++r) {
        if (!visible_[static_cast<size_t>(r)]) continue;
        shown_.push_back(r);
        char number[16];
        std::snprintf(number, sizeof number, "%3d ", static_cast<int>(shown_.size()));
        AddRow(number + table_.RowLabels()[static_cast<size_t>(r)]);
        const int row = RowCount() - 1;
        for (int c = 0; c < columns; ++c) SetCell(c + 1, row, Value(c, r));
    }
    FitColumn(0);
    SetTitle(TitleText());
    Changed();
}

bool CRegionTable::Highlighted(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= shown_.size()) return false;
    const int data = shown_[static_cast<size_t>(row)];
    return selectedKeys_.contains(table_.RowKeys()[static_cast<size_t>(data)]);
}

void CRegionTable::OnIndicatorChanged(int) {
    Fill();
}
void CRegionTable::OnPeriodChanged(int) {
    Fill();
}

bool CRegionTable::OnCommand(int id) {
    if (id != CmdRegions) return CTableView::OnCommand(id);
    if (!Host()) return true;
    charts::RegionListModel model;
    model.flags = visible_;
    for (const std::string& label : table_.RowLabels()) model.names.push_back(Shown(label));
    if (Host()->RunDialog(model) && model.flags.size() == visible_.size()) {
        visible_ = model.flags;
        Fill();
        Host()->Invalidate(true);
    }
    return true;
}

// --- Table A -----------------------------------------------------------------------------------

CTableA::CTableA(const ViewContext& context)
    : CRegionTable(context, context.selection.Periods(), MenuTableA) {}

const std::vector<MenuItem>& CTableA::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdRegions), MenuCommand(CmdCopy),
                                               MenuCommand(CmdExport), MenuCommand(CmdPrint),
                                               MenuCommand(CmdQuit)};
    return menu;
}

void CTableA::OnCreate() {
    CRegionTable::OnCreate();
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 1);
}

std::vector<std::string> CTableA::ValueHeaders() const {
    std::vector<std::string> out;
    for (const ListItem& p : table_.Periods()) out.push_back(p.name);
    return out;
}

std::string CTableA::Value(int column, int dataRow) const {
    return ValueText(table_.Value(column, IndicatorIndex(), dataRow));
}

std::string CTableA::TitleText() const {
    return NameAt(table_.Indicators(), IndicatorIndex());
}

std::optional<TableData> CTableA::AllPeriods() const {
    const ListItem* indicator = At(table_.Indicators(), IndicatorIndex());
    if (!indicator) return std::nullopt;
    DataTable all(store_, table_.SetCode(), {*indicator}, table_.Regions(), store_.PeriodList(),
                  RowsAll, false);
    if (all.Load() != 0) return std::nullopt;
    TableData t = Snapshot();
    t.headers.clear();
    for (const ListItem& p : all.Periods()) t.headers.push_back(t.Own(p.name));
    for (size_t r = 0; r < t.rows.size() && r < shown_.size(); ++r) {
        const int32_t key = table_.RowKeys()[static_cast<size_t>(shown_[r])];
        const int row = all.RowIndexByKey(key);
        t.rows[r].values.clear();
        for (int p = 0; p < static_cast<int>(all.Periods().size()); ++p)
            t.rows[r].values.push_back(t.Own(ValueText(all.Value(p, 0, row))));
    }
    return std::optional<TableData>(std::move(t));
}

std::optional<std::string> CTableA::ExportText(charts::TextExport kind) {
    if (!allPeriods_ || kind == charts::TextExport::ClipboardHtml)
        return CRegionTable::ExportText(kind);
    const auto t = AllPeriods();
    if (!t) return std::nullopt;
    return kind == charts::TextExport::Html ? ExportTableHtml(*t) : ExportTableText(*t);
}

std::string CTableA::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name != "--all-periods") return CRegionTable::ApplyRenderOption(name, value);
    allPeriods_ = true;
    return {};
}

void CTableA::ExportAllPeriods() {
    const auto file = AskExportFile();
    if (!file) return;
    const auto t = AllPeriods();
    if (!t) {
        Host()->ShowMessage(Text(TextNoData), charts::MessageIcon::Stop);
        return;
    }
    const std::string bytes =
        file->kind == ExportKind::Html ? ExportTableHtml(*t) : ExportTableText(*t);
    if (!WriteFileAtomic(file->path, bytes)) ReportNotWritten(file->path);
}

bool CTableA::OnCommand(int id) {
    if (id != CmdExport) return CRegionTable::OnCommand(id);
    ExportAllPeriods();
    return true;
}

// --- Table D -----------------------------------------------------------------------------------

namespace {

std::vector<ListItem> PseudoPeriods(const DataStore& store) {
    return {{FirstAvailable, store.LoadTextOr(TextFirstAvailable, "First Available")},
            {LastAvailable, store.LoadTextOr(TextLastAvailable, "Last Available")}};
}

} // namespace

CTableD::CTableD(const ViewContext& context)
    : CRegionTable(context, PseudoPeriods(context.store), MenuTableD) {}

const std::vector<MenuItem>& CTableD::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdRegions), MenuCommand(CmdCopy),
                                               MenuCommand(CmdPrint), MenuCommand(CmdQuit)};
    return menu;
}

void CTableD::OnCreate() {
    CRegionTable::OnCreate();
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 1);
}

std::vector<std::string> CTableD::ValueHeaders() const {
    std::vector<std::string> out;
    for (const ListItem& p : table_.Periods()) out.push_back(p.name);
    return out;
}

std::string CTableD::Value(int column, int dataRow) const {
    const float v = table_.Value(column, IndicatorIndex(), dataRow);
    if (IsMissing(v)) return ValueText(v);
    const int period = column == 0 ? table_.FirstAvailablePeriod(IndicatorIndex(), dataRow)
                                   : table_.LastAvailablePeriod(IndicatorIndex(), dataRow);
    return FormatValue(v) + " - " + std::to_string(period);
}

std::string CTableD::TitleText() const {
    return NameAt(table_.Indicators(), IndicatorIndex());
}

TableData CTableD::Snapshot() const {
    TableData t = CRegionTable::Snapshot();
    t.valueWidth = 20;
    t.splitPeriodCodes = true;
    return t;
}

// --- Table E -----------------------------------------------------------------------------------

CTableE::CTableE(const ViewContext& context)
    : CRegionTable(context, context.selection.Periods(), MenuTableE) {}

const std::vector<MenuItem>& CTableE::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdRegions), MenuCommand(CmdCopy),
                                               MenuCommand(CmdPrint), MenuCommand(CmdQuit)};
    return menu;
}

void CTableE::OnCreate() {
    CRegionTable::OnCreate();
    AddTimePeriodChoice(table_.Periods(), PeriodIndex(), 1);
}

std::vector<std::string> CTableE::ValueHeaders() const {
    std::vector<std::string> out;
    for (const ListItem& i : table_.Indicators()) out.push_back(i.name);
    return out;
}

std::string CTableE::Value(int column, int dataRow) const {
    return ValueText(table_.Value(PeriodIndex(), column, dataRow));
}

std::string CTableE::TitleText() const {
    return NameAt(table_.Periods(), PeriodIndex());
}

// --- Period tables -----------------------------------------------------------------------------

CPeriodTable::CPeriodTable(const ViewContext& context, int windowTitle)
    : CTableView(context, context.store.PeriodList(), RowsSelected, windowTitle,
                 TableShape::Periods) {
    for (const ListItem& p : context.selection.Periods()) selectedPeriods_.insert(p.code);
}

bool CPeriodTable::Highlighted(int row) const {
    const ListItem* period = At(table_.Periods(), row);
    return period && selectedPeriods_.contains(period->code);
}

// --- Table B -----------------------------------------------------------------------------------

CTableB::CTableB(const ViewContext& context) : CPeriodTable(context, MenuTableB) {}

const std::vector<MenuItem>& CTableB::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdCopy), MenuCommand(CmdPrint),
                                               MenuCommand(CmdQuit)};
    return menu;
}

void CTableB::OnCreate() {
    CPeriodTable::OnCreate();
    AddColumn(Bytes(TextPeriodsPopup, "Time periods"), PeriodColumnWidth, CellAlign::Left,
              FitToContent);
    for (const std::string& region : table_.RowLabels())
        AddColumn(region, 100, CellAlign::Right, FitToContent);
    for (const ListItem& p : table_.Periods()) AddRow(p.name);
    FitColumn(0);
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 0);
}

void CTableB::Fill() {
    const int regions = table_.RowCount();
    for (int p = 0; p < RowCount(); ++p)
        for (int r = 0; r < regions; ++r)
            SetCell(r + 1, p, ValueText(table_.Value(p, IndicatorIndex(), r)));
    for (int r = 0; r < regions; ++r) FitColumn(r + 1, 70);
    SetTitle(NameAt(table_.Indicators(), IndicatorIndex()));
    Changed();
}

void CTableB::OnIndicatorChanged(int) {
    Fill();
}

// --- Table C -----------------------------------------------------------------------------------

CTableC::CTableC(const ViewContext& context) : CPeriodTable(context, MenuTableC) {}

const std::vector<MenuItem>& CTableC::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdCopy), MenuCommand(CmdPrint),
                                               MenuCommand(CmdQuit)};
    return menu;
}

void CTableC::OnCreate() {
    CPeriodTable::OnCreate();
    AddColumn(Bytes(TextPeriodsPopup, "Time periods"), PeriodColumnWidth, CellAlign::Left,
              FitToContent);
    for (const ListItem& i : table_.Indicators())
        AddColumn(i.name, 150, CellAlign::Right, FitToContent);
    for (const ListItem& p : table_.Periods()) AddRow(p.name);
    // Column 0 is fitted once and then keeps its width in print.
    FitColumn(0, 75);
    SetNominalWidth(0, Columns()[0].width);
    AddRegionChoice(table_.Regions(), RegionIndex(), 0);
}

void CTableC::Fill() {
    const int indicators = static_cast<int>(table_.Indicators().size());
    for (int p = 0; p < RowCount(); ++p)
        for (int i = 0; i < indicators; ++i)
            SetCell(i + 1, p, ValueText(table_.Value(p, i, RegionIndex())));
    for (int i = 0; i < indicators; ++i) FitColumn(i + 1, 60);
    SetTitle(NameAt(table_.Regions(), RegionIndex()));
    Changed();
}

void CTableC::OnRegionChanged(int) {
    Fill();
}

} // namespace zor::grids
