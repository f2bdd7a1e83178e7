// Tables A-E: indicator values of the selection as grids of text, each with two dimensions as
// rows and columns and the third held by a popup.
//
//   A: regions x selected periods, one indicator          (popup "Indicators")
//   B: every period x selected regions, one indicator     (popup "Indicators")
//   C: every period x selected indicators, one region     (popup "Regions")
//   D: regions x first / last available value, one indicator (popup "Indicators")
//   E: regions x selected indicators, one period          (popup "Time periods")
//
// Region tables (A, D, E) number their rows and hide regions through the "Regions" dialog;
// period tables (B, C) show every period of the catalogue. Selected regions (A, D, E) or
// periods (B, C) are highlighted. Every table copies itself to the clipboard as HTML and
// exports HTML and tab-separated text; table A also exports every period of its indicator.
#pragma once

#include "core/DataTable.h"
#include "grids/CGridView.h"
#include "grids/TableExport.h"

#include <set>
#include <string>
#include <vector>

namespace zor::charts {
struct MenuItem;
}

namespace zor::grids {

// Highlight of selected regions or periods (red 0xCA, green 0xCA, blue 0xAF).
inline constexpr draw::Color HighlightColor = 0xAFCACA;

// What every table shares: its value table, the highlight, "Copy" and the exports.
class CTableView : public CGridView {
public:
    bool OnCommand(int id) override;
    std::optional<std::string> ExportText(charts::TextExport kind) override;
    bool HasExports() const override { return true; }
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    // The table's texts as the exports read them.
    virtual TableData Snapshot() const;

    int FooterBandHeight() const override { return 0; }
    int HeaderFontWeight() const override { return 400; }
    void DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell, const GridColumn& column,
                      const std::string& text, int row, int col, float scale,
                      bool printing) const override;

protected:
    // The value table of the selection's set, indicators and regions with these periods and
    // row mode, loaded at once. `windowTitle` is the string (and menu) id of the frame's title.
    CTableView(const ViewContext& context, std::vector<ListItem> periods, int rowMode,
               int windowTitle, TableShape shape);

    void OnInitialUpdate() override;
    // Fills (or refills) the rows and the title.
    virtual void Fill() = 0;
    // Whether grid row `row` is one of the user's selected regions or periods.
    virtual bool Highlighted(int row) const = 0;
    // A single-byte user-interface text (column headers, titles of exports).
    std::string Bytes(int id, std::string_view fallback) const;
    // The text of a value: FormatValue, ". . ." when missing.
    static std::string ValueText(float v);
    // "Copy": the table as HTML (and tab text) on the clipboard.
    void Copy();

    DataTable table_;
    int loadResult_ = 0;
    char decimal_ = '.';
    int windowTitle_ = 0;
    TableShape shape_;
};

// Tables A, D and E: numbered region rows, which the "Regions" dialog hides and shows.
class CRegionTable : public CTableView {
public:
    bool OnCommand(int id) override;
    int TitleBandHeight() const override { return 50; }
    // Per value-table row: 1 shown, 0 hidden.
    const std::vector<int>& Visible() const { return visible_; }
    // The value-table row of each grid row.
    const std::vector<int>& ShownRows() const { return shown_; }

protected:
    CRegionTable(const ViewContext& context, std::vector<ListItem> periods, int windowTitle);
    void OnCreate() override;
    void Fill() override;
    bool Highlighted(int row) const override;
    void OnIndicatorChanged(int oldIndex) override;
    void OnPeriodChanged(int oldIndex) override;

    // The value columns: their headers, width (also nominal) and the cell of a value-table row.
    virtual std::vector<std::string> ValueHeaders() const = 0;
    virtual int ValueColumnWidth() const = 0;
    virtual std::string Value(int column, int dataRow) const = 0;
    virtual std::string TitleText() const = 0;

    std::vector<int> visible_;
    std::vector<int> shown_;
    std::set<int32_t> selectedKeys_;
};

class CTableA : public CRegionTable {
public:
    explicit CTableA(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();
    bool OnCommand(int id) override;
    std::optional<std::string> ExportText(charts::TextExport kind) override;
    // --all-periods: the html and txt formats write what "Export" writes.
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    // What "Export" writes: the shown rows with every period of the current indicator. None
    // when the value table of every period cannot be loaded.
    std::optional<TableData> AllPeriods() const;

protected:
    void OnCreate() override;
    std::vector<std::string> ValueHeaders() const override;
    int ValueColumnWidth() const override { return 100; }
    std::string Value(int column, int dataRow) const override;
    std::string TitleText() const override;

private:
    void ExportAllPeriods();
    bool allPeriods_ = false;
};

class CTableD : public CRegionTable {
public:
    explicit CTableD(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();
    TableData Snapshot() const override;

protected:
    void OnCreate() override;
    std::vector<std::string> ValueHeaders() const override;
    int ValueColumnWidth() const override { return 150; }
    std::string Value(int column, int dataRow) const override;
    std::string TitleText() const override;
};

class CTableE : public CRegionTable {
public:
    explicit CTableE(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();
    int HeaderBandHeight() const override { return 40; }

protected:
    void OnCreate() override;
    std::vector<std::string> ValueHeaders() const override;
    int ValueColumnWidth() const override { return 100; }
    std::string Value(int column, int dataRow) const override;
    std::string TitleText() const override;
};

// Tables B and C: one row per period of the catalogue, the selected periods highlighted.
class CPeriodTable : public CTableView {
protected:
    CPeriodTable(const ViewContext& context, int windowTitle);
    bool Highlighted(int row) const override;
    std::set<int> selectedPeriods_;
};

class CTableB : public CPeriodTable {
public:
    explicit CTableB(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();
    int TitleBandHeight() const override { return 50; }

protected:
    void OnCreate() override;
    void Fill() override;
    void OnIndicatorChanged(int oldIndex) override;
};

class CTableC : public CPeriodTable {
public:
    explicit CTableC(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();
    int HeaderBandHeight() const override { return 40; }

protected:
    void OnCreate() override;
    void Fill() override;
    void OnRegionChanged(int oldIndex) override;
};

} // namespace zor::grids
