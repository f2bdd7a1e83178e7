#include "grids/TableExport.h"

#include "grids/HtmlText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zor::grids {

namespace {

bool IsMissing(std::string_view value) {
    return value == MissingText;
}

// The number and the name of a region row's first cell, as views into it.
std::pair<std::string_view, std::string_view> NumberAndName(std::string_view first) {
    size_t end = 0;
    while (end < first.size() && first[end] == ' ') ++end;
    while (end < first.size() && first[end] >= '0' && first[end] <= '9') ++end;
    return {first.substr(0, end),
            first.substr(end < first.size() && first[end] == ' ' ? end + 1 : end)};
}

// Table D's cell "12.5 - 2001" as "12.5 " and " 2001" (the blanks stay with the parts).
std::pair<std::string_view, std::string_view> SplitPeriodCode(std::string_view value) {
    const size_t dash = value.find(" - ");
    if (dash == std::string_view::npos) return {value, {}};
    return {value.substr(0, dash + 1), value.substr(dash + 2)};
}

// A template's text before and after its one "%s".
struct Around {
    std::string_view before, after;
};
Around AroundField(HtmlTemplate id) {
    const std::string_view t = Template(id);
    const size_t at = t.find("%s");
    if (at == std::string_view::npos) return {t, {}};
    return {t.substr(0, at), t.substr(at + 2)};
}

// Builds an export in one string: lines end as the file has them ("\r\n" in files, as written
// in text mode, "\n" for the clipboard), HTML escapes names and values, and values take the
// decimal symbol.
class Writer {
public:
    Writer(bool crlf, bool html, char decimal, size_t estimate) : decimal_(decimal) {
        out_.resize(estimate);
        // The bytes each kind of text replaces, looked up once per byte.
        auto mark = [](Special& s, std::string_view bytes) {
            for (const char c : bytes) s[static_cast<unsigned char>(c)] = true;
        };
        if (crlf) mark(raw_, "\n");
        name_ = raw_;
        if (html) mark(name_, "&<>");
        value_ = name_;
        if (decimal != '.') mark(value_, ".");
        eol_ = crlf ? "\r\n" : "\n";
    }
    // Template text: only its line breaks change.
    void Raw(std::string_view s) { Put(s, raw_); }
    // A name: escaped in HTML.
    void Name(std::string_view s) { Put(s, name_); }
    // A value: escaped, with the decimal symbol.
    void Value(std::string_view s) { Put(s, value_); }
    // printf's "%*s" (right) and "%-*s" (left): blanks up to `width` bytes, never cut.
    void Padded(std::string_view s, size_t width, bool right, bool value) {
        const size_t blanks = width > s.size() ? width - s.size() : 0;
        if (right) Blanks(blanks);
        value ? Value(s) : Name(s);
        if (!right) Blanks(blanks);
    }
    void Tab() { Put("\t", raw_); }
    void Line() { Copy(eol_); }
    std::string Take() {
        out_.resize(size_);
        return std::move(out_);
    }

private:
    using Special = std::array<bool, 256>;

    // Room for n more bytes (the buffer doubles when it is full).
    char* Room(size_t n) {
        if (size_ + n > out_.size()) out_.resize(std::max(out_.size() * 2, size_ + n));
        return out_.data() + size_;
    }
    void Copy(std::string_view s) {
        std::memcpy(Room(s.size()), s.data(), s.size());
        size_ += s.size();
    }
    void Blanks(size_t n) {
        std::memset(Room(n), ' ', n);
        size_ += n;
    }
    // The text with the special bytes replaced (at most 5 bytes each: "&amp;").
    void Put(std::string_view s, const Special& special) {
        char* to = Room(5 * s.size());
        for (const char c : s) {
            if (!special[static_cast<unsigned char>(c)]) {
                *to++ = c;
                continue;
            }
            std::string_view with;
            switch (c) {
            case '\n':
                with = "\r\n";
                break;
            case '&':
                with = "&amp;";
                break;
            case '<':
                with = "&lt;";
                break;
            case '>':
                with = "&gt;";
                break;
            default: // the decimal point
                with = std::string_view(&decimal_, 1);
            }
            to = std::copy(with.begin(), with.end(), to);
        }
        size_ = static_cast<size_t>(to - out_.data());
    }

    char decimal_;
    std::string_view eol_;
    Special raw_{}, name_{}, value_{};
    std::string out_; // the text is out_[0, size_)
    size_t size_ = 0;
};

size_t Estimate(const TableData& t) {
    return 1024 + t.rows.size() * (80 + t.headers.size() * 24);
}

void RegionsText(Writer& w, const TableData& t) {
    // Widths of the number and name fields over the shown rows ("%3d" takes three places up
    // to 999 rows; more rows widen the number instead of cutting it).
    size_t numberWidth = 3, nameWidth = 0;
    for (const TableData::Row& r : t.rows) {
        const auto [number, name] = NumberAndName(r.first);
        numberWidth = std::max(numberWidth, number.size());
        nameWidth = std::max(nameWidth, name.size());
    }
    const auto width = static_cast<size_t>(std::max(0, t.valueWidth));
    w.Name(t.title);
    w.Line();
    w.Padded("", numberWidth, false, false);
    w.Tab();
    w.Padded("", nameWidth, false, false);
    for (const std::string_view h : t.headers) {
        w.Tab();
        w.Padded(h, width, true, false);
    }
    w.Line();
    for (const TableData::Row& r : t.rows) {
        const auto [number, name] = NumberAndName(r.first);
        w.Padded(number, numberWidth, true, false);
        w.Tab();
        w.Padded(name, nameWidth, false, false);
        w.Tab();
        for (size_t c = 0; c < r.values.size(); ++c) {
            if (c > 0) w.Tab();
            const bool missing = IsMissing(r.values[c]);
            w.Padded(missing ? " " : r.values[c], width, true, !missing);
        }
        w.Line();
    }
}

void PeriodsText(Writer& w, const TableData& t) {
    size_t firstWidth = 0;
    for (const TableData::Row& r : t.rows) firstWidth = std::max(firstWidth, r.first.size());
    std::vector<size_t> widths;
    for (const std::string_view h : t.headers) widths.push_back(std::max<size_t>(h.size() + 1, 15));
    w.Name(t.title);
    w.Line();
    w.Padded(" ", firstWidth, false, false);
    for (size_t c = 0; c < t.headers.size(); ++c) {
        w.Tab();
        w.Padded(t.headers[c], widths[c], true, false);
    }
    w.Line();
    for (const TableData::Row& r : t.rows) {
        w.Padded(r.first, firstWidth, false, false);
        w.Tab();
        for (size_t c = 0; c < r.values.size() && c < widths.size(); ++c) {
            const bool missing = IsMissing(r.values[c]);
            w.Padded(missing ? " " : r.values[c], widths[c], true, !missing);
            w.Tab();
        }
        w.Line();
    }
}

std::string Text(const TableData& t, bool crlf) {
    Writer w(crlf, false, t.decimal, Estimate(t));
    if (t.shape == TableShape::Regions)
        RegionsText(w, t);
    else
        PeriodsText(w, t);
    return w.Take();
}

} // namespace

NumberedName SplitNumberedName(std::string_view first) {
    const auto [number, name] = NumberAndName(first);
    return {std::string(number), std::string(name)};
}

std::string ExportedValue(std::string_view value, char decimal) {
    std::string out(value);
    if (decimal != '.') std::replace(out.begin(), out.end(), '.', decimal);
    return out;
}

std::string TableTextLines(const TableData& t) {
    return Text(t, false);
}

std::string ExportTableText(const TableData& t) {
    return Text(t, true);
}

std::string ExportTableHtml(const TableData& t) {
    const bool regions = t.shape == TableShape::Regions;
    Writer w(true, true, t.decimal, Estimate(t));
    // The head, style and body templates hold their own line breaks.
    w.Raw(Fill(HtmlHead, {std::to_string(t.codePage), EscapeHtml(t.windowTitle)}));
    w.Line();
    w.Raw(Template(HtmlStyle));
    w.Line();
    w.Raw(Template(HtmlBody));
    w.Line();
    // The title row spans the whole table (no end of row follows it).
    const size_t span = t.headers.size() + (regions ? 2 : 1);
    w.Raw(Template(HtmlRowCentre));
    w.Raw(Fill(HtmlSpanCell, {std::to_string(span), EscapeHtml(t.title)}));
    w.Line();
    const Around cell = AroundField(HtmlCell), left = AroundField(HtmlLeftCell);
    auto put = [&w](const Around& a, std::string_view text, bool value) {
        w.Raw(a.before);
        value ? w.Value(text) : w.Name(text);
        w.Raw(a.after);
    };
    w.Raw(Template(HtmlRowCentre));
    if (regions)
        w.Raw(Fill(HtmlSpanCell, {"2", EscapeHtml(t.firstHeader)}));
    else
        put(cell, t.firstHeader, false);
    for (const std::string_view h : t.headers) put(cell, h, false);
    w.Raw(Template(HtmlRowEnd));
    w.Line();
    const std::string_view rowStart = Template(HtmlRowRight), rowEnd = Template(HtmlRowEnd);
    const std::string_view blank = Template(HtmlBlank);
    for (const TableData::Row& r : t.rows) {
        w.Raw(rowStart);
        if (regions) {
            const auto [number, name] = NumberAndName(r.first);
            put(left, number, false);
            put(left, name, false);
        } else {
            put(left, r.first, false);
        }
        // A missing value is a blank cell of its own, so the later cells keep their columns.
        for (const std::string_view v : r.values) {
            w.Raw(cell.before);
            if (IsMissing(v))
                w.Raw(blank);
            else
                w.Value(v);
            w.Raw(cell.after);
        }
        w.Raw(rowEnd);
        w.Line();
    }
    w.Raw(Template(HtmlEnd));
    w.Line();
    return w.Take();
}

std::string TableCopyFragment(const TableData& t) {
    const bool regions = t.shape == TableShape::Regions;
    Writer w(false, true, t.decimal, Estimate(t));
    w.Raw("<b>");
    w.Name(t.title);
    w.Raw("</b><TABLE><TR>");
    w.Raw(regions ? "<TD COLSPAN=\"2\">" : "<TD>");
    w.Name(t.firstHeader);
    w.Raw("</TD>");
    for (const std::string_view h : t.headers) {
        w.Raw(t.splitPeriodCodes ? "<TD COLSPAN=\"2\" ALIGN=\"CENTER\">" : "<TD>");
        w.Name(h);
        w.Raw("</TD>");
    }
    w.Raw("</TR>");
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const TableData::Row& r = t.rows[i];
        w.Raw("<TR><TD>");
        if (regions) {
            w.Raw(std::to_string(i + 1));
            w.Raw("</TD><TD>");
            w.Name(NumberAndName(r.first).second);
        } else {
            w.Name(r.first);
        }
        w.Raw("</TD>");
        for (const std::string_view v : r.values) {
            if (!t.splitPeriodCodes) {
                w.Raw("<TD>");
                IsMissing(v) ? w.Raw("&nbsp;") : w.Value(v);
                w.Raw("</TD>");
            } else if (IsMissing(v)) {
                w.Raw("<TD>&nbsp;</TD><TD>&nbsp;</TD>");
            } else {
                const auto [value, code] = SplitPeriodCode(v);
                w.Raw("<TD>");
                w.Value(value);
                w.Raw("</TD><TD>");
                w.Value(code);
                w.Raw("</TD>");
            }
        }
        w.Raw("</TR>");
    }
    w.Raw("</TABLE>");
    return w.Take();
}

} // namespace zor::grids
