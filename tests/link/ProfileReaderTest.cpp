#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/ProfileReader.h"
#include "tests/support/InputLimitsScope.h"
#include "tests/support/PipeWriter.h"
#include "tests/support/TempFolder.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

ProfileReader Text(const std::string& s) { return ProfileReader::FromText(s); }

TEST(ProfileReader, NamesIgnoreCaseAndFirstSectionAndKeyWin) {
    auto p = Text(
        "[General]\r\n"
        "DevicePortFile = /data/tavo.txt \r\n"
        "deviceportfile=second\r\n"
        "[devices]\r\n"
        "Count=2\r\n"
        "[GENERAL]\r\n"
        "FeedbackFile=in the second General\r\n");
    EXPECT_EQ(p.GetString("general", "DEVICEPORTFILE", "def"), "/data/tavo.txt");
    EXPECT_EQ(p.GetInt("Devices", "count", 0), 2);
    // Only the first section of a name is searched.
    EXPECT_EQ(p.GetString("General", "FeedbackFile", "def"), "def");
    EXPECT_EQ(p.GetString("Missing", "Count", "def"), "def");
    EXPECT_EQ(p.GetInt("Devices", "Name1", 7), 7);
}

TEST(ProfileReader, ValuesKeepInnerBlanksAndLoseMatchingQuotes) {
    auto p = Text(
        "[S]\n"
        "a=\"  QUELB  \"\n"
        "b='x'\n"
        "c=\"x'\n"
        "d=\"\n"
        "e=\"\"\n"
        "f=\tv w\t\n"
        "g=\n"
        "h==x=\n");
    EXPECT_EQ(p.GetString("S", "a", ""), "  QUELB  ");
    EXPECT_EQ(p.GetString("S", "b", ""), "x");
    EXPECT_EQ(p.GetString("S", "c", ""), "\"x'");
    EXPECT_EQ(p.GetString("S", "d", ""), "\"");
    EXPECT_EQ(p.GetString("S", "e", "def"), "");
    EXPECT_EQ(p.GetString("S", "f", ""), "v w");
    EXPECT_EQ(p.GetString("S", "g", "def"), "");  // present but empty: not the default
    EXPECT_EQ(p.GetString("S", "h", ""), "=x=");
}

TEST(ProfileReader, ValueIsCutTo254Characters) {
    const std::string longValue(300, 'v');
    auto p = Text("[S]\nk=" + longValue + "\nq=\"" + longValue + "\"\n");
    EXPECT_EQ(p.GetString("S", "k", ""), std::string(254, 'v'));
    EXPECT_EQ(p.GetString("S", "q", ""), std::string(254, 'v'));
    auto exact = Text("[S]\nk=\"" + std::string(254, 'v') + "\"\n");
    EXPECT_EQ(exact.GetString("S", "k", ""), std::string(254, 'v'));
}

TEST(ProfileReader, IntegersFromLeadingDigits) {
    auto p = Text(
        "[D]\n"
        "a=12abc\n"
        "b=text\n"
        "c=-3\n"
        "d=+4\n"
        "e=\n"
        "f=99999999999999999999\n"
        "g=-99999999999999999999\n"
        "h=\"5\"\n");
    EXPECT_EQ(p.GetInt("D", "a", 9), 12);
    EXPECT_EQ(p.GetInt("D", "b", 9), 0);  // present but not a number
    EXPECT_EQ(p.GetInt("D", "c", 9), -3);
    EXPECT_EQ(p.GetInt("D", "d", 9), 4);
    EXPECT_EQ(p.GetInt("D", "e", 9), 9);  // empty counts as missing
    EXPECT_EQ(p.GetInt("D", "f", 9), INT_MAX);
    EXPECT_EQ(p.GetInt("D", "g", 9), INT_MIN);
    EXPECT_EQ(p.GetInt("D", "h", 9), 5);
}

TEST(ProfileReader, MalformedLinesCarryNothing) {
    auto p = Text(
        "orphan=before any section\n"
        "\xEF\xBB\xBF[not a section\n"
        "[S]\n"
        "Count\n"
        "Count=4\n"
        "[Broken\n"
        "k=still in S\n"
        "  [ Spaced ]  trailing\n"
        "x=1\n");
    EXPECT_EQ(p.GetString("", "orphan", "def"), "def");
    EXPECT_EQ(p.GetInt("S", "Count", 0), 4);  // the line without "=" is no key
    EXPECT_EQ(p.GetString("S", "k", ""), "still in S");
    EXPECT_EQ(p.GetString(" Spaced ", "x", ""), "1");
    EXPECT_EQ(p.GetString("Spaced", "x", "def"), "def");
}

TEST(ProfileReader, ByteOrderMarkAndBinaryJunkDoNoHarm) {
    auto p = Text("\xEF\xBB\xBF[S]\nk=v\n");
    EXPECT_EQ(p.GetString("S", "k", ""), "v");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
    auto j = Text(junk + "\n[S]\nk=v\n" + junk);
    EXPECT_EQ(j.GetString("S", "k", ""), "v");
    std::string withNul("[S]\nk=a\0b\n", 10);
    EXPECT_EQ(Text(withNul).GetString("S", "k", "").size(), 3u);
    auto longLine = Text("[S]\nk=" + std::string(1 << 20, 'x') + "\nm=1\n");
    EXPECT_EQ(longLine.GetString("S", "k", "").size(), 254u);
    EXPECT_EQ(longLine.GetInt("S", "m", 0), 1);
    EXPECT_EQ(Text("no sections at all\nk=v\n").GetString("S", "k", "def"), "def");
}

TEST(ProfileReader, ASyntaxOfItsOwnAddsCommentsAndTrimmedSectionNames) {
    const std::string text =
        "[ \\HKLM\\Key\\ ]\n;k=comment\n# x=comment\nk=\"" + std::string(300, 'v') + "\"\n";
    auto keys = ProfileReader::FromText(text, ProfileSyntax{";#", " \\"});
    ASSERT_NE(keys.RawValue("hklm\\key", "k"), nullptr);
    EXPECT_EQ(*keys.RawValue("HKLM\\Key", "k"), "\"" + std::string(300, 'v') + "\"");  // as written
    EXPECT_EQ(keys.RawValue("HKLM\\Key", "# x"), nullptr);
    EXPECT_EQ(keys.SectionNames(), std::vector<std::string_view>{"HKLM\\Key"});
    // The lookups' own rules know no comments and keep the name as written.
    auto plain = Text(text);
    EXPECT_EQ(plain.GetString(" \\HKLM\\Key\\ ", ";k", ""), "comment");
}

class ProfileFile : public ::testing::Test {
  protected:
    test::TempFolder folder_;
    const std::string dir_ = folder_.Path();
};

// One configuration in the line ends of other editors, with and without a
// byte-order mark: from text and from a file, every key is found.
TEST_F(ProfileFile, AnyLineEndAndAByteOrderMarkGiveTheSameProfile) {
    const std::string path = dir_ + "/tavodevices.cfg";
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& text :
         {std::string("[Devices]\r\nCount=2\r\nName1= QUELB \r\nName2=ZIM-8x8\r\n[QUELB]\r\nInitCmds=q.txt"),
          std::string("[Devices]\nCount=2\nName1= QUELB \nName2=ZIM-8x8\n[QUELB]\nInitCmds=q.txt\n"),
          std::string("[Devices]\rCount=2\rName1= QUELB \rName2=ZIM-8x8\r[QUELB]\rInitCmds=q.txt\r"),
          std::string("[Devices]\rCount=2\r\nName1= QUELB \nName2=ZIM-8x8\r\r\n[QUELB]\nInitCmds=q.txt"),
          bom + "[Devices]\rCount=2\rName1= QUELB \rName2=ZIM-8x8\r[QUELB]\rInitCmds=q.txt\r"}) {
        SCOPED_TRACE(::testing::PrintToString(text));
        std::ofstream(path, std::ios::binary) << text;
        for (const ProfileReader& p : {Text(text), ProfileReader::FromFile(path)}) {
            EXPECT_EQ(p.GetInt("Devices", "Count", 0), 2);
            EXPECT_EQ(p.GetString("Devices", "Name1", ""), "QUELB");
            EXPECT_EQ(p.GetString("Devices", "Name2", ""), "ZIM-8x8");
            EXPECT_EQ(p.GetString("QUELB", "InitCmds", ""), "q.txt");
        }
        // Each load reads the file afresh.
        EXPECT_EQ(ProfileReader::FromFile(path).GetString("Devices", "Name2", ""), "ZIM-8x8");
    }
    std::ofstream(path, std::ios::binary) << "[Devices]\nCount=3\n";
    EXPECT_EQ(ProfileReader::FromFile(path).GetInt("Devices", "Count", 0), 3);
    EXPECT_EQ(ProfileReader::FromFile(path).GetString("Devices", "Name1", "none"), "none");
}

TEST_F(ProfileFile, APipeIsReadOnceLikeAFile) {
    test::PipeWriter pipe("[General]\rDevicePortFile=ports.txt\r");
    const std::optional<ProfileReader> p = ProfileReader::Load(pipe.Path());
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->GetString("General", "DevicePortFile", ""), "ports.txt");
}

TEST_F(ProfileFile, UnreadableSourcesGiveNoProfileOrEveryDefault) {
    test::InputLimitsScope shortWait(test::ShortPipeWait());
    ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0600), 0);
    for (const std::string& path :
         {dir_, dir_ + "/missing.cfg", dir_ + "/no/such/folder/x.cfg", std::string(),
          std::string("/dev/null"), std::string("/dev/zero"), dir_ + "/pipe"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ProfileReader::Load(path).has_value());
        EXPECT_EQ(ProfileReader::FromFile(path).GetString("S", "k", "def"), "def");
        EXPECT_EQ(ProfileReader::FromFile(path).GetInt("S", "k", 5), 5);
    }
    // An empty file is a file.
    std::ofstream(dir_ + "/empty.cfg").close();
    EXPECT_TRUE(ProfileReader::Load(dir_ + "/empty.cfg").has_value());
}

}  // namespace
}  // namespace tavo
