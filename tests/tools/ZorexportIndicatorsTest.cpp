// zorexport temp and zorexport indicator-list end to end on a fixture database: definitions set,
// changed, deleted and listed with the editor's checks, tmplist.ind untouched on refused input,
// and the indicator list as HTML, text, JSON and a printout.
#include "core/Formats.h"
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::RunTool;

// One set; group 0 "Population" (Inhabitants with the variant Men, Density), group 2 "Health &
// <Care>" (Doctors); 2000 and 2001. No tmplist.ind: start-up makes a new one.
struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"North", "Total"})
            .Group(0, "Population")
            .Indicator(0, "Inhabitants", {"Men"})
            .Indicator(10, "Density")
            .Group(2, "Health & <Care>")
            .Indicator(2050, "Doctors")
            .Periods({2000, 2001})
            .Values(10000, 2000, 0, {100, 300})
            .Values(10000, 2000, 10, {4, 6})
            .Write();
    }
    test::ToolResult Run(std::vector<std::string> args) {
        args.insert(args.begin() + 1, "DIR=" + dir.path());
        return RunTool("zorexport", args);
    }
    std::string List() const { return test::ReadFile(dir.file("tmplist.ind")); }
};

TEST(ZorexportTemp, SetChangeListDelete) {
    Db db;
    auto r = db.Run({"temp", "list"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[]\n");

    // New: what Insert fills in (I1 = the first indicator, I2 = the second, C = 100), then the
    // options.
    r = db.Run({"temp", "set", "--slot", "4", "--name", "Inhabitants per density"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"slot\":4,\"code\":10004,\"name\":\"Inhabitants per density\",\"type\":1,"
                     "\"a\":0,\"b\":10,\"params\":[100]}\n");
    r = db.Run({"temp", "set", "--slot", "9", "--name", "Men, 3-year mean", "--type", "7", "--a",
                "1", "--params", "3"});
    ASSERT_EQ(r.status, 0) << r.err;

    // Change: only the fields given.
    r = db.Run({"temp", "set", "--slot", "4", "--params", "2.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = db.Run({"temp", "list"});
    EXPECT_EQ(r.out, "[{\"slot\":4,\"code\":10004,\"name\":\"Inhabitants per density\","
                     "\"type\":1,\"a\":0,\"b\":10,\"params\":[2.5]},"
                     "{\"slot\":9,\"code\":10009,\"name\":\"Men, 3-year mean\",\"type\":7,"
                     "\"a\":1,\"b\":0,\"params\":[3]}]\n");

    // The file as the editor writes it, and the program computes from it.
    auto slots = ParseTempList(db.List());
    ASSERT_TRUE(slots);
    EXPECT_EQ(db.List().substr(5, 2), std::string("\x02\x00", 2));
    EXPECT_EQ((*slots)[4].parameters[0], 2.5f);
    EXPECT_EQ((*slots)[4].spare, -1);
    r = db.Run({"values", "--set", "10000", "--row-mode", "0", "--indicators", "10004", "--periods",
                "2000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"values\":[[[62.5,125]]]"), std::string::npos) << r.out;

    // Delete.
    r = db.Run({"temp", "delete", "--slot", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"slot\":4,\"code\":10004,\"name\":\"*\",\"type\":-1,\"a\":-1,\"b\":-1,"
                     "\"params\":[]}\n");
    slots = ParseTempList(db.List());
    ASSERT_TRUE(slots);
    EXPECT_EQ((*slots)[4].operation, -1);
    EXPECT_EQ(db.List().substr(5, 2), std::string("\x01\x00", 2));
}

TEST(ZorexportTemp, InvalidInputWritesNothing) {
    Db db;
    ASSERT_EQ(db.Run({"temp", "set", "--slot", "1", "--name", "Kept"}).status, 0);
    const std::string before = db.List();
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--a", "10001"}, "temporary indicator"},
        {{"--b", "1234"}, "I2 1234 is not an indicator of the catalogue."},
        {{"--type", "5", "--b", "0"}, "type 5 has no I2 (--b)"},
        {{"--type", "7", "--params", "0"}, "whole number from 1 to 99"},
        {{"--type", "7"}, "whole number from 1 to 99"}, // the years are empty
        {{"--type", "3", "--params", "1"}, "type 3 takes 0 value(s) in --params"},
        {{"--params", "abc"}, "C: \"abc\" is not a number."},
        {{"--type", "9"}, "--type must be 1 to 7"},
        {{"--name", ""}, "Type a title."},
        {{"--name", "*x"}, "marks an empty slot"},
        {{"--name", "\xCE\xA9"}, "cannot hold"},
    };
    for (const auto& [options, message] : refused) {
        std::vector<std::string> args = {"temp", "set", "--slot", "1"};
        args.insert(args.end(), options.begin(), options.end());
        const auto r = db.Run(args);
        EXPECT_EQ(r.status, 65) << options[0] << " " << r.out;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(db.List(), before);
    }
    // Bad arguments.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"temp", "set"},
                                                 {"temp", "set", "--slot", "100"},
                                                 {"temp", "set", "--slot", "x"},
                                                 {"temp", "list", "--slot", "1"},
                                                 {"temp", "delete", "--slot", "1", "--name", "x"},
                                                 {"temp", "rename", "--slot", "1"},
                                                 {"temp"}}) {
        const auto r = db.Run(args);
        EXPECT_EQ(r.status, 64) << args.back();
        EXPECT_NE(r.err.find("usage: zorexport temp"), std::string::npos);
    }
    EXPECT_EQ(db.List(), before);
    // A list that is no list: start-up refuses it already.
    test::WriteFile(db.dir.file("tmplist.ind"), "TIX");
    const auto r = db.Run({"temp", "list"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("tmplist.ind"), std::string::npos) << r.err;
}

TEST(ZorexportIndicatorList, HtmlTextJsonAndPrintout) {
    Db db;
    auto r = db.Run({"indicator-list", "--format", "txt", "--all"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\tPopulation\r\n0000\tInhabitants\r\n\t0001\tMen\r\n0010\tDensity\r\n\r\n"
                     "\tHealth & <Care>\r\n2050\tDoctors\r\n");
    r = db.Run({"indicator-list", "--format", "txt", "--groups", "2"});
    EXPECT_EQ(r.out, "\tHealth & <Care>\r\n2050\tDoctors\r\n");

    test::TempDir out;
    r = db.Run({"indicator-list", "--format", "html", "--out", out.file("list.html")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = test::ReadFile(out.file("list.html"));
    EXPECT_EQ(html.substr(0, 8), "<HTML>\r\n");
    EXPECT_NE(html.find("<B>Health &amp; &lt;Care&gt;</B>"), std::string::npos);
    EXPECT_EQ(html.find("Men"), std::string::npos); // first level only

    r = db.Run({"indicator-list", "--format", "json", "--groups", "0,2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"lines\":[{\"level\":1,\"code\":0,\"text\":\"Population\"},"
                     "{\"level\":2,\"code\":0,\"text\":\"Inhabitants\"},"
                     "{\"level\":2,\"code\":10,\"text\":\"Density\"},"
                     "{\"level\":0,\"code\":-1,\"text\":\"\"},"
                     "{\"level\":1,\"code\":2,\"text\":\"Health & <Care>\"},"
                     "{\"level\":2,\"code\":2050,\"text\":\"Doctors\"}],"
                     "\"pages\":[[0,5]]}\n");
    // A paper with room for one column of three lines: the second page would begin with the
    // blank line, and begins with the heading after it instead.
    r = db.Run({"indicator-list", "--format", "json", "--paper", "40x20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"pages\":[[0,2],[4,5]]"), std::string::npos) << r.out;

    r = db.Run({"indicator-list", "--format", "print-pdf", "--paper", "40x20", "--out",
                out.file("list.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = test::ReadFile(out.file("list.pdf"));
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");

    const std::string unwritable = out.file("missing/list.txt");
    r = db.Run({"indicator-list", "--format", "txt", "--out", unwritable});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zorexport: cannot write " + unwritable + "\n");

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"indicator-list"},
          {"indicator-list", "--format", "doc"},
          {"indicator-list", "--format", "txt", "--groups", "5"},
          {"indicator-list", "--format", "txt", "--groups", "12"},
          {"indicator-list", "--format", "print-pdf"},
          {"indicator-list", "--format", "json", "--paper", "10"},
          {"indicator-list", "--format", "json", "--paper", "0x10"}}) {
        r = db.Run(bad);
        EXPECT_EQ(r.status, 64) << bad.back();
        EXPECT_NE(r.err.find("usage: zorexport indicator-list"), std::string::npos);
    }
}

} // namespace
} // namespace zor
