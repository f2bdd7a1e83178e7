// Qt's own start-up messages stay off the standard error of zorexport; ours and Qt's failures
// still reach it.
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"
#include "tools/zorexport/QtMessages.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using exporter::ShowsQtMessage;
using test::RunTool;

TEST(ZorexportQtMessages, OnlyOursAndQtFailuresAreShown) {
    // Qt's chatter: plain qWarning() is "default", the platform plugins use "qt.*".
    const char* const categories[] = {"default", "qt.qpa.fonts", "qt.qpa.xcb", "zorx", nullptr};
    for (const char* category : categories) {
        for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg})
            EXPECT_FALSE(ShowsQtMessage(type, category)) << (category ? category : "(null)");
        EXPECT_TRUE(ShowsQtMessage(QtCriticalMsg, category));
        EXPECT_TRUE(ShowsQtMessage(QtFatalMsg, category));
    }
    for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
        EXPECT_TRUE(ShowsQtMessage(type, "zor.export"));
}

TEST(ZorexportQtMessages, StartUpWarningsDoNotReachStandardError) {
    test::TempDir dir;
    test::Fixture f(dir.path());
    f.Set(10000, "Country", {"North", "South", "Total"});
    f.Group(0, "Economy").Indicator(10, "GDP");
    f.Periods({2001});
    f.Values(10000, 2001, 10, {1, 2, 3});
    f.Write();
    // Without a runtime directory Qt warns "QStandardPaths: XDG_RUNTIME_DIR not set" while it
    // starts.
    auto r = RunTool("zorexport",
                     {"render", "barchart", "DIR=" + dir.path(), "--set", "10000", "--indicators",
                      "10", "--regions", std::to_string(MakeRegionKey(10000, 1)), "--periods",
                      "2001", "--format", "draw", "--out", dir.file("chart.txt")},
                     "", {"XDG_RUNTIME_DIR=", "QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(test::ReadFile(dir.file("chart.txt")).empty());
}

} // namespace
} // namespace zor
