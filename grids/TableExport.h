// The exports of the tables, from the texts of their cells: the tab-separated text file, the
// HTML file (from the templates of HtmlText.h) and the HTML fragment of "Copy". Everything stays
// single-byte text of the configured charset (the HTML file declares its code page); callers
// decode the fragment to UTF-8 for the clipboard.
//
// Two shapes: region tables (A, D, E) whose first cell is a running number and a region name
// ("%3d %s"), and period tables (B, C) whose first cell is a period name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zor::grids {

// The text of a cell without a value.
inline constexpr std::string_view MissingText = ". . .";

enum class TableShape { Regions, Periods };

struct TableData {
    TableShape shape = TableShape::Regions;
    std::string windowTitle;          // the document title of the HTML file ("Table A")
    std::string title;                // the grid's title (indicator, period or region name)
    std::string firstHeader;          // "Regions" or "Time periods"
    std::vector<std::string> headers; // the value columns'
    struct Row {
        std::string first;               // cell 0
        std::vector<std::string> values; // the value cells as shown (MissingText: none)
    };
    std::vector<Row> rows;
    int valueWidth = 15;           // field width of values in the text of region tables
    int codePage = 1252;           // declared by the HTML file (-1: none)
    char decimal = '.';            // replaces "." in the values of every export
    bool splitPeriodCodes = false; // table D: "value - year" copied as two cells
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
