// The text pieces every grid export is built from: the HTML templates of the string table
// (135-148) filled in, HTML escaping of names, the Windows code page a document declares, file
// line ends, and the "HTML Format" clipboard string with its byte offsets.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zor::grids {

// Ids of the HTML templates in the program's string table.
enum HtmlTemplate : int {
    HtmlHead = 135,           // <HTML>..<TITLE>%s</TITLE></HEAD>, with CHARSET=windows-%d
    HtmlStyle = 136,          // the TR font style
    HtmlRowCentre = 137,      // <TR ... ALIGN="CENTER">
    HtmlRowRight = 138,       // <TR ... ALIGN="RIGHT">
    HtmlCell = 139,           // <TD>%s</TD>
    HtmlSpanCell = 140,       // <TD COLSPAN="%d">%s</TD>
    HtmlLeftCell = 141,       // <TD ALIGN="LEFT">%s</TD>
    HtmlRowEnd = 142,         // </TR>
    HtmlBody = 143,           // <BODY> and the <TABLE>
    HtmlEnd = 144,            // </TABLE></BODY></HTML>
    HtmlBlank = 145,          // &nbsp;
    HtmlListStyle = 146,      // the indicator list's style
    HtmlListIndentCell = 147, // <TD><DIV ID="SL">%s</DIV></TD>
    HtmlListRow = 148,        // <TR BGCOLOR="White">
};

// The template's text from the program's string resources ("" when there is none).
std::string_view Template(HtmlTemplate id);

// A template with its "%s" and "%d" (also "%u") fields replaced by `args` in order ("%%" is
// one "%"). Fields beyond the arguments become empty; the arguments are inserted as they are,
// so a "%" inside them is never read as a field.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string Fill(HtmlTemplate id, std::initializer_list<std::string_view> args);

// "&", "<" and ">" as character references, so that a name shows as text and never as markup.
std::string EscapeHtml(std::string_view text);

// The Windows code page number of a font charset (1252 for 0 and 1, 1250 for 238, ...), -1
// for a charset without one (OEM 255, symbol 2 and unknown ones).
int WindowsCodePage(int charset);

// Text-file line ends: every "\n" becomes "\r\n" (as a file written in text mode).
std::string WithCrLf(std::string_view text);

// The "HTML Format" clipboard string of a UTF-8 fragment: the header with StartHTML, EndHTML,
// StartFragment and EndFragment as 8-digit byte offsets, then <html><body>, the
// <!--StartFragment --> comment, the fragment, <!--EndFragment--> and the closing tags.
std::string ClipboardHtmlFormat(std::string_view fragment);

} // namespace zor::grids
