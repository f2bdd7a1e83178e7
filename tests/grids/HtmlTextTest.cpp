// The pieces of the exports: filled templates, escaping, code pages, line ends and the
// "HTML Format" clipboard string, whose offsets are checked by slicing the string with them.
#include "grids/HtmlText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zor::grids {
namespace {

TEST(HtmlText, TemplatesAreFilledInOrderWithoutReadingTheArguments) {
    EXPECT_EQ(Fill(HtmlSpanCell, {"3", "Income"}), "<TD COLSPAN=\"3\">Income</TD>");
    EXPECT_EQ(Fill(HtmlCell, {"a%sb%d"}), "<TD>a%sb%d</TD>"); // a "%" in a name stays text
    EXPECT_EQ(Fill("100%% of %s", {"x"}), "100% of x");
    EXPECT_EQ(Fill(HtmlSpanCell, {"3"}), "<TD COLSPAN=\"3\"></TD>"); // missing arguments
    EXPECT_EQ(Fill("%x %", {"a"}), "%x %");
    EXPECT_EQ(std::string(Template(HtmlBlank)), "&nbsp;");
}

TEST(HtmlText, NamesAreEscapedSoTheyShowAsText) {
    EXPECT_EQ(EscapeHtml("A<B & C>"), "A&lt;B &amp; C&gt;");
    EXPECT_EQ(EscapeHtml("Plze\xF2 \"x\""), "Plze\xF2 \"x\"");
}

TEST(HtmlText, CodePagesAndLineEnds) {
    EXPECT_EQ(WindowsCodePage(0), 1252);
    EXPECT_EQ(WindowsCodePage(238), 1250);
    EXPECT_EQ(WindowsCodePage(204), 1251);
    EXPECT_EQ(WindowsCodePage(128), 932);
    EXPECT_EQ(WindowsCodePage(255), -1);
    EXPECT_EQ(WindowsCodePage(2), -1);
    EXPECT_EQ(WithCrLf("a\nb\n\n"), "a\r\nb\r\n\r\n");
}

// The four offsets of the header, each checked to be eight digits followed by "\r\n".
struct Offsets {
    size_t startHtml = 0, endHtml = 0, startFragment = 0, endFragment = 0;
};
Offsets ReadOffsets(const std::string& s) {
    auto field = [&](const std::string& name) -> size_t {
        const size_t at = s.find(name + ":");
        EXPECT_NE(at, std::string::npos) << name;
        if (at == std::string::npos) return 0;
        const std::string digits = s.substr(at + name.size() + 1, 8);
        EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << digits;
        EXPECT_EQ(s.substr(at + name.size() + 9, 2), "\r\n") << name;
        return std::strtoul(digits.c_str(), nullptr, 10);
    };
    return {field("StartHTML"), field("EndHTML"), field("StartFragment"), field("EndFragment")};
}

TEST(HtmlText, ClipboardStringWithItsByteOffsets) {
    const std::string s = ClipboardHtmlFormat("<b>x</b>");
    EXPECT_EQ(s, "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000180\r\n"
                 "StartFragment:00000111\r\nEndFragment:00000144\r\n<html><body>\r\n"
                 "<!--StartFragment -->\r\n<b>x</b>\r\n<!--EndFragment-->\r\n</body>\r\n</html>");
    const Offsets o = ReadOffsets(s);
    EXPECT_EQ(s.substr(o.startHtml, 6), "<html>");
    EXPECT_EQ(o.endHtml, s.size());
    EXPECT_EQ(s.substr(o.startFragment, 21), "<!--StartFragment -->");
    EXPECT_EQ(s.substr(o.endFragment), "<!--EndFragment-->\r\n</body>\r\n</html>");
}

TEST(HtmlText, OffsetsCountBytesOfUtf8) {
    // "Plzeň" has six bytes in UTF-8; a long fragment moves EndHTML past four digits.
    const std::string fragment = "<TD>Plze\xC5\x88</TD>" + std::string(20000, 'x');
    const std::string s = ClipboardHtmlFormat(fragment);
    const Offsets o = ReadOffsets(s);
    EXPECT_EQ(o.endHtml, s.size());
    EXPECT_GT(o.endHtml, 20000u);
    const size_t begin = o.startFragment + std::string("<!--StartFragment -->\r\n").size();
    EXPECT_EQ(s.substr(begin, o.endFragment - 2 - begin), fragment);
    EXPECT_EQ(s.substr(o.endFragment, 18), "<!--EndFragment-->");
}

} // namespace
} // namespace zor::grids
