// The value table of a view: float32 values by period, indicator and row (region), read from
// the value files through the provider, with temporary indicators computed from their
// definitions, the pseudo periods "First Available" / "Last Available" resolved, and an axis
// range per indicator.
#pragma once

#include "core/Catalogue.h"
#include "core/DataProvider.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class DataStore;

// Where Load reports its progress: a range, then positions (after each indicator read), then 0.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    virtual void SetRange(int range) = 0;
    virtual void SetPosition(int position) = 0;
};

// An axis range and its tick step. A range without any value has MissingValue bounds, step 0.
struct AxisRange {
    float min = MissingValue;
    float max = MissingValue;
    float step = 0.0f;
    bool operator==(const AxisRange&) const = default;
};

// Row modes.
inline constexpr int RowsAll = 0;      // all regions (of the set, or of all sets under 19900)
inline constexpr int RowsSelected = 1; // the selected regions only
inline constexpr int RowsTopLevel = 2; // top-level regions only

class DataTable {
public:
    // Builds the rows and allocates the arrays (nothing when there is no period, indicator or
    // row, or more than MaxCells values); reads nothing. A row mode other than 1 or 2 counts
    // as 0. The store must outlive the table.
    DataTable(DataStore& store, int setCode, std::vector<ListItem> indicators,
              std::vector<ListItem> regions, std::vector<ListItem> periods, int rowMode,
              bool zeroAxis);
    DataTable(const DataTable&) = delete;
    DataTable& operator=(const DataTable&) = delete;

    // Reads and computes every value, then runs ComputeAxes. Starts from an all-missing table
    // each time. Returns 0, or -1 when the set code is unknown or the temporary-indicator list
    // cannot be read (the table then stays all missing).
    int Load(LoadProgress* progress = nullptr);

    // Fills the computed and current axis of every indicator from the values.
    void ComputeAxes();

    // The values of one set for a period (a year, FirstAvailable or LastAvailable) and an
    // indicator, as Load reads them for this table: `dest` becomes the first values of the
    // set's record (top-level count, plus the small regions unless the rows are top-level
    // only; whole records under row mode 1). Returns 1, or -1 when nothing could be read
    // (`dest` then holds missing values). Codes above 9999 are computed from the definitions
    // read by the last Load. Pseudo periods record their periods in the matrices when the
    // indicator is one of the table's.
    int ReadSetValues(std::vector<float>& dest, int setId, int periodCode, int indicatorCode);

    // Index of the row with this key, -1 when absent.
    int RowIndexByKey(int32_t key) const;

    int SetCode() const { return setCode_; }
    int RowMode() const { return rowMode_; }
    bool ZeroAxis() const { return zeroAxis_; }
    const std::string& ProviderName() const { return providerName_; }
    const std::string& DataSource() const { return dataSource_; }
    const std::vector<ListItem>& Indicators() const { return indicators_; }
    const std::vector<ListItem>& Regions() const { return regions_; }
    const std::vector<ListItem>& Periods() const { return periods_; }

    int RowCount() const { return int(rowKeys_.size()); }
    const std::vector<int32_t>& RowKeys() const { return rowKeys_; }
    const std::vector<std::string>& RowLabels() const { return rowLabels_; }
    // Row of the set's total (or of the grand total), -1 when there is none.
    int TotalRow() const { return totalRow_; }

    // Whether the value arrays exist (at least one period, indicator and row).
    bool HasValues() const { return !values_.empty(); }
    // A value; MissingValue outside the table.
    float Value(int period, int indicator, int row) const;
    // The RowCount() values of one period and indicator, nullptr outside the table.
    const float* RowValues(int period, int indicator) const;

    // Slots of the two period matrices: one per row (0 when the table has no arrays).
    int SlotCount() const { return slotCount_; }
    // Period a value was taken from under "First Available" / "Last Available"; 0 = none.
    int FirstAvailablePeriod(int indicator, int slot) const;
    int LastAvailablePeriod(int indicator, int slot) const;

    // Axis per indicator; the current one starts equal to the computed one and views may
    // change it.
    AxisRange ComputedAxis(int indicator) const;
    AxisRange CurrentAxis(int indicator) const;
    void SetCurrentAxis(int indicator, const AxisRange& axis);

    // The definitions read by the last Load, one per distinct temporary indicator code.
    const std::vector<TempIndicatorDef>& TempDefinitions() const { return tempDefs_; }

    // Value cells above this are refused: the table then allocates nothing.
    static constexpr size_t MaxCells = size_t(1) << 28;

private:
    // One provider read context: a set, the request for it and where its values go.
    struct ReadContext {
        int setIndex = -1;
        int setId = 0;
        ValueRequest request;
        std::vector<std::pair<int, int>> slots; // {table row, index in the read values}
        struct Run {
            int row, index, length;
        };
        std::vector<Run> runs; // the slots as runs of consecutive rows and values
    };

    void BuildRows();
    void AllocateArrays();
    void Reset();
    bool ReadTempDefinitions();
    ReadContext MakeContext(int setIndex) const;
    int RowsToRead(int setIndex) const;
    int IndicatorIndex(int code) const;
    void LoadSet(const ReadContext& ctx, LoadProgress* progress, int& position);

    int Read(const ReadContext& ctx, float* dest, int period, int code, int matrixRow);
    // The provider's read of one real period.
    int RawRead(const ReadContext& ctx, float* dest, int period, int code);
    // Codes below 10000: a year read straight, a pseudo period resolved over the catalogue.
    // `sourcePeriods` (optional) receives per value the period it came from (0 = none).
    int DirectRead(const ReadContext& ctx, float* dest, int period, int code, int matrixRow,
                   std::vector<int>* sourcePeriods = nullptr);
    int ComputeTempIndicator(const ReadContext& ctx, float* dest, int period, int code,
                             int matrixRow);
    int TempChange(const ReadContext& ctx, const TempIndicatorDef& def, float* dest, int period,
                   int matrixRow);
    int TempMovingAverage(const ReadContext& ctx, const TempIndicatorDef& def, float* dest,
                          int period, int matrixRow);
    int32_t* Matrix(int period, int matrixRow);
    void ShiftRecorded(const ReadContext& ctx, int period, int matrixRow, int by);

    DataStore& store_;
    std::string providerName_;
    std::string dataSource_;
    int setCode_;
    int rowMode_;
    bool zeroAxis_;
    std::vector<ListItem> indicators_;
    std::vector<ListItem> regions_;
    std::vector<ListItem> periods_;

    std::vector<int32_t> rowKeys_;
    std::vector<std::string> rowLabels_;
    std::vector<int> rowSet_;   // per row: index of the set its value comes from, -1 = none
    std::vector<int> rowValue_; // per row: index in that set's record, -1 = none
    int totalRow_ = -1;

    int slotCount_ = 0;
    std::vector<float> values_;                           // [period][indicator][row]
    std::vector<int32_t> firstAvailable_, lastAvailable_; // [indicator][slot]
    std::vector<AxisRange> computedAxes_, currentAxes_;
    std::vector<TempIndicatorDef> tempDefs_;
    bool loading_ = false;
    bool dirty_ = false; // values or matrices written since they were last all missing
};

} // namespace zor
