#include "core/Formats.h"

#include "core/Bytes.h"
#include "core/Texts.h"

#include <algorithm>

namespace zor {

namespace {

// A slot is empty when its name begins with "*"; a zero-filled name is empty too.
bool IsEmptySlotName(const std::string& name) {
    return name.empty() || name[0] == '*';
}

} // namespace

// ---------------------------------------------------------------- tmscl.bin

std::optional<std::vector<TimePeriod>> ParseTimePeriods(std::string_view bytes) {
    ByteReader r(bytes);
    int16_t n = r.i16();
    if (!r.ok() || n < 0 || !r.has(size_t(n) * 18)) return std::nullopt;
    std::vector<TimePeriod> periods(static_cast<size_t>(n));
    for (auto& p : periods) {
        p.code = r.i16();
        p.name = r.name(16);
    }
    for (size_t i = 0; i < periods.size(); ++i)
        for (size_t j = i + 1; j < periods.size(); ++j)
            if (periods[j].code < periods[i].code) std::swap(periods[i], periods[j]);
    return periods;
}

std::string WriteTimePeriods(const std::vector<TimePeriod>& periods) {
    ByteWriter w;
    w.i16(int16_t(periods.size()));
    for (const auto& p : periods) {
        w.i16(p.code);
        w.name(p.name, 16);
    }
    return w.data();
}

// ---------------------------------------------------------------- mainlist.grp / .ind

std::optional<std::vector<IndicatorGroup>> ParseGroupNames(std::string_view bytes) {
    ByteReader r(bytes);
    if (!r.magic("MGF")) return std::nullopt;
    int16_t len = r.i16();
    if (!r.ok() || len < 1 || !r.has(size_t(len) * 10)) return std::nullopt;
    std::vector<IndicatorGroup> groups;
    for (int i = 0; i < 10; ++i) {
        std::string name = r.name(size_t(len));
        if (IsEmptySlotName(name)) continue;
        IndicatorGroup g;
        g.id = int16_t(i);
        g.name = std::move(name);
        groups.push_back(std::move(g));
    }
    return groups;
}

std::string WriteGroupNames(const std::vector<IndicatorGroup>& groups, int nameLength) {
    ByteWriter w;
    w.bytes("MGF");
    w.i16(int16_t(nameLength));
    for (int i = 0; i < 10; ++i) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [i](const IndicatorGroup& g) { return g.id == i; });
        w.name(it != groups.end() ? std::string_view(it->name) : "*", size_t(nameLength));
    }
    return w.data();
}

std::optional<int> ParseMainlistHeader(std::string_view header5) {
    ByteReader r(header5);
    if (!r.magic("MIF")) return std::nullopt;
    int16_t len = r.i16();
    if (!r.ok() || len < 1) return std::nullopt;
    return len;
}

std::optional<IndicatorBlock> ParseIndicatorBlock(std::string_view block, int nameLength,
                                                  int groupId) {
    if (nameLength < 1 || block.size() < MainlistBlockSize(nameLength)) return std::nullopt;
    ByteReader r(block);
    IndicatorBlock out;
    out.count = r.i16();
    if (out.count == 0) return out;
    const size_t L = size_t(nameLength);
    for (int s = 0; s < GroupSlots; ++s) {
        std::string name = r.name(L);
        int16_t variantCount = r.i16();
        Indicator ind;
        ind.code = int16_t(groupId * 1000 + s * 10);
        for (int v = 0; v < VariantSlots; ++v) {
            std::string vname = r.name(L);
            if (variantCount != 0 && !IsEmptySlotName(vname))
                ind.variants.push_back({int16_t(ind.code + v + 1), std::move(vname)});
        }
        if (IsEmptySlotName(name)) continue;
        ind.name = std::move(name);
        out.indicators.push_back(std::move(ind));
    }
    return out;
}

std::string WriteMainlist(const std::vector<IndicatorGroup>& groups, int nameLength) {
    ByteWriter w;
    w.bytes("MIF");
    w.i16(int16_t(nameLength));
    const size_t L = size_t(nameLength);
    for (int g = 0; g < 10; ++g) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [g](const IndicatorGroup& x) { return x.id == g; });
        const Indicator* slots[GroupSlots] = {};
        int count = 0;
        if (it != groups.end()) {
            for (const auto& ind : it->indicators) {
                int s = (ind.code % 1000) / 10;
                if (s >= 0 && s < GroupSlots) slots[s] = &ind;
            }
            count = it->announced ? it->announced : int(it->indicators.size());
        }
        w.i16(int16_t(count));
        for (const Indicator* ind : slots) {
            w.name(ind ? std::string_view(ind->name) : "*", L);
            w.i16(int16_t(ind ? ind->variants.size() : 0));
            std::string_view vnames[VariantSlots];
            for (auto& v : vnames) v = "*";
            if (ind)
                for (const auto& v : ind->variants) {
                    int k = v.code % 10 - 1;
                    if (k >= 0 && k < VariantSlots) vnames[k] = v.name;
                }
            for (auto v : vnames) w.name(v, L);
        }
    }
    return w.data();
}

// ---------------------------------------------------------------- clist.bin / .par / .ind / cid

std::optional<std::vector<SetListEntry>> ParseSetList(std::string_view bytes) {
    ByteReader r(bytes);
    if (!r.magic("CLF")) return std::nullopt;
    int16_t len = r.i16();
    int16_t n = r.i16();
    if (!r.ok() || len < 1 || n < 0 || !r.has(size_t(n) * (2 + size_t(len)))) return std::nullopt;
    std::vector<SetListEntry> out(static_cast<size_t>(n));
    for (auto& e : out) {
        e.id = r.i16();
        e.name = r.name(size_t(len));
    }
    return out;
}

std::string WriteSetList(const std::vector<RegionSet>& sets, int nameLength) {
    ByteWriter w;
    w.bytes("CLF");
    w.i16(int16_t(nameLength));
    w.i16(int16_t(sets.size()));
    for (const auto& s : sets) {
        w.i16(s.id);
        w.name(s.name, size_t(nameLength));
    }
    return w.data();
}

bool ParseParFile(std::string_view bytes, RegionSet& set) {
    ByteReader r(bytes);
    if (!r.magic("CIF")) return false;
    int16_t len = r.i16();
    int16_t top = r.i16();
    // A set needs at least its total; ids are int16, so top + small must stay below 32768.
    if (!r.ok() || len < 1 || top < 1 || !r.has(size_t(top) * size_t(len))) return false;
    std::vector<Region> regions;
    regions.reserve(size_t(top));
    for (int i = 0; i < top; ++i) regions.push_back({int16_t(i + 1), r.name(size_t(len))});
    int16_t small = r.i16();
    if (!r.ok() || small < 0 || int(top) + int(small) > 32767 ||
        !r.has(size_t(small) * size_t(len)))
        return false;
    for (int i = 0; i < small; ++i) regions.push_back({int16_t(top + i + 1), r.name(size_t(len))});
    int16_t m = r.i16();
    if (!r.ok() || m < 0 || !r.has(size_t(m) * 2)) return false;
    std::vector<int16_t> par(static_cast<size_t>(m));
    for (auto& v : par) v = r.i16();
    set.topCount = top;
    set.smallCount = small;
    set.regions = std::move(regions);
    set.parValues = std::move(par);
    return true;
}

std::string WriteParFile(const RegionSet& set, int regionNameLength) {
    ByteWriter w;
    w.bytes("CIF");
    w.i16(int16_t(regionNameLength));
    w.i16(set.topCount);
    for (size_t i = 0; i < size_t(set.topCount); ++i)
        w.name(set.regions[i].name, size_t(regionNameLength));
    w.i16(set.smallCount);
    for (int i = 0; i < set.smallCount; ++i)
        w.name(set.regions[size_t(set.topCount) + size_t(i)].name, size_t(regionNameLength));
    w.i16(int16_t(set.parValues.size()));
    for (auto v : set.parValues) w.i16(v);
    return w.data();
}

bool ParseIndFile(std::string_view bytes, RegionSet& set) {
    ByteReader r(bytes);
    int16_t n = r.i16();
    if (!r.ok() || n < 0 || !r.has(size_t(n) * 2)) return false;
    std::vector<int16_t> codes(static_cast<size_t>(n));
    for (auto& c : codes) c = r.i16();
    set.indicators = std::move(codes);
    return true;
}

std::string WriteIndFile(const RegionSet& set) {
    ByteWriter w;
    w.i16(int16_t(set.indicators.size()));
    for (auto c : set.indicators) w.i16(c);
    return w.data();
}

bool ApplySetCodes(std::string_view bytes, std::vector<RegionSet>& sets) {
    ByteReader r(bytes);
    int16_t n = r.i16();
    if (!r.ok() || n < 0 || !r.has(size_t(n) * 5)) return false;
    for (int i = 0; i < n; ++i) {
        int16_t id = r.i16();
        std::string code = r.name(3);
        int k = FindRegionSetIndex(sets, id);
        if (k >= 0) sets[size_t(k)].code = std::move(code);
    }
    return true;
}

std::string WriteSetCodes(const std::vector<RegionSet>& sets) {
    ByteWriter w;
    int n = 0;
    for (const auto& s : sets) n += s.code.empty() ? 0 : 1;
    w.i16(int16_t(n));
    for (const auto& s : sets)
        if (!s.code.empty()) {
            w.i16(s.id);
            w.name(s.code, 3);
        }
    return w.data();
}

// ---------------------------------------------------------------- tmplist.ind

std::optional<TempListHeader> ParseTempListHeader(std::string_view header7) {
    ByteReader r(header7);
    if (!r.magic("TIF")) return std::nullopt;
    TempListHeader h;
    h.nameLength = r.i16();
    h.usedCount = r.i16();
    if (!r.ok() || h.nameLength < 1) return std::nullopt;
    return h;
}

TempIndicatorDef ParseTempSlot(std::string_view slot, int nameLength, int slotIndex) {
    ByteReader r(slot);
    TempIndicatorDef d;
    d.name = r.name(size_t(nameLength));
    d.code = int16_t(TempIndicatorBase + slotIndex);
    d.operation = r.i16();
    d.operandA = r.i16();
    d.operandB = r.i16();
    d.spare = r.i16();
    for (auto& p : d.parameters) p = r.f32();
    return d;
}

std::string WriteTempList(const std::vector<TempIndicatorDef>& defs, int nameLength) {
    TempIndicatorDef empty;
    empty.name = "*";
    std::vector<TempIndicatorDef> slots(size_t(TempSlotCount), empty);
    std::vector<bool> taken(size_t(TempSlotCount), false);
    int used = 0;
    for (const auto& d : defs) {
        const int s = d.code - TempIndicatorBase;
        if (s >= 0 && s < TempSlotCount && !taken[size_t(s)]) {
            slots[size_t(s)] = d;
            taken[size_t(s)] = true;
            ++used;
        }
    }
    return WriteTempSlots(slots, nameLength, used);
}

std::string WriteTempSlots(const std::vector<TempIndicatorDef>& slots, int nameLength,
                           int usedCount) {
    ByteWriter w;
    w.bytes("TIF");
    w.i16(int16_t(nameLength));
    w.i16(int16_t(usedCount));
    TempIndicatorDef empty;
    empty.name = "*";
    for (size_t s = 0; s < size_t(TempSlotCount); ++s) {
        const TempIndicatorDef& x = s < slots.size() ? slots[s] : empty;
        w.name(x.name, size_t(nameLength));
        w.i16(x.operation);
        w.i16(x.operandA);
        w.i16(x.operandB);
        w.i16(x.spare);
        for (float p : x.parameters) w.f32(p);
    }
    return w.data();
}

std::optional<std::vector<TempIndicatorDef>> ParseTempList(std::string_view bytes) {
    auto h = ParseTempListHeader(bytes.substr(0, std::min<size_t>(7, bytes.size())));
    if (!h) return std::nullopt;
    std::vector<TempIndicatorDef> out;
    for (int s = 0; s < TempSlotCount; ++s) {
        uint64_t off = TempSlotOffset(h->nameLength, s);
        size_t len = size_t(h->nameLength) + 40;
        if (off + len > bytes.size()) return std::nullopt;
        out.push_back(ParseTempSlot(bytes.substr(size_t(off), len), h->nameLength, s));
    }
    return out;
}

// ---------------------------------------------------------------- values, titles

std::string WriteValueFile(const std::vector<std::vector<float>>& records) {
    ByteWriter w;
    for (const auto& rec : records)
        for (float v : rec) w.f32(v);
    return w.data();
}

std::string WriteTitlesFile(const std::vector<TitleEntry>& entries, bool halfLengthMode) {
    ByteWriter head, body;
    head.u8(halfLengthMode ? 1 : 0);
    head.i16(int16_t(entries.size()));
    const uint32_t base = uint32_t(3 + 8 * entries.size());
    auto text = [&](const std::string& s) {
        std::string stored = s;
        if (halfLengthMode) stored += std::string(s.size(), '\0');
        body.u16(uint16_t(stored.size()));
        body.bytes(stored);
    };
    for (const auto& e : entries) {
        head.u32(e.id);
        head.u32(base + uint32_t(body.size()));
        text(e.defaultText);
        text(e.replacement);
    }
    return head.data() + body.data();
}

} // namespace zor
