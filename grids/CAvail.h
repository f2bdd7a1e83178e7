// Data availability: for every indicator of one indicator group (rows) and every period of the
// catalogue (columns), the share of the regions of one region set that have a value, drawn as a
// small bar filled in proportion with the percentage on it. The "Group" popup chooses the group,
// the "Zones" popup the region set; nothing of the selection is needed but its set.
#pragma once

#include "core/DataTable.h"
#include "grids/CGridView.h"

#include <memory>
#include <string>
#include <vector>

namespace zor::charts {
struct MenuItem;
}

namespace zor::grids {

inline constexpr draw::Color AvailBackground = draw::Rgb(255, 255, 223); // 0xDFFFFF
inline constexpr draw::Color AvailFill = draw::Rgb(0, 0xE0, 0);          // 0x00E000

// "%.4g%%" of the share of `present` values among `rows` (2 of 3: "66.67%"); "0%" without rows.
std::string AvailabilityText(int present, int rows);
// The fraction (0 ... 1) a cell text stands for: its leading number over 100, 0 when it has
// none.
double AvailabilityFraction(const std::string& text);

// Where a cell's bar lies (logical units: y down on screen, up on paper).
struct AvailBar {
    draw::Rect bar;
    int filledRight = 0; // the green part runs from bar.left to here
};
// About 80 × 20 screen pixels (scaled), centred in the cell; filled to the fraction.
AvailBar LayoutAvailBar(const draw::Rect& cell, double fraction, float scale, bool printing);

class CAvail : public CGridView {
public:
    explicit CAvail(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();

    bool Loaded() const override { return loadResult_ == 0; }
    const DataTable& Table() const { return *table_; }
    // The group's position in the catalogue, the region set's position in the set list.
    int CurrentGroup() const { return group_; }
    int CurrentZone() const { return zone_; }
    const std::vector<bool>& GroupFlags() const { return groupFlags_; }
    // The current group's name (the grid's title names the region set).
    std::string Subject() const override;
    // Regions with a value of indicator row `row` in period `period`.
    int PresentCount(int row, int period) const;

    bool OnCommand(int id) override;
    // --group G: the group at position G of the catalogue; --zone SET: the region set of id SET.
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;

    int RowHeight() const override { return 30; }
    int FooterBandHeight() const override { return 0; }
    int HeaderFontWeight() const override { return 400; }
    draw::Color BackgroundColour() const override { return AvailBackground; }
    void DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell, const GridColumn& column,
                      const std::string& text, int row, int col, float scale,
                      bool printing) const override;
    std::string CellTip(int row, int col) const override;

    // {"group", "zone" (the set's id), "periods", "rows": [{"indicator", "cells": [text]}]}.
    bool WriteData(JsonWriter& json) override;

protected:
    void OnCreate() override;
    void OnInitialUpdate() override;

private:
    void ChooseGroup(int group);
    void ChooseZone(int zone);
    // Makes the value table of the current zone and group and loads it (reporting to
    // `progress` when given).
    void LoadTable(LoadProgress* progress = nullptr);
    // The rows, column 0's width, the title and the availability.
    void Rebuild();

    std::unique_ptr<DataTable> table_;
    int loadResult_ = 0;
    std::vector<ListItem> regions_, periods_;
    std::vector<bool> groupFlags_;
    int group_ = 0;
    int zone_ = 0;
    int groupPopup_ = -1, zonePopup_ = -1;
    std::vector<int> present_; // [row × periods + period]
};

} // namespace zor::grids
