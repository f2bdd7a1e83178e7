// File helpers: case-insensitive lookup, whole-file reads and atomic replacement.
#include "core/FileUtil.h"
#include "tests/support/Fixture.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(FileUtil, CaseInsensitiveLookupOnlyWhenTheExactNameIsMissing) {
    TempDir dir;
    WriteFile(dir.file("MAINLIST.GRP"), "upper");
    EXPECT_EQ(ResolvePath(dir.file("mainlist.grp")), dir.file("MAINLIST.GRP"));
    EXPECT_EQ(*ReadWholeFile(dir.file("MainList.grp")), "upper");
    WriteFile(dir.file("mainlist.grp"), "lower");
    EXPECT_EQ(*ReadWholeFile(dir.file("mainlist.grp")), "lower");
    EXPECT_EQ(ResolvePath(dir.file("absent.bin")), dir.file("absent.bin"));
    EXPECT_FALSE(ReadWholeFile(dir.file("absent.bin")).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.path()).has_value()); // a directory is not a file
    EXPECT_FALSE(ReadWholeFile(dir.file("mainlist.grp"), 3).has_value()); // over the limit
}

TEST(FileUtil, RandomAccessReadsStopAtTheEnd) {
    TempDir dir;
    WriteFile(dir.file("f"), "0123456789");
    RandomAccessFile f;
    ASSERT_TRUE(f.Open(dir.file("f")));
    EXPECT_EQ(f.Size(), 10u);
    EXPECT_EQ(*f.ReadExact(8, 2), "89");
    EXPECT_FALSE(f.ReadExact(8, 3).has_value());
    EXPECT_FALSE(f.ReadExact(~0ull, 1).has_value());
    char buf[4];
    EXPECT_EQ(f.ReadAt(9, buf, 4), 1u);
    EXPECT_EQ(f.ReadAt(20, buf, 4), 0u);
}

TEST(FileUtil, CopyNeverOverwrites) {
    TempDir dir;
    WriteFile(dir.file("a"), "new");
    WriteFile(dir.file("b"), "old");
    EXPECT_FALSE(CopyFileNoOverwrite(dir.file("a"), dir.file("b")));
    EXPECT_EQ(ReadFile(dir.file("b")), "old");
    EXPECT_TRUE(CopyFileNoOverwrite(dir.file("a"), dir.file("c")));
    EXPECT_EQ(ReadFile(dir.file("c")), "new");
    EXPECT_FALSE(CopyFileNoOverwrite(dir.file("missing"), dir.file("d")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("d")));
}

TEST(FileUtil, AtomicWriteFailsCleanly) {
    TempDir dir;
    EXPECT_FALSE(WriteFileAtomic(dir.file("no/such/dir/f"), "x"));
    WriteFile(dir.file("keep"), "old");
    std::filesystem::create_directory(dir.file("keep.d"));
    // Renaming over a directory fails: the target stays and no temporary is left behind.
    EXPECT_FALSE(WriteFileAtomic(dir.file("keep.d"), "x"));
    size_t entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) (void)e, ++entries;
    EXPECT_EQ(entries, 2u);
}

// A writer process is killed at random moments while it replaces a file again and again with
// one of two large contents; afterwards the file must be one of them, whole.
TEST(FileUtil, KilledWriterLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    const std::string target = dir.file("ind.sav");
    const std::string a(300000, 'a'), b(200000, 'b');
    ASSERT_TRUE(WriteFileAtomic(target, a));
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i) WriteFileAtomic(target, i % 2 ? a : b);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + rng() % 20000));
        kill(pid, SIGKILL);
        int st;
        waitpid(pid, &st, 0);
        std::string now = ReadFile(target);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

} // namespace
} // namespace zor
