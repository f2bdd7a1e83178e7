#include "indicators/IndicatorList.h"

#include "core/Charset.h"
#include "core/JsonWriter.h"
#include "draw/NullContext.h"
#include "grids/HtmlText.h"

#include <algorithm>
#include <cstdio>

namespace zor::indicators {

namespace {

std::string Digits(int value, const char* format) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

} // namespace

std::vector<int> ListedGroups(const std::vector<IndicatorGroup>& groups) {
    std::vector<int> out;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].id > 9) break;
        if (groups[g].id >= 0) out.push_back(static_cast<int>(g));
    }
    return out;
}

std::vector<ListLine> BuildListLines(const std::vector<IndicatorGroup>& groups,
                                     const std::vector<int>& chosen, bool all) {
    std::vector<ListLine> lines;
    for (const int index : chosen) {
        if (index < 0 || static_cast<size_t>(index) >= groups.size()) continue;
        const IndicatorGroup& g = groups[static_cast<size_t>(index)];
        if (!lines.empty()) lines.push_back({ListLevel::Separator, -1, {}});
        lines.push_back({ListLevel::Heading, g.id, g.name});
        for (const Indicator& i : g.indicators) {
            lines.push_back({ListLevel::Indicator, i.code, i.name});
            if (all)
                for (const Variant& v : i.variants)
                    lines.push_back({ListLevel::SubIndicator, v.code, v.name});
        }
    }
    return lines;
}

std::string LineLabel(const ListLine& line) {
    switch (line.level) {
    case ListLevel::Separator:
        return {};
    case ListLevel::Heading:
        return Digits(line.code, "%2.2d") + " " + line.name;
    case ListLevel::Indicator:
    case ListLevel::SubIndicator:
        return Digits(line.code, "%4.4d") + " " + line.name;
    }
    return {};
}

draw::Font ListFont(bool bold, int charset) {
    draw::Font f;
    f.face = "Arial";
    f.height = ListFontHeight;
    f.weight = bold ? 700 : 400;
    f.charset = charset;
    return f;
}

ListMeasure MeasureList(const draw::DeviceContext& dc, const std::vector<ListLine>& lines,
                        int charset) {
    const std::unique_ptr<draw::NullContext> probe = draw::ProbeOf(dc);
    probe->SetMapMode(draw::MapMode::LoMetric);
    const draw::Font normal = ListFont(false, charset), bold = ListFont(true, charset);
    ListMeasure m;
    probe->SetFont(normal);
    m.lineHeight = probe->TextExtent("0").cy;
    for (const ListLine& line : lines) {
        if (line.level == ListLevel::Separator) continue;
        probe->SetFont(line.level == ListLevel::Heading ? bold : normal);
        int width = probe->TextExtent(DecodeToUtf8(LineLabel(line), charset)).cx;
        if (line.level == ListLevel::SubIndicator) width += ListSubIndent;
        m.maxWidth = std::max(m.maxWidth, width);
    }
    return m;
}

std::vector<ListPage> PaginateList(const std::vector<ListLine>& lines, int linesPerPage) {
    std::vector<ListPage> pages;
    const int count = static_cast<int>(lines.size());
    const int per = std::max(1, linesPerPage);
    int first = 0;
    while (first < count) {
        if (lines[static_cast<size_t>(first)].level == ListLevel::Separator) {
            ++first;
            continue;
        }
        const int last = std::min(count - 1, first + per - 1);
        pages.push_back({first, last});
        first = last + 1;
    }
    return pages;
}

ListLayout LayoutList(const ListMeasure& measure, const std::vector<ListLine>& lines,
                      const grids::Paper& paper) {
    ListLayout l;
    l.width = paper.width - 2 * ListMarginX;
    l.height = paper.height - 2 * ListMarginY;
    l.maxWidth = measure.maxWidth;
    l.lineHeight = std::max(1, measure.lineHeight);
    // Each column takes its widest line and a gap, so the columns stay within the page.
    l.columns = std::max(1, (l.width - ListColumnGap) / (l.maxWidth + ListColumnGap));
    l.linesPerColumn = std::max(1, l.height / l.lineHeight);
    l.linesPerPage = l.linesPerColumn * l.columns;
    l.offset = std::max(0, (l.height - l.linesPerColumn * l.lineHeight) / 2);
    l.firstColumnX =
        (l.width + ListColumnGap - (l.maxWidth + ListColumnGap) * l.columns) / 2 + ListMarginX;
    l.pages = PaginateList(lines, l.linesPerPage);
    return l;
}

IndicatorListPrint::IndicatorListPrint(std::vector<ListLine> lines, int charset,
                                       std::string pageText)
    : lines_(std::move(lines)), charset_(charset), pageText_(std::move(pageText)) {}

int IndicatorListPrint::CountPages(const draw::DeviceContext& dc, const draw::Rect& page) {
    // The widths are measured once, with the first device; every other paper lays them out
    // again.
    if (!measure_) measure_ = MeasureList(dc, lines_, charset_);
    const grids::Paper paper = grids::PaperOf(dc.Device(), page);
    if (paper.width != paper_.width || paper.height != paper_.height || layout_.pages.empty()) {
        paper_ = paper;
        layout_ = LayoutList(*measure_, lines_, paper_);
    }
    return layout_.PageCount();
}

void IndicatorListPrint::PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int index) {
    CountPages(dc, page);
    if (index < 0 || index >= layout_.PageCount()) return;
    const ListLayout& l = layout_;
    const ListPage& p = l.pages[static_cast<size_t>(index)];

    draw::StateSaver saver(dc);
    dc.SetMapMode(draw::MapMode::LoMetric);
    dc.SetViewportOrg(page.left, page.top);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextColor(draw::Black);
    const draw::Font normal = ListFont(false, charset_), bold = ListFont(true, charset_);

    dc.SetFont(normal);
    dc.SetTextAlign(draw::ta::Right | draw::ta::Top);
    dc.Text(l.width + ListMarginX, 0, grids::Fill(pageText_, {std::to_string(index + 1)}));

    for (int c = 0; c < l.columns; ++c) {
        const int x0 = l.ColumnX(c);
        int y = -l.offset - ListMarginY;
        const int from = p.first + c * l.linesPerColumn;
        const int to = std::min(p.last, from + l.linesPerColumn - 1);
        for (int k = from; k <= to; ++k, y -= l.lineHeight) {
            const ListLine& line = lines_[static_cast<size_t>(k)];
            const std::string label = DecodeToUtf8(LineLabel(line), charset_);
            switch (line.level) {
            case ListLevel::Separator:
                break;
            case ListLevel::Heading:
                dc.SetFont(bold);
                dc.SetTextAlign(draw::ta::Center | draw::ta::Top);
                dc.Text(x0 + (l.maxWidth + ListColumnGap) / 2, y, label);
                break;
            case ListLevel::Indicator:
            case ListLevel::SubIndicator:
                dc.SetFont(normal);
                dc.SetTextAlign(draw::ta::Left | draw::ta::Top);
                dc.Text(line.level == ListLevel::SubIndicator ? x0 + ListSubIndent : x0, y, label);
                break;
            }
        }
    }
}

std::string ExportListHtml(const std::vector<ListLine>& lines, int codePage,
                           std::string_view title) {
    using namespace grids;
    std::string out = Fill(HtmlHead, {std::to_string(codePage), EscapeHtml(title)});
    out += "\n";
    out += Template(HtmlListStyle);
    out += "\n";
    out += Template(HtmlBody);
    out += "\n";
    for (const ListLine& line : lines) {
        const std::string name = EscapeHtml(line.name);
        switch (line.level) {
        case ListLevel::Separator:
            out += Template(HtmlRowCentre);
            out += Fill(HtmlSpanCell, {"2", Template(HtmlBlank)});
            break;
        case ListLevel::Heading:
            out += Template(HtmlRowCentre);
            out += Fill(HtmlSpanCell, {"2", "<B>" + name + "</B>"});
            break;
        case ListLevel::Indicator:
            out += Template(HtmlRowCentre);
            out += Fill(HtmlCell, {Digits(line.code, "%4.4d")});
            out += Fill(HtmlLeftCell, {name});
            break;
        case ListLevel::SubIndicator:
            out += Template(HtmlListRow);
            out += Fill(HtmlListIndentCell, {Digits(line.code, "%4.4d")});
            out += Fill(HtmlListIndentCell, {name});
            break;
        }
        out += Template(HtmlRowEnd);
        out += "\n";
    }
    out += Template(HtmlEnd);
    out += "\n";
    return WithCrLf(out);
}

std::string ExportListText(const std::vector<ListLine>& lines) {
    std::string out;
    for (const ListLine& line : lines) {
        switch (line.level) {
        case ListLevel::Separator:
            break;
        case ListLevel::Heading:
            out += "\t" + line.name;
            break;
        case ListLevel::Indicator:
            out += Digits(line.code, "%4.4d") + "\t" + line.name;
            break;
        case ListLevel::SubIndicator:
            out += "\t" + Digits(line.code, "%4.4d") + "\t" + line.name;
            break;
        }
        out += "\n";
    }
    return grids::WithCrLf(out);
}

int ListCodePage(int charset) {
    const int page = grids::WindowsCodePage(charset);
    return page > 0 ? page : 1252;
}

std::optional<std::string> ExportListFor(std::string_view path, const std::vector<ListLine>& lines,
                                         int charset, std::string_view title) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == "html") return ExportListHtml(lines, ListCodePage(charset), title);
    if (extension == "txt") return ExportListText(lines);
    return std::nullopt;
}

void WriteListJson(JsonWriter& json, const std::vector<ListLine>& lines, const ListLayout& layout,
                   int charset) {
    json.BeginObject().Key("lines").BeginArray();
    for (const ListLine& line : lines)
        json.BeginObject()
            .Key("level")
            .Int(static_cast<int>(line.level))
            .Key("code")
            .Int(line.code)
            .Key("text")
            .String(DecodeToUtf8(line.name, charset))
            .EndObject();
    json.EndArray().Key("pages").BeginArray();
    for (const ListPage& p : layout.pages) json.BeginArray().Int(p.first).Int(p.last).EndArray();
    json.EndArray().EndObject();
}

} // namespace zor::indicators
