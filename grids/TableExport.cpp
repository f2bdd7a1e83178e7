#include "grids/TableExport.h"

#include "grids/HtmlText.h"

#include <algorithm>

namespace zor::grids {

namespace {

// printf's "%*s" and "%-*s": padded with blanks to `width` bytes, never cut.
std::string PadLeft(std::string_view s, size_t width) {
    std::string out(width > s.size() ? width - s.size() : 0, ' ');
    out += s;
    return out;
}
std::string PadRight(std::string_view s, size_t width) {
    std::string out(s);
    if (width > out.size()) out.append(width - out.size(), ' ');
    return out;
}

bool IsMissing(std::string_view value) {
    return value == MissingText;
}

// Table D's cell "12.5 - 2001" as "12.5 " and " 2001" (the blanks stay with the parts).
std::pair<std::string, std::string> SplitPeriodCode(std::string_view value) {
    const size_t dash = value.find(" - ");
    if (dash == std::string_view::npos) return {std::string(value), std::string()};
    return {std::string(value.substr(0, dash + 1)), std::string(value.substr(dash + 2))};
}

std::string RegionsText(const TableData& t) {
    // Widths of the number and name fields over the shown rows ("%3d" takes three places up
    // to 999 rows; more rows widen the number instead of cutting it).
    size_t numberWidth = 3, nameWidth = 0;
    std::vector<NumberedName> split;
    split.reserve(t.rows.size());
    for (const TableData::Row& r : t.rows) {
        split.push_back(SplitNumberedName(r.first));
        numberWidth = std::max(numberWidth, split.back().number.size());
        nameWidth = std::max(nameWidth, split.back().name.size());
    }
    const auto width = static_cast<size_t>(std::max(0, t.valueWidth));
    std::string out = t.title + "\n";
    out += std::string(numberWidth, ' ') + "\t" + PadRight("", nameWidth);
    for (const std::string& h : t.headers) out += "\t" + PadLeft(h, width);
    out += "\n";
    for (size_t i = 0; i < t.rows.size(); ++i) {
        out += PadLeft(split[i].number, numberWidth) + "\t" + PadRight(split[i].name, nameWidth);
        out += "\t";
        const auto& values = t.rows[i].values;
        for (size_t c = 0; c < values.size(); ++c) {
            if (c > 0) out += "\t";
            out += PadLeft(IsMissing(values[c]) ? " " : ExportedValue(values[c], t.decimal), width);
        }
        out += "\n";
    }
    return out;
}

std::string PeriodsText(const TableData& t) {
    size_t firstWidth = 0;
    for (const TableData::Row& r : t.rows) firstWidth = std::max(firstWidth, r.first.size());
    std::vector<size_t> widths;
    for (const std::string& h : t.headers) widths.push_back(std::max<size_t>(h.size() + 1, 15));
    std::string out = t.title + "\n";
    out += PadRight(" ", firstWidth);
    for (size_t c = 0; c < t.headers.size(); ++c) out += "\t" + PadLeft(t.headers[c], widths[c]);
    out += "\n";
    for (const TableData::Row& r : t.rows) {
        out += PadRight(r.first, firstWidth) + "\t";
        for (size_t c = 0; c < r.values.size() && c < widths.size(); ++c) {
            const std::string& v = r.values[c];
            out += PadLeft(IsMissing(v) ? " " : ExportedValue(v, t.decimal), widths[c]) + "\t";
        }
        out += "\n";
    }
    return out;
}

} // namespace

NumberedName SplitNumberedName(std::string_view first) {
    size_t end = 0;
    while (end < first.size() && first[end] == ' ') ++end;
    while (end < first.size() && first[end] >= '0' && first[end] <= '9') ++end;
    NumberedName n;
    n.number = std::string(first.substr(0, end));
    n.name = std::string(first.substr(end < first.size() && first[end] == ' ' ? end + 1 : end));
    return n;
}

std::string ExportedValue(std::string_view value, char decimal) {
    std::string out(value);
    if (decimal != '.') std::replace(out.begin(), out.end(), '.', decimal);
    return out;
}

std::string TableTextLines(const TableData& t) {
    return t.shape == TableShape::Regions ? RegionsText(t) : PeriodsText(t);
}

std::string ExportTableText(const TableData& t) {
    return WithCrLf(TableTextLines(t));
}

std::string ExportTableHtml(const TableData& t) {
    const bool regions = t.shape == TableShape::Regions;
    std::string out;
    out += Fill(HtmlHead, {std::to_string(t.codePage), EscapeHtml(t.windowTitle)}) + "\n";
    out += std::string(Template(HtmlStyle)) + "\n";
    out += std::string(Template(HtmlBody)) + "\n";
    // The title row spans the whole table (no end of row follows it).
    const size_t span = t.headers.size() + (regions ? 2 : 1);
    out += std::string(Template(HtmlRowCentre)) +
           Fill(HtmlSpanCell, {std::to_string(span), EscapeHtml(t.title)}) + "\n";
    out += Template(HtmlRowCentre);
    out += regions ? Fill(HtmlSpanCell, {"2", EscapeHtml(t.firstHeader)})
                   : Fill(HtmlCell, {EscapeHtml(t.firstHeader)});
    for (const std::string& h : t.headers) out += Fill(HtmlCell, {EscapeHtml(h)});
    out += std::string(Template(HtmlRowEnd)) + "\n";
    for (const TableData::Row& r : t.rows) {
        out += Template(HtmlRowRight);
        if (regions) {
            const NumberedName n = SplitNumberedName(r.first);
            out += Fill(HtmlLeftCell, {EscapeHtml(n.number)});
            out += Fill(HtmlLeftCell, {EscapeHtml(n.name)});
        } else {
            out += Fill(HtmlLeftCell, {EscapeHtml(r.first)});
        }
        // A missing value is a blank cell of its own, so the later cells keep their columns.
        for (const std::string& v : r.values)
            out += Fill(HtmlCell, {IsMissing(v) ? Template(HtmlBlank)
                                                : EscapeHtml(ExportedValue(v, t.decimal))});
        out += std::string(Template(HtmlRowEnd)) + "\n";
    }
    out += std::string(Template(HtmlEnd)) + "\n";
    return WithCrLf(out);
}

std::string TableCopyFragment(const TableData& t) {
    const bool regions = t.shape == TableShape::Regions;
    std::string out = "<b>" + EscapeHtml(t.title) + "</b><TABLE><TR>";
    out += regions ? "<TD COLSPAN=\"2\">" : "<TD>";
    out += EscapeHtml(t.firstHeader) + "</TD>";
    for (const std::string& h : t.headers) {
        out += t.splitPeriodCodes ? "<TD COLSPAN=\"2\" ALIGN=\"CENTER\">" : "<TD>";
        out += EscapeHtml(h) + "</TD>";
    }
    out += "</TR>";
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const TableData::Row& r = t.rows[i];
        if (regions)
            out += "<TR><TD>" + std::to_string(i + 1) + "</TD><TD>" +
                   EscapeHtml(SplitNumberedName(r.first).name) + "</TD>";
        else
            out += "<TR><TD>" + EscapeHtml(r.first) + "</TD>";
        for (const std::string& v : r.values) {
            if (t.splitPeriodCodes) {
                if (IsMissing(v)) {
                    out += "<TD>&nbsp;</TD><TD>&nbsp;</TD>";
                } else {
                    const auto [value, code] = SplitPeriodCode(ExportedValue(v, t.decimal));
                    out += "<TD>" + EscapeHtml(value) + "</TD><TD>" + EscapeHtml(code) + "</TD>";
                }
            } else {
                out += "<TD>";
                out += IsMissing(v) ? "&nbsp;" : EscapeHtml(ExportedValue(v, t.decimal));
                out += "</TD>";
            }
        }
        out += "</TR>";
    }
    out += "</TABLE>";
    return out;
}

} // namespace zor::grids
