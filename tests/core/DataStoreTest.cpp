// Start-up: configuration, provider installation and the three catalogue loads.
#include "core/DataStore.h"
#include "core/Formats.h"
#include "tests/support/Databases.h"
#include "tests/support/Fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Fixture;
using test::ReadFile;
using test::TempDir;
using test::ThreeSetCatalogue;
using test::WriteFile;

PlatformInfo PlatformFor(const std::string& dir) {
    PlatformInfo p;
    p.executableDirectory = "/nonexistent-exe-dir/";
    p.commandLine = "DIR=" + dir;
    p.arialWithCharset = [](int) { return true; };
    return p;
}

TEST(StartUp, LoadsTheCatalogue) {
    TempDir dir;
    ThreeSetCatalogue(dir.path()).Write();
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path()))) << store.StartupError();
    EXPECT_EQ(store.DataDirectory(), dir.path());
    EXPECT_EQ(store.DataSource(), dir.path());
    ASSERT_EQ(store.RegionSets().size(), 3u);
    EXPECT_EQ(store.RegionSets()[1].code, "NOR");
    EXPECT_EQ(store.RegionSets()[2].code, "");
    EXPECT_EQ(store.RegionSets()[1].regions[3].name, "Village");
    EXPECT_EQ(store.RegionSets()[1].regions[3].id, 4);

    // Groups in id order with the temporary group last, lists still empty.
    ASSERT_EQ(store.Groups().size(), 3u);
    EXPECT_EQ(store.Groups()[1].id, 2);
    EXPECT_EQ(store.Groups()[2].id, 10);
    EXPECT_EQ(store.Groups()[2].name, "Temporary indicators");
    EXPECT_TRUE(store.Groups()[0].indicators.empty());
    int sizes[10];
    ASSERT_EQ(store.GroupSizes(sizes), 3);
    EXPECT_EQ(sizes[0], 2);
    EXPECT_EQ(sizes[1], 1);
    EXPECT_EQ(sizes[2], 0);

    // Periods sorted ascending.
    ASSERT_EQ(store.Periods().size(), 3u);
    EXPECT_EQ(store.Periods()[0].code, 1999);
    EXPECT_EQ(store.Periods()[2].code, 2001);
    EXPECT_EQ(store.FindPeriod(2000), 1);
    EXPECT_EQ(store.FindPeriod(1998), -1);
    EXPECT_EQ(store.FindRegionSet(10200), 2);
    EXPECT_EQ(store.FindRegionSet(10300), -1);

    // tmplist.ind was created in the data directory, empty.
    auto tmp = ParseTempList(ReadFile(dir.file("tmplist.ind")));
    ASSERT_TRUE(tmp.has_value());
    EXPECT_EQ((*tmp)[0].name, "*");
    EXPECT_EQ((*tmp)[99].operandA, -1);
}

TEST(StartUp, CombinedRegionLists) {
    TempDir dir;
    ThreeSetCatalogue(dir.path()).Write();
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path())));
    std::vector<ListItem> all = {{MakeRegionKey(10100, 1), "N1"},
                                 {MakeRegionKey(10100, 2), "N2"},
                                 {MakeRegionKey(10100, 4), "Village"},
                                 {MakeRegionKey(10200, 1), "S1"},
                                 {MakeRegionKey(10000, 3), "Total"}};
    EXPECT_EQ(store.AllRegions(), all);
    std::vector<ListItem> top = {{MakeRegionKey(10100, 1), "N1"},
                                 {MakeRegionKey(10100, 2), "N2"},
                                 {MakeRegionKey(10200, 1), "S1"},
                                 {MakeRegionKey(10000, 3), "Total"}};
    EXPECT_EQ(store.TopRegions(), top);
    EXPECT_EQ(MakeRegionKey(10100, 2), 10100 * 65536 + 2);

    TempDir one;
    Fixture(one.path()).Set(10000, "Only", {"A", "Total"}).Group(0, "G").Periods({2000}).Write();
    DataStore single;
    ASSERT_TRUE(single.StartUp(PlatformFor(one.path())));
    EXPECT_TRUE(single.AllRegions().empty());
    EXPECT_TRUE(single.TopRegions().empty());
}

TEST(StartUp, GroupIndicatorsOnDemand) {
    TempDir dir;
    Fixture f = ThreeSetCatalogue(dir.path());
    TempIndicatorDef t;
    t.code = 10003;
    t.name = "Ratio";
    t.operation = 1;
    f.Temp(t);
    f.Write();
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path())));
    ASSERT_TRUE(store.LoadGroupIndicators(0));
    const auto& inds = store.Groups()[0].indicators;
    ASSERT_EQ(inds.size(), 2u);
    EXPECT_EQ(inds[0].code, 0);
    ASSERT_EQ(inds[0].variants.size(), 2u);
    EXPECT_EQ(inds[0].variants[1].code, 2);
    EXPECT_EQ(inds[1].code, 10);
    // A filled list is not read again.
    EXPECT_FALSE(store.LoadGroupIndicators(0));
    ASSERT_TRUE(store.LoadGroupIndicators(1));
    EXPECT_EQ(store.Groups()[1].indicators[0].code, 2050);
    ASSERT_TRUE(store.LoadGroupIndicators(2));
    ASSERT_EQ(store.Groups()[2].indicators.size(), 1u);
    EXPECT_EQ(store.Groups()[2].indicators[0].code, 10003);
    EXPECT_EQ(store.Groups()[2].announced, 1);
    EXPECT_FALSE(store.LoadGroupIndicators(7));
    EXPECT_TRUE(store.ReloadGroupIndicators(2));
    EXPECT_EQ(store.Groups()[2].indicators.size(), 1u);
}

TEST(StartUp, PeriodListLeavesOutNegativeCodes) {
    TempDir dir;
    ThreeSetCatalogue(dir.path()).Periods({-5, 1990}).Write();
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path())));
    auto list = store.PeriodList();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (ListItem{1990, "1990"}));
}

TEST(StartUp, DataSourceAndProviderSettings) {
    TempDir dir;
    std::string source = dir.path() + "db/";
    ThreeSetCatalogue(dir.path())
        .Config({"PROVIDER=zor-2", "DATA SOURCE=db"})
        .DataSourceDir(source)
        .Write();
    // The last DATA SOURCE line wins; check both relative and absolute forms.
    WriteFile(dir.file("zorgui.cfg"), "PROVIDER=zor-2\nDATA SOURCE=db\n");
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path()))) << store.StartupError();
    EXPECT_EQ(store.DataSource(), source);
    EXPECT_EQ(store.RegionSets().size(), 3u);
    // tmplist.ind lives in the data directory, not the data source.
    EXPECT_TRUE(std::filesystem::exists(dir.file("tmplist.ind")));
    EXPECT_FALSE(std::filesystem::exists(source + "tmplist.ind"));

    // Another provider installs nothing: start-up succeeds with an empty catalogue. A blank
    // after "=" makes the name differ from the built-in one.
    WriteFile(dir.file("zorgui.cfg"), "PROVIDER= ZOR-2\nDATA SOURCE=/x\n");
    DataStore other;
    ASSERT_TRUE(other.StartUp(PlatformFor(dir.path())));
    EXPECT_TRUE(other.RegionSets().empty());
    EXPECT_TRUE(other.Groups().empty());
    EXPECT_EQ(other.DataSource(), "/x");
    EXPECT_EQ(other.Files(), nullptr);
}

TEST(StartUp, RelativeDataDirectoryIsTakenFromTheWorkingDirectory) {
    TempDir dir;
    ThreeSetCatalogue(dir.path() + "data/").Write();
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    DataStore store;
    bool ok = store.StartUp(PlatformFor("data"));
    std::filesystem::current_path(old);
    ASSERT_TRUE(ok) << store.StartupError();
    EXPECT_EQ(store.DataDirectory(), dir.path() + "data/");
    EXPECT_EQ(store.DataSource(), store.DataDirectory());
}

TEST(StartUp, TempListProvisioning) {
    TempDir dir;
    std::string source = dir.path() + "db/";
    ThreeSetCatalogue(dir.path()).DataSourceDir(source).Write();
    TempIndicatorDef t;
    t.code = 10000;
    t.name = "From source";
    WriteFile(source + "tmplist.ind", WriteTempList({t}));
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path())));
    // Copied from the data source when only that one exists ...
    EXPECT_EQ(ReadFile(dir.file("tmplist.ind")), ReadFile(source + "tmplist.ind"));
    // ... and never replaced afterwards.
    t.name = "Own";
    WriteFile(dir.file("tmplist.ind"), WriteTempList({t}));
    DataStore again;
    ASSERT_TRUE(again.StartUp(PlatformFor(dir.path())));
    auto list = ParseTempList(ReadFile(dir.file("tmplist.ind")));
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ((*list)[0].name, "Own");
}

TEST(StartUp, FindsFilesCaseInsensitively) {
    TempDir dir;
    ThreeSetCatalogue(dir.path()).Values(10100, 2000, 0, {1, 2, 3, 4}).Write();
    namespace fs = std::filesystem;
    fs::rename(dir.file("clist.bin"), dir.file("CLIST.BIN"));
    fs::rename(dir.file("mainlist.grp"), dir.file("MainList.Grp"));
    fs::rename(dir.file("zorgui.cfg"), dir.file("ZORGUI.CFG"));
    DataStore store;
    ASSERT_TRUE(store.StartUp(PlatformFor(dir.path()))) << store.StartupError();
    EXPECT_EQ(store.RegionSets().size(), 3u);
}

// Every way start-up can fail, each with one line that names the file, what is wrong with it
// and what was expected of it.
TEST(StartUpFailure, EachStepFailsWithAReason) {
    struct Case {
        const char* what;
        std::function<void(const std::string& dir)> breakIt;
        std::vector<std::string> mentions;
    };
    auto remove = [](const char* name) {
        return [name](const std::string& d) { std::filesystem::remove(d + name); };
    };
    auto overwrite = [](const char* name, std::string bytes) {
        return [name, bytes](const std::string& d) { WriteFile(d + name, bytes); };
    };
    const std::string sets = "expected the list of region sets";
    const std::string groups = "expected the indicator groups";
    const std::string mainlist = "expected the indicators of the ten groups";
    const std::string periods = "expected the time periods";
    std::vector<Case> cases = {
        {"no zorgui.cfg",
         remove("zorgui.cfg"),
         {"zorgui.cfg: not found", "PROVIDER=ZOR-2", "DATA SOURCE="}},
        {"no provider", overwrite("zorgui.cfg", "DATA SOURCE=/x\n"), {"zorgui.cfg: no PROVIDER="}},
        {"no data source",
         overwrite("zorgui.cfg", "PROVIDER=other\n"),
         {"zorgui.cfg: no DATA SOURCE=", "directory of the data files"}},
        {"data source missing",
         overwrite("zorgui.cfg", "PROVIDER=ZOR-2\nDATA SOURCE=gone\n"),
         {"data source ", "gone (DATA SOURCE= in ", "zorgui.cfg) does not exist"}},
        {"data source a file",
         overwrite("zorgui.cfg", "PROVIDER=ZOR-2\nDATA SOURCE=clist.bin\n"),
         {"clist.bin (DATA SOURCE= in ", "is not a directory"}},
        {"no clist.bin", remove("clist.bin"), {"clist.bin: not found", sets}},
        {"clist magic",
         overwrite("clist.bin", "XLF\x01\x00\x00\x00"),
         {"clist.bin: wrong magic", sets}},
        {"clist truncated",
         overwrite("clist.bin", std::string("CLF\x08\x00\x05\x00", 7)),
         {"clist.bin: wrong magic or truncated", "\"CLF\""}},
        {"no .par", remove("10200.par"), {"10200.par: not found", "the regions of set 10200"}},
        {"par magic", overwrite("10100.par", "CIX"), {"10100.par: wrong magic", "\"CIF\""}},
        {"par truncated",
         overwrite("10100.par", std::string("CIF\x10\x00\x03\x00"
                                            "ab",
                                            9)),
         {"10100.par: wrong magic or truncated", "the regions of set 10100"}},
        {"no .ind",
         remove("10100.ind"),
         {"10100.ind: not found", "the indicator codes of set 10100"}},
        {"ind absurd count",
         overwrite("10100.ind", std::string("\xff\x7f\x01\x00", 4)),
         {"10100.ind: shorter than its count says", "a count, then the codes"}},
        {"no mainlist.grp", remove("mainlist.grp"), {"mainlist.grp: not found", groups}},
        {"grp magic",
         overwrite("mainlist.grp", std::string("MGX\x01\x00", 5) + std::string(10, 'a')),
         {"mainlist.grp: wrong magic", "\"MGF\""}},
        {"no mainlist.ind", remove("mainlist.ind"), {"mainlist.ind: not found", mainlist}},
        {"ind magic",
         overwrite("mainlist.ind", "XIF\x01\x00"),
         {"mainlist.ind: wrong magic", "\"MIF\""}},
        {"tmplist magic",
         overwrite("tmplist.ind", "XIF\x80\x00\x00\x00"),
         {"tmplist.ind: wrong magic", "expected the temporary indicators", "\"TIF\""}},
        {"no tmscl.bin", remove("tmscl.bin"), {"tmscl.bin: not found", periods}},
        {"tmscl truncated",
         overwrite("tmscl.bin", std::string("\x03\x00\xd0\x07", 4)),
         {"tmscl.bin: a negative count or fewer periods", periods}},
        {"tmscl negative",
         overwrite("tmscl.bin", std::string("\xff\xff", 2)),
         {"tmscl.bin", periods}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ThreeSetCatalogue(dir.path()).Write();
        c.breakIt(dir.path());
        DataStore store;
        EXPECT_FALSE(store.StartUp(PlatformFor(dir.path()))) << c.what;
        const std::string& error = store.StartupError();
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what << ": " << error;
        for (const std::string& part : c.mentions)
            EXPECT_NE(error.find(part), std::string::npos) << c.what << ": " << error;
    }
}

TEST(StartUpFailure, ADataDirectoryThatIsNotThereIsToldApartFromOneWithoutItsConfiguration) {
    TempDir dir;
    DataStore store;
    EXPECT_FALSE(store.StartUp(PlatformFor(dir.file("x"))));
    EXPECT_EQ(store.StartupError(), "data directory " + dir.file("x") + " does not exist");

    WriteFile(dir.file("plain"), "not a directory");
    EXPECT_FALSE(store.StartUp(PlatformFor(dir.file("plain"))));
    EXPECT_EQ(store.StartupError(), "data directory " + dir.file("plain") + " is not a directory");

    // The directory is there but holds no zorgui.cfg.
    EXPECT_FALSE(store.StartUp(PlatformFor(dir.path())));
    EXPECT_EQ(store.StartupError().rfind(dir.file("zorgui.cfg") + ": not found; ", 0), 0u)
        << store.StartupError();
}

TEST(StartUpFailure, RemainingSetsAreStillRead) {
    TempDir dir;
    ThreeSetCatalogue(dir.path()).Write();
    std::filesystem::remove(dir.file("10100.ind"));
    FileProvider files(dir.path(), "Temp");
    std::vector<RegionSet> sets;
    EXPECT_FALSE(files.LoadRegionSets(dir.path(), sets));
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[1].id, 10200);
}

} // namespace
} // namespace zor
