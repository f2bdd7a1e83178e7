#include "core/Settings.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

PlatformInfo Platform() {
    PlatformInfo p;
    p.executableDirectory = "/opt/zor/";
    p.localeDecimal = ',';
    p.arialWithCharset = [](int cs) { return cs == 0 || cs == 238 || cs == 204; };
    return p;
}

AppSettings Parse(std::string_view text) {
    AppSettings s;
    s.dataDirectory = "/opt/zor/";
    s.decimalSymbol = ',';
    ApplyConfigText(s, text, Platform());
    return s;
}

TEST(CommandLine, DirArgumentSetsDataDirectory) {
    AppSettings s;
    s.dataDirectory = "/opt/zor/";
    ApplyCommandLine(s, "");
    EXPECT_EQ(s.dataDirectory, "/opt/zor/");
    ApplyCommandLine(s, "DIR=/data");
    EXPECT_EQ(s.dataDirectory, "/data/");
    ApplyCommandLine(s, "dir=\"/my data/\"");
    EXPECT_EQ(s.dataDirectory, "/my data/");
    // Windows separators are taken as ours.
    ApplyCommandLine(s, "DIR=D:\\data");
    EXPECT_EQ(s.dataDirectory, "D:/data/");
    AppSettings t;
    t.dataDirectory = "/opt/zor/";
    ApplyCommandLine(t, "-verbose");
    EXPECT_EQ(t.dataDirectory, "/opt/zor/");
}

TEST(ConfigFile, KeysAnyCaseValuesAsWritten) {
    AppSettings s = Parse("  provider=ZOR-2  \n\n  Data Source = Data/Sub\npwd file=Secret.txt\n");
    EXPECT_EQ(s.providerName, "ZOR-2");
    // The value is everything after "=" as written: a blank after "=" stays.
    EXPECT_EQ(s.dataSource, " Data/Sub");
    EXPECT_EQ(s.passwordFile, "Secret.txt");
}

TEST(ConfigFile, FirstKeyWithEqualsDecides) {
    // PROVIDER is found but has no "=" after it, so the search goes on to the next keys.
    AppSettings s = Parse("PWD FILE=x PROVIDER\n");
    EXPECT_EQ(s.providerName, "");
    EXPECT_EQ(s.passwordFile, "x PROVIDER");
    AppSettings t = Parse("PROVIDER DATA SOURCE=/db\n");
    EXPECT_EQ(t.providerName, "/db"); // PROVIDER comes first in the key order
    EXPECT_EQ(t.dataSource, "");
    AppSettings u = Parse("# comment: PROVIDER=none\nno key here=1\n");
    EXPECT_EQ(u.providerName, "none");
}

TEST(ConfigFile, CharsetNeedsInstalledFont) {
    EXPECT_EQ(Parse("CHARSET=238").charset, 238);
    EXPECT_EQ(Parse("CHARSET=128").charset, 0);   // no Arial with that charset: keep the default
    EXPECT_EQ(Parse("CHARSET=494").charset, 238); // taken as 8 bits
}

TEST(ConfigFile, DecimalSymbol) {
    EXPECT_EQ(Parse("DECIMAL SYMBOL=','").decimalSymbol, ',');
    EXPECT_EQ(Parse("DECIMAL SYMBOL=\".\"").decimalSymbol, '.');
    EXPECT_EQ(Parse("DECIMAL SYMBOL=  ;").decimalSymbol, ';');
    EXPECT_EQ(Parse("DECIMAL SYMBOL=").decimalSymbol, ','); // empty keeps the locale's symbol
    EXPECT_EQ(Parse("DECIMAL SYMBOL=''").decimalSymbol, ',');
}

TEST(MapColors, SevenEntriesTakenOthersIgnored) {
    const char* seven = "MAP COLORS=RGB(0,128,255) RGB(1,2,3);RGB(4,5,6)RGB(7,8,9) RGB(10,11,12) "
                        "RGB(13,14,15) RGB(16,17,18)";
    AppSettings s = Parse(seven);
    ASSERT_TRUE(s.mapColors.has_value());
    EXPECT_EQ((*s.mapColors)[0], 0u + 128u * 256u + 255u * 65536u);
    EXPECT_EQ((*s.mapColors)[6], 16u + 17u * 256u + 18u * 65536u);

    EXPECT_FALSE(Parse("MAP COLORS=RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) "
                       "RGB(1,2,3)")
                     .mapColors.has_value());
    // Components are kept modulo 256; "rgb" in lower case is not an entry.
    auto c = ParseMapColors("RGB(256,257,-1) rgb(9,9,9) RGB(1,1,1) RGB(1,1,1) RGB(1,1,1) "
                            "RGB(1,1,1) RGB(1,1,1) RGB(1,1,1)");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ((*c)[0], 0u + 1u * 256u + 255u * 65536u);
    EXPECT_EQ((*c)[1], 0x010101u);
}

TEST(MapColors, MalformedEntriesEndTheScan) {
    EXPECT_FALSE(ParseMapColors("RGB").has_value());
    EXPECT_FALSE(ParseMapColors("RGB RGB RGB RGB RGB RGB RGB RGB").has_value());
    EXPECT_FALSE(ParseMapColors("RGB(1,2,3").has_value());
    // An eighth entry is not looked at; an entry with fewer numbers gets zeros.
    auto c = ParseMapColors("RGB(5) RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) RGB(1,2,3) "
                            "RGB(1,2,3) RGB(");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ((*c)[0], 5u);
}

TEST(DataSource, CompletionForTheFileProvider) {
    AppSettings s;
    s.dataDirectory = "/opt/zor/";
    CompleteDataSource(s);
    EXPECT_EQ(s.dataSource, "/opt/zor/");
    s.dataSource = "db";
    CompleteDataSource(s);
    EXPECT_EQ(s.dataSource, "/opt/zor/db/");
    s.dataSource = "/srv/db";
    CompleteDataSource(s);
    EXPECT_EQ(s.dataSource, "/srv/db/");
    EXPECT_TRUE(IsFileProviderName("zor-2"));
    EXPECT_FALSE(IsFileProviderName(" ZOR-2"));
}

} // namespace
} // namespace zor
