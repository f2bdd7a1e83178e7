// Single-byte names in the data files are text in the code page of the configured charset.
// They stay bytes in the core and in every file we write; these functions convert for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zor {

// The code page name (for iconv) of a font charset: 0 and 1 = Windows-1252, 238 = 1250,
// 204 = 1251, 161 = 1253, 162 = 1254, 177 = 1255, 178 = 1256, 186 = 1257, 163 = 1258,
// 222 = 874, 128 = 932, 134 = 936, 129 = 949, 136 = 950, 255 = 437. nullptr when unknown.
const char* CodePageOfCharset(int charset);

// Decodes single-byte text of the given charset to UTF-8. Unknown charsets decode as
// Windows-1252; bytes the code page leaves undefined become U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, int charset);

// Encodes UTF-8 text into the code page of the charset; nullopt when a character has no
// encoding there or the input is not valid UTF-8.
std::optional<std::string> EncodeFromUtf8(std::string_view utf8, int charset);

} // namespace zor
