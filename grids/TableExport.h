// The exports of the tables, from the texts of their cells: the tab-separated text file, the
// HTML file (from the templates of HtmlText.h) and the HTML fragment of "Copy". Everything stays
// single-byte text of the configured charset (the HTML file declares its code page); callers
// decode the fragment to UTF-8 for the clipboard.
//
// Two shapes: region tables (A, D, E) whose first cell is a running number and a region name
// ("%3d %s"), and period tables (B, C) whose first cell is a period name.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zor::grids {

// The text of a cell without a value.
inline constexpr std::string_view MissingText = ". . .";

enum class TableShape { Regions, Periods };

// The texts of a table. Headers and cells are views: into the grid they come from (which must not
// change while they are read), into string literals, or into the texts the data holds itself
// (Own); so it moves but is not copied.
struct TableData {
    TableData() = default;
    TableData(TableData&&) = default;
    TableData& operator=(TableData&&) = default;
    TableData(const TableData&) = delete;
    TableData& operator=(const TableData&) = delete;

    TableShape shape = TableShape::Regions;
    std::string windowTitle;               // the document title of the HTML file ("Table A")
    std::string title;                     // the grid's title (indicator, period or region name)
    std::string firstHeader;               // "Regions" or "Time periods"
    std::vector<std::string_view> headers; // the value columns'
    struct Row {
        std::string_view first;               // cell 0
        std::vector<std::string_view> values; // the value cells as shown (MissingText: none)
    };
    std::vector<Row> rows;
    // Keeps a text made for this table (its elements never move) and returns a view of it.
    std::string_view Own(std::string text) { return owned_.emplace_back(std::move(text)); }
    int valueWidth = 15;           // field width of values in the text of region tables
    int codePage = 1252;           // declared by the HTML file (-1: none)
    char decimal = '.';            // replaces "." in the values of every export
    bool splitPeriodCodes = false; // table D: "value - year" copied as two cells

private:
    std::deque<std::string> owned_;
};

// The running number (with its leading blanks) and the region name of a region row's first
// cell: the number ends at the first blank after its digits, the name follows that blank.
struct NumberedName {
    std::string number, name;
};
NumberedName SplitNumberedName(std::string_view first);

// The value as exported: "." replaced by the decimal symbol.
std::string ExportedValue(std::string_view value, char decimal);

// The text file's lines joined by "\n" (the file has "\r\n", see ExportTableText).
std::string TableTextLines(const TableData& t);
std::string ExportTableText(const TableData& t);
std::string ExportTableHtml(const TableData& t);
// The HTML fragment of "Copy" (no line breaks).
std::string TableCopyFragment(const TableData& t);

} // namespace zor::grids
