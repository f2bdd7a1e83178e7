#include "indicators/TempEditor.h"

#include "core/Charset.h"
#include "core/DataStore.h"
#include "core/FileUtil.h"
#include "core/Formats.h"
#include "core/Selection.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zor::indicators {

namespace {

// Longest title the form reads (the file's field cuts it further).
constexpr size_t MaxTitleBytes = 255;
// Largest tmplist.ind accepted (100 slots of a name length up to 32767).
constexpr size_t MaxListFile = size_t(8) << 20;

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::string_view t = Trimmed(text);
    if (t.empty()) return std::nullopt;
    double v = 0;
    const char* begin = t.data();
    if (*begin == '+') ++begin;
    const auto r = std::from_chars(begin, t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// Checks an operand field; the code or an error message.
std::string CheckOperand(DataStore& store, std::string_view text, const char* field, int& code) {
    const std::optional<int> value = LeadingInteger(text);
    if (!value) return std::string("Choose the indicator ") + field + ".";
    if (*value >= TempIndicatorBase)
        return std::string(field) + " " + std::to_string(*value) +
               " is a temporary indicator: a temporary indicator is computed from stored "
               "indicators only.";
    if (!StoredIndicatorName(store, *value))
        return std::string(field) + " " + std::to_string(*value) +
               " is not an indicator of the catalogue.";
    code = *value;
    return {};
}

} // namespace

TypePage PageOf(int type) {
    switch (type) {
    case Ratio:
    case Product:
        return {1, true, true, false};
    case Sum:
    case Difference:
        return {2, true, false, false};
    case Change:
        return {3, false, false, false};
    case RelativeChange:
        return {4, false, true, false};
    case MovingAverage:
        return {5, false, false, true};
    default:
        return {};
    }
}

bool IsFormulaType(int type) {
    return type >= Ratio && type <= MovingAverage;
}

const char* FormulaText(int type) {
    switch (type) {
    case Ratio:
        return "C * (I1 / I2)";
    case Product:
        return "C * (I1 * I2)";
    case Sum:
        return "I1 + I2";
    case Difference:
        return "I1 - I2";
    case Change:
        return "I(y) - I(y-1)";
    case RelativeChange:
        return "C * ((I(y) - I(y-1)) / I(y-1))";
    case MovingAverage:
        return "Moving average";
    default:
        return "";
    }
}

bool IsEmptySlot(const TempIndicatorDef& def) {
    return def.operation == -1 || def.name.empty() || def.name[0] == '*';
}

void MakeEmpty(TempIndicatorDef& def) {
    def.name = "*";
    def.operation = -1;
    def.operandA = -1;
    def.operandB = -1;
    def.spare = -1;
    def.parameters.fill(0.0f);
}

std::string CodeText(int code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4.4d", code);
    return buf;
}

std::optional<int> LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const size_t digits = i;
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        // Far beyond any code; keeps the arithmetic in range.
        if (value < 100000000) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digits) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

std::optional<std::string> StoredIndicatorName(DataStore& store, int code) {
    if (code < 0 || code >= TempIndicatorBase) return std::nullopt;
    const int group = store.FindGroup(code / 1000);
    if (group < 0) return std::nullopt;
    store.LoadGroupIndicators(group); // nothing when they are read already
    for (const Indicator& i : store.Groups()[static_cast<size_t>(group)].indicators) {
        if (i.code == code) return i.name;
        for (const Variant& v : i.variants)
            if (v.code == code) return v.name;
    }
    return std::nullopt;
}

DefaultOperands FindDefaultOperands(DataStore& store) {
    std::vector<size_t> filled;
    for (size_t g = 0; g < store.Groups().size(); ++g) {
        if (store.Groups()[g].id < 0 || store.Groups()[g].id > 9) continue;
        store.LoadGroupIndicators(static_cast<int>(g));
        if (!store.Groups()[g].indicators.empty()) filled.push_back(g);
    }
    DefaultOperands d;
    if (filled.empty()) return d;
    const std::vector<Indicator>& first = store.Groups()[filled[0]].indicators;
    d.first = first[0].code;
    if (first.size() >= 2)
        d.second = first[1].code;
    else if (!first[0].variants.empty())
        d.second = first[0].variants[0].code;
    else if (filled.size() >= 2)
        d.second = store.Groups()[filled[1]].indicators[0].code;
    else
        d.second = d.first;
    return d;
}

std::string StoreForm(const TempForm& form, TempIndicatorDef& def, DataStore& store,
                      int nameLength) {
    if (!IsFormulaType(form.type)) return "Choose the formula type.";
    const TypePage page = PageOf(form.type);

    const std::string_view title = Trimmed(form.title);
    if (title.empty()) return "Type a title.";
    if (title.front() == '*') return "A title cannot begin with \"*\", which marks an empty slot.";
    std::optional<std::string> name = EncodeFromUtf8(title, store.Charset());
    if (!name)
        return "The title has characters that the code page of the data (charset " +
               std::to_string(store.Charset()) + ") cannot hold.";
    name->resize(std::min({name->size(), MaxTitleBytes, static_cast<size_t>(nameLength)}));

    const bool two = page.second;
    int a = 0, b = def.operandB;
    if (std::string e = CheckOperand(store, form.first, two ? "I1" : "I", a); !e.empty()) return e;
    if (two)
        if (std::string e = CheckOperand(store, form.second, "I2", b); !e.empty()) return e;

    float coefficient = def.parameters[0];
    if (page.coefficient) {
        const std::optional<double> c = ParseNumber(form.coefficient);
        if (!c || std::fabs(*c) > 3.0e38)
            return "C: " + Quoted(form.coefficient) + " is not a number.";
        coefficient = static_cast<float>(*c);
    }
    float years = def.parameters[1];
    if (page.years) {
        const std::optional<double> y = ParseNumber(form.years);
        if (!y || *y != std::floor(*y) || *y < 1 || *y > MaxAverageYears)
            return "The number of years must be a whole number from 1 to " +
                   std::to_string(MaxAverageYears) + ".";
        years = static_cast<float>(*y);
    }

    def.name = std::move(*name);
    def.operation = static_cast<int16_t>(form.type);
    def.operandA = static_cast<int16_t>(a);
    def.operandB = static_cast<int16_t>(b);
    def.parameters[0] = coefficient;
    def.parameters[1] = years;
    return {};
}

// --- The editor --------------------------------------------------------------------------------

TempEditor::TempEditor(DataStore& store) : store_(store) {}

bool TempEditor::Open(const std::string& path) {
    path_ = ResolvePath(path);
    const std::optional<std::string> bytes = ReadWholeFile(path_, MaxListFile);
    return bytes && OpenBytes(*bytes);
}

bool TempEditor::OpenBytes(std::string_view bytes) {
    const auto header = ParseTempListHeader(bytes.substr(0, std::min<size_t>(7, bytes.size())));
    if (!header) return false;
    nameLength_ = header->nameLength;
    slots_.clear();
    const size_t slotLength = static_cast<size_t>(nameLength_) + 40;
    for (int s = 0; s < TempSlotCount; ++s) {
        const uint64_t at = TempSlotOffset(nameLength_, s);
        if (at + slotLength <= bytes.size()) {
            slots_.push_back(
                ParseTempSlot(bytes.substr(static_cast<size_t>(at), slotLength), nameLength_, s));
        } else { // a cut file: its missing slots are empty
            TempIndicatorDef d;
            MakeEmpty(d);
            d.code = static_cast<int16_t>(TempIndicatorBase + s);
            slots_.push_back(std::move(d));
        }
    }
    current_ = Root;
    FillForm();
    return true;
}

std::string TempEditor::ItemText(int slot) const {
    if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return {};
    const TempIndicatorDef& d = slots_[static_cast<size_t>(slot)];
    return std::to_string(d.code) + " " + DecodeToUtf8(d.name, store_.Charset());
}

int TempEditor::InitialSlot() const {
    for (size_t s = 0; s < slots_.size(); ++s)
        if (!IsEmptySlot(slots_[s])) return static_cast<int>(s);
    return 0;
}

int TempEditor::DefinedCount() const {
    int n = 0;
    for (const TempIndicatorDef& d : slots_)
        if (!IsEmptySlot(d)) ++n;
    return n;
}

void TempEditor::ShowEmpty(bool slot) {
    form_ = TempForm{};
    form_.insertEnabled = slot;
}

void TempEditor::FillForm() {
    changed_ = false;
    if (current_ == Root || static_cast<size_t>(current_) >= slots_.size()) {
        ShowEmpty(false);
        return;
    }
    const TempIndicatorDef& d = slots_[static_cast<size_t>(current_)];
    if (IsEmptySlot(d)) {
        ShowEmpty(true);
        return;
    }
    form_ = TempForm{};
    form_.code = std::to_string(d.code);
    form_.title = DecodeToUtf8(d.name, store_.Charset());
    form_.type = IsFormulaType(d.operation) ? int{d.operation} : int{NoType};
    form_.first = CodeText(d.operandA);
    form_.second = CodeText(d.operandB);
    char c[64];
    std::snprintf(c, sizeof c, "%f", static_cast<double>(d.parameters[0]));
    form_.coefficient = c;
    const float w = d.parameters[1];
    form_.years = std::to_string(std::isfinite(w) && std::fabs(w) < 1e9f ? static_cast<int>(w) : 0);
    form_.titleEnabled = form_.typeEnabled = form_.saveItemEnabled = form_.deleteEnabled = true;
}

std::string TempEditor::Select(int slot) {
    if (slot < Root || slot >= static_cast<int>(slots_.size())) return {};
    if (slot == current_) return {};
    if (current_ != Root)
        if (std::string error = SaveCurrentItem(); !error.empty()) return error;
    current_ = slot;
    FillForm();
    return {};
}

void TempEditor::SetTitle(std::string text) {
    if (!form_.titleEnabled) return;
    form_.title = std::move(text);
    changed_ = true;
}
void TempEditor::SetType(int type) {
    if (!form_.typeEnabled) return;
    form_.type = IsFormulaType(type) ? type : NoType;
    changed_ = true;
}
void TempEditor::SetFirst(std::string text) {
    if (!form_.typeEnabled) return;
    form_.first = std::move(text);
    changed_ = true;
}
void TempEditor::SetSecond(std::string text) {
    if (!form_.typeEnabled) return;
    form_.second = std::move(text);
    changed_ = true;
}
void TempEditor::SetCoefficient(std::string text) {
    if (!form_.typeEnabled) return;
    form_.coefficient = std::move(text);
    changed_ = true;
}
void TempEditor::SetYears(std::string text) {
    if (!form_.typeEnabled) return;
    form_.years = std::move(text);
    changed_ = true;
}

bool TempEditor::Insert() {
    if (current_ == Root || !form_.insertEnabled) return false;
    TempIndicatorDef& d = slots_[static_cast<size_t>(current_)];
    d.name = CodeText(d.code);
    d.operation = Ratio;
    d.operandA = 0;
    d.operandB = 0;
    d.parameters[0] = DefaultCoefficient;
    FillForm();
    const DefaultOperands defaults = FindDefaultOperands(store_);
    form_.first = CodeText(defaults.first);
    form_.second = CodeText(defaults.second);
    changed_ = true; // the operands reach the slot with Save current item
    return true;
}

bool TempEditor::Delete() {
    if (current_ == Root || !form_.deleteEnabled) return false;
    MakeEmpty(slots_[static_cast<size_t>(current_)]);
    FillForm();
    return true;
}

std::string TempEditor::SaveCurrentItem() {
    if (current_ == Root) return {};
    TempIndicatorDef& d = slots_[static_cast<size_t>(current_)];
    if (!form_.typeEnabled) {
        if (!IsEmptySlot(d)) MakeEmpty(d);
        return {};
    }
    if (!changed_) return {};
    if (std::string error = StoreForm(form_, d, store_, nameLength_); !error.empty())
        return CodeText(d.code) + ": " + error;
    changed_ = false;
    return {};
}

std::string TempEditor::ListBytes() const {
    return WriteTempSlots(slots_, nameLength_, DefinedCount());
}

std::string TempEditor::SaveList(Selection* selection, const FileWriter& writer) {
    if (std::string error = SaveCurrentItem(); !error.empty()) return error;
    const std::string bytes = ListBytes();
    const bool written = writer ? writer(path_, bytes) : WriteFileAtomic(path_, bytes);
    if (!written)
        return "The temporary indicator list could not be written to " + path_ +
               "; the file keeps its previous contents.";
    ReloadTemporaryIndicators(store_, selection);
    return {};
}

void ReloadTemporaryIndicators(DataStore& store, Selection* selection) {
    if (selection) selection->RemoveTemporaryIndicators();
    const int group = store.FindGroup(TempGroupId);
    if (group >= 0) store.ReloadGroupIndicators(group);
}

} // namespace zor::indicators
