// The region profile: one region across every indicator of an indicator group (or of the current
// selection) and the selected periods. A cell gives the region's value and the share of the
// table's regions that rank below it ("12.5 - 40%"), coloured green when the region lies in the
// middle band of the distribution (the band fraction, 80 % at first, chosen in the "Scale"
// popup), dark yellow just outside it, dark red further out and black without a value.
//
// The "Group" popup switches the indicators, the "Regions" popup the region. The profile copies
// itself to the clipboard as HTML and exports HTML and tab-separated text.
#pragma once

#include "core/DataTable.h"
#include "grids/BoxplotStats.h"
#include "grids/CGridView.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zor::charts {
struct MenuItem;
}

namespace zor::grids {

// Cell colours of the profile (0x00BBGGRR).
inline constexpr draw::Color ProfileGreen = draw::Rgb(0, 0x80, 0);     // 0x008000
inline constexpr draw::Color ProfileYellow = draw::Rgb(0xC0, 0xC0, 0); // 0x00C0C0
inline constexpr draw::Color ProfileRed = draw::Rgb(0x80, 0, 0);       // 0x000080
inline constexpr draw::Color ProfileNoValue = draw::Black;

// One cell: the region's value (MissingValue: none) and the share of the rows below it (0 ... 1,
// only meaningful with a value).
struct ProfileCell {
    float profileValue = MissingValue;
    float belowShare = 0.0f;
    bool HasValue() const { return !IsMissing(profileValue); }
};

// The region's cell among the values of every row (n of them, missing ones counted and ranked
// below all): the share (n - (q + 1)) / n, q the first position of its value when sorted largest
// first. No value when the region has no row (-1) or no value.
ProfileCell ProfileOf(std::span<const float> values, int regionRow);

// The colour of a cell for the band fraction f: green within [(1 - f) / 2, (1 + f) / 2], dark
// yellow within half that margin outside it, dark red beyond, black without a value (float32
// arithmetic throughout).
draw::Color ProfileColour(const ProfileCell& cell, float fraction);

// "%s - %2.0f%%" of the value and the share in percent, ". . ." without a value.
std::string ProfileText(const ProfileCell& cell);

class CProfile : public CGridView {
public:
    explicit CProfile(const ViewContext& context);
    static const std::vector<charts::MenuItem>& FrameMenu();

    bool Loaded() const override { return loadResult_ == 0; }
    const DataTable& Table() const { return *table_; }
    // 0: the current selection's indicators; g >= 1: the group at position g - 1.
    int CurrentGroup() const { return group_; }
    // Per group position: whether the region set has data for it.
    const std::vector<bool>& GroupFlags() const { return groupFlags_; }
    int ScaleStep() const { return step_; }
    float BandFraction() const { return fraction_; }
    // The cell of indicator row `row` and period `period`.
    const ProfileCell& Record(int row, int period) const;
    // The chosen region's key, name (single-byte) and row in the value table (-1: none).
    int32_t RegionKey() const;
    std::string RegionName() const;
    int RegionRow() const;

    bool OnCommand(int id) override;
    charts::CommandState QueryCommand(int id) const override;

    int FooterBandHeight() const override { return 0; }
    int HeaderFontWeight() const override { return 400; }
    bool HasExports() const override { return true; }
    void DrawCellText(draw::DeviceContext& dc, const draw::Rect& cell, const GridColumn& column,
                      const std::string& text, int row, int col, float scale,
                      bool printing) const override;

    // HTML, tab-separated text and the "HTML Format" string of "Copy".
    std::optional<std::string> ExportText(charts::TextExport kind) override;
    // The fragment of "Copy" (single-byte text) and the text lines with "\n".
    std::string CopyFragment() const;
    std::string TextLines() const;
    // {"region": {"key", "name"}, "periods", "rows": [{"indicator", "cells": [{"profileValue",
    // "belowShare", "text", "colour"}]}]}.
    bool WriteData(JsonWriter& json) override;

protected:
    void OnCreate() override;
    void OnInitialUpdate() override;
    void OnRegionChanged(int oldIndex) override;

private:
    // Makes the value table for the indicators of group `group` and loads it (reporting to
    // `progress` when given).
    void LoadGroup(int group, LoadProgress* progress = nullptr);
    // The rows, column 0's width, the title and the profile.
    void Rebuild();
    void ComputeProfile();
    std::string Html() const;

    std::unique_ptr<DataTable> table_;
    int loadResult_ = 0;
    int setCode_ = 0;
    std::vector<ListItem> selectionIndicators_, regions_, periods_;
    std::vector<bool> groupFlags_;
    int group_ = 0;
    int groupPopup_ = -1;
    int step_ = DefaultScaleStep;
    float fraction_ = BoxFraction(DefaultScaleStep);
    char decimal_ = '.';
    std::vector<ProfileCell> cells_; // [row × periods + period]
};

} // namespace zor::grids
