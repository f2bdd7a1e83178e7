#include "core/DataTable.h"

#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "core/Formats.h"
#include "core/Numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {

namespace {

bool IsPseudo(int period) {
    return period == FirstAvailable || period == LastAvailable;
}

// Regions of a set that have a place in its value records.
int UsableRegions(const RegionSet& s) {
    return std::max(0, std::min(int(s.regions.size()), s.Stride()));
}
int UsableTop(const RegionSet& s) {
    return std::clamp(int(s.topCount), 0, UsableRegions(s));
}

// A computed value that is not a finite number is shown as missing.
float Finite(float v) {
    return std::isfinite(v) ? v : MissingValue;
}

// Distinct non-zero periods in order of first appearance.
std::vector<int> DistinctPeriods(const std::vector<int>& from) {
    std::vector<int> out;
    for (int y : from)
        if (y != 0 && std::find(out.begin(), out.end(), y) == out.end()) out.push_back(y);
    return out;
}

// Multiplies sizes; false when the product exceeds `limit`.
bool CheckedProduct(std::initializer_list<size_t> factors, size_t limit, size_t& out) {
    size_t p = 1;
    for (size_t f : factors) {
        if (f != 0 && p > limit / f) return false;
        p *= f;
    }
    out = p;
    return p <= limit;
}

} // namespace

DataTable::DataTable(DataStore& store, int setCode, std::vector<ListItem> indicators,
                     std::vector<ListItem> regions, std::vector<ListItem> periods, int rowMode,
                     bool zeroAxis)
    : store_(store), providerName_(store.ProviderName()), dataSource_(store.DataSource()),
      setCode_(setCode),
      rowMode_(rowMode == RowsSelected || rowMode == RowsTopLevel ? rowMode : RowsAll),
      zeroAxis_(zeroAxis), indicators_(std::move(indicators)), regions_(std::move(regions)),
      periods_(std::move(periods)) {
    BuildRows();
    AllocateArrays();
}

// ---------------------------------------------------------------- rows and arrays

void DataTable::BuildRows() {
    const auto& sets = store_.RegionSets();
    auto add = [this](int32_t key, std::string label, int setIndex, int valueIndex) {
        rowKeys_.push_back(key);
        rowLabels_.push_back(std::move(label));
        rowSet_.push_back(valueIndex >= 0 ? setIndex : -1);
        rowValue_.push_back(setIndex >= 0 ? valueIndex : -1);
    };
    // A selected region: its value is at (region id - 1) of the set's record, when it is there.
    auto addSelected = [&](const ListItem& item, int setIndex) {
        int index = -1;
        if (setIndex >= 0) {
            int v = KeyRegionId(item.code) - 1;
            if (v >= 0 && v < sets[size_t(setIndex)].Stride()) index = v;
        }
        add(item.code, item.name, setIndex, index);
    };

    if (setCode_ == AllRegionSets) {
        if (rowMode_ == RowsSelected) {
            for (const auto& item : regions_)
                addSelected(item, store_.FindRegionSet(KeySetId(item.code)));
            return;
        }
        for (size_t s = 1; s < sets.size(); ++s) {
            const RegionSet& set = sets[s];
            const int top = UsableTop(set);
            const int end = rowMode_ == RowsAll ? UsableRegions(set) : top;
            auto label = [&](const Region& r) {
                return set.code.empty() ? r.name : r.name + " (" + set.code + ")";
            };
            // The set's own total (its last top-level region) is left out.
            for (int i = 0; i + 1 < top; ++i) {
                const Region& r = set.regions[size_t(i)];
                add(MakeRegionKey(set.id, r.id), label(r), int(s), i);
            }
            for (int i = top; i < end; ++i) {
                const Region& r = set.regions[size_t(i)];
                add(MakeRegionKey(set.id, r.id), label(r), int(s), i);
            }
        }
        if (!sets.empty()) {
            const RegionSet& top = sets[0];
            const int t = UsableTop(top);
            if (t >= 1) {
                const Region& r = top.regions[size_t(t - 1)];
                add(MakeRegionKey(top.id, r.id), r.name, 0, t - 1);
                totalRow_ = RowCount() - 1;
            }
        }
        return;
    }

    const int k = store_.FindRegionSet(setCode_);
    if (rowMode_ == RowsSelected) {
        // Only the region id (low half of the key) counts within a specific set.
        for (const auto& item : regions_) addSelected(item, k);
        return;
    }
    if (k < 0) return;
    const RegionSet& set = sets[size_t(k)];
    const int end = rowMode_ == RowsAll ? UsableRegions(set) : UsableTop(set);
    for (int i = 0; i < end; ++i) {
        const Region& r = set.regions[size_t(i)];
        add(MakeRegionKey(set.id, r.id), r.name, k, i);
    }
    if (set.topCount >= 1 && set.topCount <= RowCount()) totalRow_ = set.topCount - 1;
}

void DataTable::AllocateArrays() {
    const size_t P = periods_.size(), I = indicators_.size(), R = rowKeys_.size();
    if (P == 0 || I == 0 || R == 0) return;
    size_t slots = R;
    if (setCode_ != AllRegionSets && rowMode_ == RowsSelected) {
        // Room for all of the set's regions; slots are table rows.
        int k = store_.FindRegionSet(setCode_);
        if (k >= 0) slots = std::max(slots, size_t(store_.RegionSets()[size_t(k)].Stride()));
    }
    size_t cells = 0, slotCells = 0;
    if (!CheckedProduct({P, I, R}, MaxCells, cells) ||
        !CheckedProduct({I, slots}, MaxCells, slotCells))
        return;
    slotCount_ = int(slots);
    values_.assign(cells, MissingValue);
    firstAvailable_.assign(slotCells, 0);
    lastAvailable_.assign(slotCells, 0);
    computedAxes_.assign(I, AxisRange{});
    currentAxes_.assign(I, AxisRange{});
}

void DataTable::Reset() {
    std::fill(computedAxes_.begin(), computedAxes_.end(), AxisRange{});
    std::fill(currentAxes_.begin(), currentAxes_.end(), AxisRange{});
    if (!dirty_) return; // as allocated: all missing already
    dirty_ = false;
    std::fill(values_.begin(), values_.end(), MissingValue);
    std::fill(firstAvailable_.begin(), firstAvailable_.end(), 0);
    std::fill(lastAvailable_.begin(), lastAvailable_.end(), 0);
}

// ---------------------------------------------------------------- accessors

float DataTable::Value(int period, int indicator, int row) const {
    const float* r = RowValues(period, indicator);
    return r && row >= 0 && row < RowCount() ? r[row] : MissingValue;
}

const float* DataTable::RowValues(int period, int indicator) const {
    if (!HasValues() || period < 0 || size_t(period) >= periods_.size() || indicator < 0 ||
        size_t(indicator) >= indicators_.size())
        return nullptr;
    return values_.data() +
           (size_t(period) * indicators_.size() + size_t(indicator)) * rowKeys_.size();
}

int DataTable::FirstAvailablePeriod(int indicator, int slot) const {
    if (!HasValues() || indicator < 0 || size_t(indicator) >= indicators_.size() || slot < 0 ||
        slot >= slotCount_)
        return 0;
    return firstAvailable_[size_t(indicator) * size_t(slotCount_) + size_t(slot)];
}

int DataTable::LastAvailablePeriod(int indicator, int slot) const {
    if (!HasValues() || indicator < 0 || size_t(indicator) >= indicators_.size() || slot < 0 ||
        slot >= slotCount_)
        return 0;
    return lastAvailable_[size_t(indicator) * size_t(slotCount_) + size_t(slot)];
}

AxisRange DataTable::ComputedAxis(int indicator) const {
    if (indicator < 0 || size_t(indicator) >= computedAxes_.size()) return {};
    return computedAxes_[size_t(indicator)];
}

AxisRange DataTable::CurrentAxis(int indicator) const {
    if (indicator < 0 || size_t(indicator) >= currentAxes_.size()) return {};
    return currentAxes_[size_t(indicator)];
}

void DataTable::SetCurrentAxis(int indicator, const AxisRange& axis) {
    if (indicator >= 0 && size_t(indicator) < currentAxes_.size())
        currentAxes_[size_t(indicator)] = axis;
}

int DataTable::RowIndexByKey(int32_t key) const {
    for (size_t r = 0; r < rowKeys_.size(); ++r)
        if (rowKeys_[r] == key) return int(r);
    return -1;
}

int DataTable::IndicatorIndex(int code) const {
    for (size_t i = 0; i < indicators_.size(); ++i)
        if (indicators_[i].code == code) return int(i);
    return -1;
}

int32_t* DataTable::Matrix(int period, int matrixRow) {
    if (!HasValues() || !IsPseudo(period) || matrixRow < 0 ||
        size_t(matrixRow) >= indicators_.size())
        return nullptr;
    auto& m = period == FirstAvailable ? firstAvailable_ : lastAvailable_;
    return m.data() + size_t(matrixRow) * size_t(slotCount_);
}

void DataTable::ShiftRecorded(const ReadContext& ctx, int period, int matrixRow, int by) {
    int32_t* m = Matrix(period, matrixRow);
    if (!m) return;
    for (const auto& [row, index] : ctx.slots)
        if (m[row] != 0) m[row] += by;
}

// ---------------------------------------------------------------- load

bool DataTable::ReadTempDefinitions() {
    tempDefs_.clear();
    std::vector<int> codes;
    for (const auto& ind : indicators_)
        if (ind.code >= TempIndicatorBase &&
            std::find(codes.begin(), codes.end(), ind.code) == codes.end())
            codes.push_back(ind.code);
    if (codes.empty()) return true;

    RandomAccessFile f;
    if (!f.Open(store_.TempListPath())) return false;
    auto header = f.ReadExact(0, 7);
    auto h = header ? ParseTempListHeader(*header) : std::nullopt;
    if (!h) return false;
    for (int code : codes) {
        const int slot = code - TempIndicatorBase;
        if (slot >= TempSlotCount) continue; // no such slot: the values stay missing
        auto record = f.ReadExact(TempSlotOffset(h->nameLength, slot), size_t(h->nameLength) + 40);
        if (!record) continue; // a slot cut off by a short file has no definition
        tempDefs_.push_back(ParseTempSlot(*record, h->nameLength, slot));
    }
    return true;
}

int DataTable::RowsToRead(int setIndex) const {
    const RegionSet& set = store_.RegionSets()[size_t(setIndex)];
    if (rowMode_ == RowsTopLevel) return std::clamp(int(set.topCount), 0, set.Stride());
    return std::max(0, set.Stride());
}

DataTable::ReadContext DataTable::MakeContext(int setIndex) const {
    const RegionSet& set = store_.RegionSets()[size_t(setIndex)];
    ReadContext ctx;
    ctx.setIndex = setIndex;
    ctx.setId = set.id;
    ctx.request.dataSource = dataSource_;
    ctx.request.setIndicators = &set.indicators;
    ctx.request.rows = RowsToRead(setIndex);
    ctx.request.recordLength = set.Stride();
    ctx.request.rowOffset = -1;
    for (size_t r = 0; r < rowKeys_.size(); ++r) {
        if (rowSet_[r] != setIndex || rowValue_[r] < 0 || rowValue_[r] >= ctx.request.rows)
            continue;
        if (ctx.request.rowOffset < 0) ctx.request.rowOffset = int(r);
        ctx.slots.emplace_back(int(r), rowValue_[r]);
        auto& runs = ctx.runs;
        if (!runs.empty() && runs.back().row + runs.back().length == int(r) &&
            runs.back().index + runs.back().length == rowValue_[r])
            ++runs.back().length;
        else
            runs.push_back({int(r), rowValue_[r], 1});
    }
    if (ctx.request.rowOffset < 0) ctx.request.rowOffset = 0;
    return ctx;
}

void DataTable::LoadSet(const ReadContext& ctx, LoadProgress* progress, int& position) {
    const size_t I = indicators_.size(), R = rowKeys_.size();
    std::vector<float> buf(size_t(ctx.request.rows), MissingValue);
    for (size_t p = 0; p < periods_.size(); ++p) {
        for (size_t i = 0; i < I; ++i) {
            const int period = periods_[p].code, code = indicators_[i].code;
            // A plain read fills the whole record or nothing; the others start from missing.
            if (IsPseudo(period) || code >= TempIndicatorBase)
                std::fill(buf.begin(), buf.end(), MissingValue);
            if (Read(ctx, buf.data(), period, code, int(i)) == 1) {
                // Every cell is written by one set only and starts missing, so copying the
                // missing values too stores exactly the present ones.
                float* out = values_.data() + (p * I + i) * R;
                for (const auto& run : ctx.runs)
                    std::copy_n(buf.data() + run.index, run.length, out + run.row);
            }
            if (progress) progress->SetPosition(++position);
        }
    }
}

int DataTable::Load(LoadProgress* progress) {
    Reset();
    if (!ReadTempDefinitions()) return -1;
    int specific = -1;
    if (setCode_ != AllRegionSets) {
        specific = store_.FindRegionSet(setCode_);
        if (specific < 0) return -1;
    }
    if (!HasValues()) return 0;

    // The sets to read, in reading order.
    std::vector<int> order;
    const auto& sets = store_.RegionSets();
    if (setCode_ != AllRegionSets) {
        order.push_back(specific);
    } else if (rowMode_ == RowsSelected) {
        for (const int set : rowSet_)
            if (set >= 0 && std::find(order.begin(), order.end(), set) == order.end())
                order.push_back(set);
    } else {
        for (size_t s = 1; s < sets.size(); ++s) order.push_back(int(s));
        if (!sets.empty()) order.push_back(0); // the grand total, last
    }
    std::vector<ReadContext> contexts;
    for (int k : order) {
        ReadContext ctx = MakeContext(k);
        if (!ctx.slots.empty()) contexts.push_back(std::move(ctx)); // nothing to store otherwise
    }

    DataProvider& provider = store_.Provider();
    loading_ = true;
    dirty_ = true;
    if (provider.beginValueReading) provider.beginValueReading();
    int position = 0;
    if (progress) {
        const size_t range = contexts.size() * periods_.size() * indicators_.size();
        progress->SetRange(int(std::min<size_t>(range, size_t(std::numeric_limits<int>::max()))));
        progress->SetPosition(0);
    }
    for (const auto& ctx : contexts) LoadSet(ctx, progress, position);
    if (progress) progress->SetPosition(0);
    if (provider.endValueReading) provider.endValueReading();
    loading_ = false;
    ComputeAxes();
    return 0;
}

int DataTable::ReadSetValues(std::vector<float>& dest, int setId, int periodCode,
                             int indicatorCode) {
    const int k = store_.FindRegionSet(setId);
    if (k < 0) {
        dest.clear();
        return -1;
    }
    const ReadContext ctx = MakeContext(k);
    dest.assign(size_t(ctx.request.rows), MissingValue);
    if (dest.empty()) return -1;
    DataProvider& provider = store_.Provider();
    const bool session = !loading_;
    dirty_ = true; // a pseudo period records into the matrices
    if (session && provider.beginValueReading) provider.beginValueReading();
    int r = Read(ctx, dest.data(), periodCode, indicatorCode, IndicatorIndex(indicatorCode));
    if (session && provider.endValueReading) provider.endValueReading();
    if (r != 1) std::fill(dest.begin(), dest.end(), MissingValue);
    return r;
}

// ---------------------------------------------------------------- reads

int DataTable::Read(const ReadContext& ctx, float* dest, int period, int code, int matrixRow) {
    if (code >= TempIndicatorBase) return ComputeTempIndicator(ctx, dest, period, code, matrixRow);
    return DirectRead(ctx, dest, period, code, matrixRow);
}

int DataTable::RawRead(const ReadContext& ctx, float* dest, int period, int code) {
    DataProvider& provider = store_.Provider();
    if (!provider.readValues || ctx.request.rows <= 0) return -1;
    return provider.readValues(dest, ctx.setId, period, code, ctx.request) == 1 ? 1 : -1;
}

int DataTable::DirectRead(const ReadContext& ctx, float* dest, int period, int code, int matrixRow,
                          std::vector<int>* sourcePeriods) {
    const size_t n = size_t(std::max(0, ctx.request.rows));
    if (!IsPseudo(period)) return RawRead(ctx, dest, period, code);

    std::vector<int> local;
    std::vector<int>& from = sourcePeriods ? *sourcePeriods : local;
    from.assign(n, 0);
    size_t missing = 0;
    for (size_t k = 0; k < n; ++k) missing += IsMissing(dest[k]) ? 1u : 0u;

    // Walk the catalogue forwards (first available) or backwards (last available), filling
    // each missing value from the first period that has one.
    const auto& catalogue = store_.Periods();
    std::vector<float> scratch(n);
    for (size_t step = 0; step < catalogue.size() && missing > 0; ++step) {
        const TimePeriod& tp =
            period == FirstAvailable ? catalogue[step] : catalogue[catalogue.size() - 1 - step];
        if (RawRead(ctx, scratch.data(), tp.code, code) != 1) continue;
        for (size_t k = 0; k < n; ++k) {
            if (IsMissing(dest[k]) && !IsMissing(scratch[k])) {
                dest[k] = scratch[k];
                from[k] = tp.code;
                --missing;
            }
        }
    }
    // The slots this read fills get the period their value came from (0 = none).
    if (int32_t* m = Matrix(period, matrixRow))
        for (const auto& [row, index] : ctx.slots) m[row] = from[size_t(index)];
    return 1;
}

int DataTable::ComputeTempIndicator(const ReadContext& ctx, float* dest, int period, int code,
                                    int matrixRow) {
    const int d = FindTempDefIndex(tempDefs_, code);
    if (d < 0) return -1;
    const TempIndicatorDef& def = tempDefs_[size_t(d)];
    const size_t n = size_t(std::max(0, ctx.request.rows));
    const float K = def.parameters[0];

    switch (def.operation) {
    case 1:
    case 2:
    case 3:
    case 4: {
        // Under a pseudo period each operand finds its own periods; B, read last, records.
        std::vector<float> a(n, MissingValue), b(n, MissingValue);
        if (DirectRead(ctx, a.data(), period, def.operandA, matrixRow) != 1) return -1;
        if (DirectRead(ctx, b.data(), period, def.operandB, matrixRow) != 1) return -1;
        for (size_t k = 0; k < n; ++k) {
            const float x = a[k], y = b[k];
            float r = MissingValue;
            if (!IsMissing(x) && !IsMissing(y)) {
                switch (def.operation) {
                case 1:
                    r = y == 0.0f ? MissingValue : K * x / y;
                    break;
                case 2:
                    r = y * (x * K);
                    break;
                case 3:
                    r = x + y;
                    break;
                default:
                    r = x - y;
                    break;
                }
            }
            dest[k] = IsMissing(r) ? r : Finite(r);
        }
        return 1;
    }
    case 5:
    case 6:
        return TempChange(ctx, def, dest, period, matrixRow);
    case 7:
        return TempMovingAverage(ctx, def, dest, period, matrixRow);
    default:
        return -1; // an unused slot computes nothing
    }
}

int DataTable::TempChange(const ReadContext& ctx, const TempIndicatorDef& def, float* dest,
                          int period, int matrixRow) {
    const size_t n = size_t(std::max(0, ctx.request.rows));
    const float K = def.parameters[0];
    const bool relative = def.operation == 6;
    auto change = [&](float later, float earlier) {
        if (IsMissing(later) || IsMissing(earlier)) return MissingValue;
        if (!relative) return Finite(later - earlier);
        if (earlier == 0.0f) return MissingValue;
        return Finite(K * (later - earlier) / earlier);
    };

    if (!IsPseudo(period)) {
        std::vector<float> now(n, MissingValue), before(n, MissingValue);
        if (RawRead(ctx, now.data(), period, def.operandA) != 1) return -1;
        if (RawRead(ctx, before.data(), period - 1, def.operandA) != 1) return -1;
        for (size_t k = 0; k < n; ++k) dest[k] = change(now[k], before[k]);
        return 1;
    }

    // Each value's own period y pairs with y - 1 (last available) or y + 1 (first available);
    // the period recorded is the later one of the pair.
    std::vector<float> a(n, MissingValue);
    std::vector<int> from;
    DirectRead(ctx, a.data(), period, def.operandA, matrixRow, &from);
    const bool last = period == LastAvailable;
    if (!last) ShiftRecorded(ctx, period, matrixRow, +1);
    std::vector<float> other(n);
    for (int y : DistinctPeriods(from)) {
        std::fill(other.begin(), other.end(), MissingValue);
        // A partner period that cannot be read leaves only the values of this y missing.
        if (RawRead(ctx, other.data(), last ? y - 1 : y + 1, def.operandA) != 1) continue;
        for (size_t k = 0; k < n; ++k)
            if (from[k] == y) dest[k] = last ? change(a[k], other[k]) : change(other[k], a[k]);
    }
    return 1;
}

int DataTable::TempMovingAverage(const ReadContext& ctx, const TempIndicatorDef& def, float* dest,
                                 int period, int matrixRow) {
    const size_t n = size_t(std::max(0, ctx.request.rows));
    // H = trunc(W) / 2; a width that is not a number of periods computes nothing.
    const float w = std::trunc(def.parameters[1]);
    if (!(w >= 0.0f && w <= 65534.0f)) return -1;
    const int H = int(w) / 2;
    const float divisor = float(2 * H + 1);
    std::vector<float> term(n);

    if (!IsPseudo(period)) {
        std::vector<float> sum(n, 0.0f);
        std::vector<char> gap(n, 0);
        for (int q = period - H; q <= period + H; ++q) {
            std::fill(term.begin(), term.end(), MissingValue);
            if (RawRead(ctx, term.data(), q, def.operandA) != 1) return -1;
            for (size_t k = 0; k < n; ++k) {
                if (IsMissing(term[k]))
                    gap[k] = 1;
                else
                    sum[k] += term[k];
            }
        }
        for (size_t k = 0; k < n; ++k) dest[k] = gap[k] ? MissingValue : Finite(sum[k] / divisor);
        return 1;
    }

    // The value read under the pseudo period is one end of the window; its centre is H
    // periods further inside, and that centre is the period recorded.
    std::vector<float> a(n, MissingValue);
    std::vector<int> from;
    DirectRead(ctx, a.data(), period, def.operandA, matrixRow, &from);
    const bool last = period == LastAvailable;
    ShiftRecorded(ctx, period, matrixRow, last ? -H : H);
    std::vector<float> sum(n);
    std::vector<char> gap(n);
    for (int y : DistinctPeriods(from)) {
        std::vector<size_t> rows;
        for (size_t k = 0; k < n; ++k)
            if (from[k] == y) rows.push_back(k);
        // Terms are added in period order, so the sum equals the plain average's at the centre.
        for (size_t k : rows) {
            sum[k] = last ? 0.0f : a[k];
            gap[k] = 0;
        }
        const int lo = last ? y - 2 * H : y + 1;
        const int hi = last ? y - 1 : y + 2 * H;
        bool failed = false;
        for (int q = lo; q <= hi; ++q) {
            bool open = false;
            for (size_t k : rows) open = open || !gap[k];
            if (!open) break;
            std::fill(term.begin(), term.end(), MissingValue);
            if (RawRead(ctx, term.data(), q, def.operandA) != 1) {
                failed = true; // leaves the values of this y missing
                break;
            }
            for (size_t k : rows) {
                if (gap[k]) continue;
                if (IsMissing(term[k]))
                    gap[k] = 1;
                else
                    sum[k] += term[k];
            }
        }
        if (failed) continue;
        for (size_t k : rows) {
            if (gap[k]) continue;
            if (last) sum[k] += a[k];
            dest[k] = Finite(sum[k] / divisor);
        }
    }
    return 1;
}

// ---------------------------------------------------------------- axes

namespace {

float ClampToFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return float(std::clamp(v, -kMax, kMax));
}

// Scales [min, 0] and [0, max] separately and gives both halves the larger step, so that
// zero is a tick.
float ScaleHalves(float& min, float& max, int perHalf) {
    float pLo = 0.0f, pHi = max;
    const float pStep = NiceScale(pLo, pHi, perHalf);
    float nLo = min, nHi = 0.0f;
    const float nStep = NiceScale(nLo, nHi, perHalf);
    const float step = std::max(pStep, nStep);
    if (step > 0.0f) {
        if (pStep < step) pHi = ClampToFloat(std::ceil(double(max) / step) * step);
        if (nStep < step) nLo = ClampToFloat(std::floor(double(min) / step) * step);
    }
    min = nLo;
    max = pHi;
    return step;
}

// Widens [lo, hi] by the present, finite values. Independent lanes let the compiler use
// vector instructions; the order of a minimum does not matter (zeros are unsigned below).
void WidenRange(const float* v, size_t n, float& lo, float& hi) {
    constexpr float kMax = std::numeric_limits<float>::max();
    constexpr size_t kLanes = 16;
    float l[kLanes], h[kLanes];
    for (size_t k = 0; k < kLanes; ++k) {
        l[k] = lo;
        h[k] = hi;
    }
    auto widen = [&](size_t k, float x) {
        const bool use = (x != MissingValue) & (x >= -kMax) & (x <= kMax);
        const float down = use ? x : kMax, up = use ? x : -kMax;
        l[k] = down < l[k] ? down : l[k];
        h[k] = up > h[k] ? up : h[k];
    };
    size_t r = 0;
    for (; r + kLanes <= n; r += kLanes)
        for (size_t k = 0; k < kLanes; ++k) widen(k, v[r + k]);
    for (; r < n; ++r) widen(0, v[r]);
    for (size_t k = 0; k < kLanes; ++k) {
        lo = l[k] < lo ? l[k] : lo;
        hi = h[k] > hi ? h[k] : hi;
    }
}

} // namespace

void DataTable::ComputeAxes() {
    if (!HasValues()) return;
    const size_t P = periods_.size(), I = indicators_.size(), R = rowKeys_.size();
    for (size_t i = 0; i < I; ++i) {
        float lo = std::numeric_limits<float>::max();
        float hi = -std::numeric_limits<float>::max();
        for (size_t p = 0; p < P; ++p) WidenRange(values_.data() + (p * I + i) * R, R, lo, hi);
        const bool any = lo <= hi;
        if (lo == 0.0f) lo = 0.0f; // +0 whichever zero came first
        if (hi == 0.0f) hi = 0.0f;
        AxisRange axis;
        if (any) {
            const bool zero = zeroAxis_ && rowMode_ != RowsTopLevel;
            const bool sameSign = (lo > 0 && hi > 0) || (lo < 0 && hi < 0);
            if (zero && sameSign) {
                if (hi >= 0)
                    lo = 0.0f;
                else
                    hi = 0.0f;
            }
            const bool spansZero = lo < 0 && hi > 0;
            if (!zero || !spansZero) {
                axis.step = NiceScale(lo, hi, 10);
            } else {
                float a = lo, b = hi;
                axis.step = ScaleHalves(a, b, 10);
                if (axis.step > 0 && (b - a) / axis.step > 10.0f) { // float, like the bounds
                    a = lo;
                    b = hi;
                    axis.step = ScaleHalves(a, b, 5);
                }
                lo = a;
                hi = b;
            }
            axis.min = lo;
            axis.max = hi;
        }
        computedAxes_[i] = axis;
        currentAxes_[i] = axis;
    }
}

} // namespace zor
