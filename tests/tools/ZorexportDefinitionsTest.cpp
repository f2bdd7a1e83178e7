// zorexport definitions end to end: definitions compiled by inddefc, read through a fixture
// database's settings.
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zor {
namespace {

using test::Fixture;
using test::RunTool;
using test::TempDir;

// A database whose data source is a directory of its own, with Cyrillic names.
struct Db {
    TempDir data, source;
    std::string Write(std::vector<std::string> config, bool title = false) {
        Fixture f(data.path());
        f.Set(10000, "Land", {"A", "Total"})
            .Group(1, "G")
            .Indicator(1230, "Ind", {"V1"})
            .Periods({2000})
            .Config(std::move(config))
            .DataSourceDir(source.path());
        if (title) f.Title(1078, "Definition is not found!", "\xcd\xe5\xf2");
        return f.Write();
    }
    // Compiles definitions into the data source with inddefc.
    void Compile(const std::string& text) {
        test::WriteFile(source.file("inddef.prj"), "defs.txt\n");
        test::WriteFile(source.file("defs.txt"), text);
        auto r = RunTool("inddefc", {}, source.path());
        ASSERT_EQ(r.status, 0) << r.out << r.err;
    }
};

TEST(ZorexportDefinitions, TextsAsTheViewerShowsThem) {
    Db db;
    db.Write({"PROVIDER=ZOR-2", "CHARSET=204"}, true);
    db.Compile(".1230\n\xc0\xe1\n  two\n.1250\nfifty\n");
    auto r = RunTool("zorexport",
                     {"definitions", "DIR=" + db.data.path(), "--indicators", "1231,1240,1230"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Windows-1251 decoded; the variant shows its main indicator's text; the missing one shows
    // the not-found text taken from the titles file.
    EXPECT_EQ(
        r.out,
        "[{\"code\":1231,\"found\":true,\"text\":\" \xd0\x90\xd0\xb1\\r\\n   two\\r\\n \"},"
        "{\"code\":1240,\"found\":false,\"text\":\"\\r\\n\\t\xd0\x9d\xd0\xb5\xd1\x82\\r\\n\"},"
        "{\"code\":1230,\"found\":true,\"text\":\" \xd0\x90\xd0\xb1\\r\\n   two\\r\\n \"}]\n");
    EXPECT_EQ(r.err, "");
}

TEST(ZorexportDefinitions, FileIsLookedForInTheDataSource) {
    Db db;
    db.Write({"PROVIDER=ZOR-2"});
    db.Compile(".1230\ntext\n");
    std::filesystem::rename(db.source.file("inddef.bin"), db.data.file("inddef.bin"));
    auto r = RunTool("zorexport", {"definitions", "DIR=" + db.data.path(), "--indicators=1230"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Can not find definitions file!"), std::string::npos) << r.err;

    // A damaged file reads as having no definitions.
    test::WriteFile(db.source.file("inddef.bin"), std::string("\x05\x00\x01", 3));
    r = RunTool("zorexport", {"definitions", "DIR=" + db.data.path(), "--indicators=1230"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[{\"code\":1230,\"found\":false,"
                     "\"text\":\"\\r\\n\\tDefinition is not found!\\r\\n\"}]\n");
}

TEST(ZorexportDefinitions, BadArgumentsAndStartUpFailure) {
    for (std::vector<std::string> args : {std::vector<std::string>{"definitions"},
                                          {"definitions", "--indicators"},
                                          {"definitions", "--indicators", ""},
                                          {"definitions", "--indicators", "12,x"},
                                          {"definitions", "--indicators", "40000"},
                                          {"definitions", "--indicators=1", "extra"}}) {
        auto r = RunTool("zorexport", args);
        EXPECT_EQ(r.status, 64) << args.back();
        EXPECT_NE(r.err.find("usage: zorexport definitions [DIR=<data directory>] --indicators"),
                  std::string::npos)
            << r.err;
    }
    TempDir empty;
    auto r = RunTool("zorexport", {"definitions", "DIR=" + empty.path(), "--indicators", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("start-up failed"), std::string::npos) << r.err;
}

} // namespace
} // namespace zor
