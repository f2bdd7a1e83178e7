// Runs the inddefc program on projects made in temporary directories.
#include "core/Bytes.h"
#include "core/InddefReader.h"
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace zor {
namespace {

namespace fs = std::filesystem;
using Defs = test::Definitions;

std::string BuildFile(const Defs& defs) {
    return test::DefinitionsFileBytes(defs);
}

// Parses inddef.bin strictly: records follow the index in index order and fill the file.
Defs ParseFile(const std::string& bytes) {
    ByteReader r(bytes);
    int n = r.i16();
    EXPECT_GE(n, 0);
    std::vector<std::pair<int16_t, uint32_t>> index;
    for (int i = 0; i < n; ++i) {
        int16_t code = r.i16();
        uint32_t off = r.u32();
        index.push_back({code, off});
    }
    Defs defs;
    for (auto [code, off] : index) {
        EXPECT_EQ(off, r.pos());
        int32_t len = r.i32();
        defs.push_back({code, r.bytes(size_t(std::max(len, 0)))});
    }
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
    return defs;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t p; (p = s.find(sep, start)) != std::string::npos; start = p + 1)
        out.push_back(s.substr(start, p - start));
    out.push_back(s.substr(start));
    return out;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> out;
    for (auto& w : Split(s, ' '))
        if (!w.empty()) out.push_back(w);
    return out;
}

// The lines a paragraph of single-blank-separated words breaks into at width 100.
std::vector<std::vector<std::string>> GreedyLines(const std::vector<std::string>& words) {
    std::vector<std::vector<std::string>> lines(1);
    size_t len = 0;
    for (const auto& w : words) {
        if (!lines.back().empty() && len + 1 + w.size() > 100) {
            lines.emplace_back();
            len = 0;
        }
        len += (lines.back().empty() ? 0 : 1) + w.size();
        lines.back().push_back(w);
    }
    return lines;
}

// Words of pseudo-random lengths 1..12.
std::vector<std::string> MakeWords(size_t count, uint32_t seed) {
    std::vector<std::string> words;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        size_t len = 1 + (seed >> 16) % 12;
        words.push_back(std::string(len, char('a' + i % 26)));
    }
    return words;
}

std::string Join(const std::vector<std::string>& words) {
    std::string s;
    for (const auto& w : words) s += (s.empty() ? "" : " ") + w;
    return s;
}

class InddefcTest : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& bytes) {
        test::WriteFile(dir_.file(name), bytes);
    }
    std::string Get(const std::string& name) { return test::ReadFile(dir_.file(name)); }

    test::ToolResult Run(std::optional<uint32_t> seed = std::nullopt) {
        std::vector<std::string> env;
        if (seed) env.push_back("INDDEFC_SEED=" + std::to_string(*seed));
        return test::RunTool("inddefc", {}, dir_.path(), env);
    }

    std::vector<std::string> Listing() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Compiles one source holding one definition and returns its text.
    std::string CompileText(const std::string& body, uint32_t seed) {
        Put("inddef.prj", "a.txt\n");
        Put("a.txt", ".1010\n" + body);
        test::ToolResult r = Run(seed);
        EXPECT_EQ(r.status, 0) << r.err;
        Defs defs = ParseFile(Get("inddef.bin"));
        EXPECT_EQ(defs.size(), 1u);
        return defs.empty() ? std::string() : defs[0].second;
    }

    // Checks that `text` is `words` as one re-flowed paragraph: the greedy line breaks, every
    // line but the last justified to exactly 100 characters with gaps as even as the remainder
    // allows, the last line as written.
    void ExpectParagraph(const std::string& text, const std::vector<std::string>& words) {
        ASSERT_FALSE(text.empty());
        ASSERT_EQ(text.back(), '\n');
        std::vector<std::string> lines = Split(text.substr(0, text.size() - 1), '\n');
        auto expected = GreedyLines(words);
        ASSERT_EQ(lines.size(), expected.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i));
            EXPECT_EQ(Words(lines[i]), expected[i]);
            if (i + 1 == lines.size()) {
                EXPECT_EQ(lines[i], Join(expected[i]));
                continue;
            }
            ASSERT_EQ(lines[i].size(), 100u);
            size_t letters = 0;
            for (const auto& w : expected[i]) letters += w.size();
            size_t gaps = expected[i].size() - 1;
            if (gaps == 0) continue;
            size_t least = (100 - letters) / gaps;
            EXPECT_NE(lines[i].front(), ' ');
            EXPECT_NE(lines[i].back(), ' ');
            size_t pos = lines[i].find(' ');
            while (pos != std::string::npos) {
                size_t end = lines[i].find_first_not_of(' ', pos);
                EXPECT_GE(end - pos, least);
                pos = lines[i].find(' ', end);
            }
        }
    }

    test::TempDir dir_;
};

TEST_F(InddefcTest, ShortLinesAreStoredByteForByte) {
    std::string full = "ends at column 100:  two  blanks  here";
    full += std::string(100 - full.size() - 1, 'x') + ".";
    ASSERT_EQ(full.size(), 100u);
    Put("inddef.prj", "a.txt\n");
    Put("a.txt", "notes before the first heading\n"
                 ".1010 Population\n"
                 "First line.\n"
                 "  indented  with  double  blanks   \n" +
                     full + "\n\n.1020\r\ncrlf line\r\nno newline at the end");
    test::ToolResult r = Run();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.txt\n");
    EXPECT_EQ(
        Get("inddef.bin"),
        BuildFile({{1010, "First line.\n  indented  with  double  blanks   \n" + full + "\n\n"},
                   {1020, "crlf line\nno newline at the end\n"}}));
    // Nothing else is left behind.
    EXPECT_EQ(Listing(), (std::vector<std::string>{"a.txt", "inddef.bin", "inddef.prj"}));
}

TEST_F(InddefcTest, LongParagraphIsJustifiedAndOnlyBlanksMove) {
    std::vector<std::string> words = MakeWords(400, 7);
    std::string body = "Short opening line.\n" + Join(words) + "\nShort closing line.\n";
    std::string a = CompileText(body, 1);
    std::string b = CompileText(body, 2);
    std::string again = CompileText(body, 1);

    for (const std::string* t : {&a, &b}) {
        const std::string open = "Short opening line.\n", close = "Short closing line.\n";
        ASSERT_EQ(t->substr(0, open.size()), open);
        ASSERT_EQ(t->substr(t->size() - close.size()), close);
        ExpectParagraph(t->substr(open.size(), t->size() - open.size() - close.size()), words);
    }
    // The seed decides where the remainder blanks go, and nothing else.
    EXPECT_EQ(a, again);
    EXPECT_NE(a, b);
    EXPECT_EQ(Split(a, '\n').size(), Split(b, '\n').size());
}

TEST_F(InddefcTest, CutsKeepWordsIndentationAndNoStrayLines) {
    std::string word(250, 'w');
    // Leading blanks stay; words that fill the width exactly get no extra blanks.
    std::string indented = "    ";
    for (char c = 'a'; c < 'h'; ++c) indented += std::string(11, c) + " ";
    indented += std::string(12, 'h');
    ASSERT_EQ(indented.size(), 100u);
    // 98 characters of text and then blanks across column 100: nothing is stretched and no
    // empty line follows.
    std::string trailing = std::string(50, 'p') + " " + std::string(47, 'q');
    std::string text = CompileText(
        "short " + word + " tail\n" + indented + " next words\n" + trailing + "      \n", 9);
    EXPECT_EQ(text, "short\n" + word.substr(0, 100) + "\n" + word.substr(100, 100) + "\n" +
                        word.substr(200) + " tail\n" + indented + "\nnext words\n" + trailing +
                        "\n");
}

TEST_F(InddefcTest, LineLongerThanReadBufferIsOneParagraph) {
    // Words of five characters, placed so that the read buffer of 5119 characters ends right
    // before a word starting with "." and once in the middle of a word.
    std::vector<std::string> words;
    size_t next = 0; // where the next word starts
    auto add = [&](std::string w) {
        next += w.size() + 1;
        words.push_back(std::move(w));
    };
    auto fillTo = [&](size_t column) {
        while (next + 6 + 2 <= column) add("abcde");
        add(std::string(column - next - 1, 'q'));
    };
    fillTo(5119);
    add(".999");
    fillTo(10236);
    add("fghij"); // columns 10236-10240
    for (int i = 0; i < 200; ++i) add("klmno");
    std::string line = Join(words);
    ASSERT_EQ(line.substr(5118, 5), " .999");
    ASSERT_EQ(line.substr(10235, 6), " fghij");

    Put("inddef.prj", "a.txt\n");
    Put("a.txt", ".1010\n" + line + "\n");
    test::ToolResult r = Run(4);
    ASSERT_EQ(r.status, 0) << r.err;
    Defs defs = ParseFile(Get("inddef.bin"));
    ASSERT_EQ(defs.size(), 1u);
    EXPECT_EQ(defs[0].first, 1010);
    ExpectParagraph(defs[0].second, words);
}

TEST_F(InddefcTest, HeadingsCodesAndDuplicates) {
    Put("inddef.prj", "a.txt\nb.txt\n");
    Put("a.txt", "text before the first heading\n"
                 ".1010 has no text: the next heading follows\n"
                 ".1020 second\n"
                 "def 1020\n"
                 ". no code: the previous one stays\n"
                 "continues 1020\n"
                 ".99999\n"
                 "no int16 code\n"
                 ".-30 \n"
                 "negative\n");
    Put("b.txt", "ignored too\n.1020\nlater 1020\n");
    test::ToolResult r = Run();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.txt\nb.txt\n");
    EXPECT_NE(r.err.find("out of range"), std::string::npos);
    std::string bin = Get("inddef.bin");
    EXPECT_EQ(bin, BuildFile({{1020, "def 1020\n"},
                              {1020, "continues 1020\n"},
                              {-30, "negative\n"},
                              {1020, "later 1020\n"}}));

    // The reader shows the later of the two definitions of a code.
    auto views = LoadDefinitionViews(dir_.file("inddef.bin"), {1020, 1010}, "none");
    EXPECT_EQ(views[0].text, " later 1020\r\n ");
    EXPECT_EQ(views[1].text, "none");
}

TEST_F(InddefcTest, MissingSourcesAreReportedAndSkipped) {
    fs::create_directory(dir_.file("sub"));
    Put("inddef.prj", "  a.txt \t\r\n\n   \nmissing.txt\nsub\nb.txt");
    Put("a.txt", ".1010\nfrom a\n");
    Put("b.txt", ".1020\nfrom b\n");
    test::ToolResult r = Run();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.txt\nmissing.txt\nFILE: missing.txt is not found!\nsub\n"
                     "FILE: sub is not found!\nb.txt\n");
    EXPECT_EQ(Get("inddef.bin"), BuildFile({{1010, "from a\n"}, {1020, "from b\n"}}));
}

TEST_F(InddefcTest, MissingProjectWritesNothing) {
    Put("inddef.bin", "previous");
    Put("a.txt", ".1010\ntext\n");
    test::ToolResult r = Run();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "FILE: inddef.prj is not found!\n");
    EXPECT_EQ(Get("inddef.bin"), "previous");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"a.txt", "inddef.bin"}));
}

TEST_F(InddefcTest, FailedOutputKeepsPreviousFile) {
    Put("inddef.bin", "previous");
    Put("inddef.prj", "a.txt\n");
    Put("a.txt", ".1010\ntext\n");
    // The new file cannot be created.
    fs::create_directory(dir_.file("~inddef.new"));
    test::ToolResult r = Run();
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(Get("inddef.bin"), "previous");
    EXPECT_FALSE(fs::exists(dir_.file("~inddef.tmp")));
    fs::remove(dir_.file("~inddef.new"));

#ifdef __linux__
    // A source that opens but cannot be read.
    Put("inddef.prj", "a.txt\n/proc/self/mem\n");
    r = Run();
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("read error in /proc/self/mem"), std::string::npos) << r.err;
    EXPECT_EQ(Get("inddef.bin"), "previous");
    Put("inddef.prj", "a.txt\n");
#endif

    // The count of definitions is an int16: 32767 fit, one more does not.
    std::string many;
    for (int i = 0; i < 32767; ++i) many += ".7\nx\n";
    Put("a.txt", many);
    r = Run();
    ASSERT_EQ(r.status, 0) << r.err;
    std::string bin = Get("inddef.bin");
    EXPECT_EQ(ByteReader(bin).i16(), 32767);
    EXPECT_EQ(bin.size(), 2 + 32767u * (6 + 4 + 2));

    Put("a.txt", many + ".8\ny\n");
    r = Run();
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("32767"), std::string::npos);
    EXPECT_EQ(Get("inddef.bin"), bin);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"a.txt", "inddef.bin", "inddef.prj"}));
}

} // namespace
} // namespace zor
