#include <gtest/gtest.h>

#include <ctime>

#include "link/clsLogFile.h"
#include "tests/support/DeviceEmulator.h"

namespace tavo {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WithoutStamps;
using test::WriteFile;

// "[mm/dd/yyyy hh:" of the local time now, the hour on the 24-hour clock.
std::string StampNow() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "[%m/%d/%Y %H:", std::localtime(&now));
    return text;
}

TEST(clsLogFile, TruncatesOrAppendsAfterThreeLineEnds) {
    TempFolder dir;
    const std::string path = dir.File("log.txt");
    WriteFile(path, "old\r\n");
    {
        clsLogFile log;
        ASSERT_TRUE(log.OpenLog(true, path));
        EXPECT_TRUE(log.LogMessage("x"));
        log.CloseLog();
    }
    EXPECT_EQ(ReadFile(path), "old\r\n\r\n\r\n\r\nLog opened.\r\nx\r\nLog closed.\r\n");

    clsLogFile log;
    log.SetUseDatetimeStamp(true);
    const std::string before = StampNow();
    ASSERT_TRUE(log.OpenLog(false, path));
    const std::string stamp = ReadFile(path).substr(0, 15);
    EXPECT_TRUE(stamp == before || stamp == StampNow()) << stamp;
    log.LogMessage("x");
    EXPECT_EQ(log.FileHandle() >= 0, true);
    log.CloseLog();
    EXPECT_EQ(log.FileHandle(), -1);
    EXPECT_EQ(WithoutStamps(ReadFile(path)),
              "[STAMP]: Log opened.\r\n[STAMP]: x\r\n[STAMP]: Log closed.\r\n");
}

TEST(clsLogFile, SuspensionStopsLogLinesButNotRawText) {
    TempFolder dir;
    const std::string path = dir.File("log.txt");
    clsLogFile log;
    ASSERT_TRUE(log.OpenLog(false, path));
    log.SuspendLogging();
    EXPECT_FALSE(log.LogMessage("hidden"));
    EXPECT_TRUE(log.WriteRaw("raw"));
    EXPECT_TRUE(log.CloseLog());  // suspended: no closing line
    EXPECT_EQ(ReadFile(path), "Log opened.\r\nraw");
    EXPECT_TRUE(log.CloseLog());
    EXPECT_FALSE(log.LogMessage("closed"));
}

TEST(clsLogFile, RenamingOrReopeningClosesWithoutClosingLine) {
    TempFolder dir;
    clsLogFile log;
    ASSERT_TRUE(log.OpenLog(false, dir.File("a.txt")));
    log.SetFilename(dir.File("b.txt"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(ReadFile(dir.File("a.txt")), "Log opened.\r\n");

    ASSERT_TRUE(log.OpenLog());  // no name: keeps b.txt
    ASSERT_TRUE(log.OpenLog(false, dir.File("c.txt")));
    EXPECT_EQ(ReadFile(dir.File("b.txt")), "Log opened.\r\n");
}

TEST(clsLogFile, UnwritablePlaceLeavesItClosed) {
    clsLogFile log;
    EXPECT_FALSE(log.OpenLog(false, "/nonexistent-folder/log.txt"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.FileHandle(), -1);
    EXPECT_FALSE(log.LogMessage("x"));
    TempFolder dir;
    EXPECT_FALSE(log.OpenLog(false, dir.Path()));  // a folder is not a file
}

}  // namespace
}  // namespace tavo
