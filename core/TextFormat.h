// Number texts made from format strings of the string table ("Correlation: %.3g ...", "Page
// %d"). A titles file may replace such a string with any text, so the format is never handed
// to printf as it is: each conversion is checked and formatted on its own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zor {

// Fills the conversions of `format` with `values` in order. Conversions are the printf ones
// for numbers, with flags, width and precision: e f g E G (the value as it is) and d i (the
// value truncated toward zero); "%%" is a percent sign. Any other conversion ("%s", "%n", a
// "*" width) and a conversion without a value left are copied as they are written; widths and
// precisions above 99 are cut to 99.
std::string FormatNumbers(std::string_view format, std::initializer_list<double> values);

} // namespace zor
