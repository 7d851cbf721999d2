#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "codes/clsCInfoFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

class clsCInfoFileTest : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Writes the given words (sorted, as both callers add them) and returns the file.
    std::string Report(std::int32_t format, const std::vector<std::string>& words) {
        clsCInfoFile report;
        report.SetFormatType(format);
        for (const std::string& w : words) report.AddCommand(w, true);
        EXPECT_TRUE(report.OutputData(PathOf("report.txt")));
        return ReadFile(PathOf("report.txt"));
    }

    static std::vector<std::string> Order(const clsCInfoFile& report) {
        std::vector<std::string> out;
        for (const auto& e : report.Commands()) out.push_back(e.item);
        return out;
    }

    test::TempFolder folder_;
    const fs::path dir_ = folder_.Path();
    test::ScriptedMessageBox box_;
};

using Words = std::vector<std::string>;

TEST_F(clsCInfoFileTest, SortedAddKeepsCodeOrderAndOneWordPerCode) {
    clsCInfoFile report;
    for (const char* w : {"900002", "80000A", "8481FF"}) EXPECT_TRUE(report.AddCommand(w, true));
    EXPECT_EQ(Order(report), (Words{"80000A", "8481FF", "900002"}));
    report.AddCommand("80000F", true);
    EXPECT_EQ(Order(report), (Words{"80000F", "8481FF", "900002"}));
    report.AddCommand("****", true);
    report.AddCommand("A30000", true);
    report.AddCommand("****", true);
    EXPECT_EQ(Order(report), (Words{"****", "80000F", "8481FF", "900002", "A30000"}));
    // Codes are ordered and matched by their upper-case form.
    report.AddCommand("9c0a1f", true);
    report.AddCommand("9C0A1E", true);
    EXPECT_EQ(Order(report), (Words{"****", "80000F", "8481FF", "900002", "9C0A1E", "A30000"}));
}

TEST_F(clsCInfoFileTest, UnsortedAddKeepsCallOrderAndReplacesARepeatedCodeInPlace) {
    clsCInfoFile report;
    for (const char* w : {"900002", "80000A", "****", "8481FF", "800001"}) EXPECT_TRUE(report.AddCommand(w));
    EXPECT_EQ(Order(report), (Words{"900002", "800001", "****", "8481FF"}));
    // A sorted add after unsorted ones still never stores a code twice.
    report.AddCommand("8481F0", true);
    EXPECT_EQ(Order(report), (Words{"900002", "800001", "****", "8481F0"}));
}

TEST_F(clsCInfoFileTest, ReplySetsAreAddedSorted) {
    KeyedCollection<std::string> replies;
    replies.Add("900002", "90");
    replies.Add("****", "**");
    replies.Add("80000A", "80");
    clsCInfoFile report;
    report.AddCommand("A40000");
    report.SetFormatType(clsCInfoFile::kQUELBFormat);  // empties the list
    EXPECT_TRUE(report.Commands().Empty());
    EXPECT_TRUE(report.AddCommands(replies));
    EXPECT_EQ(Order(report), (Words{"****", "80000A", "900002"}));
    report.Reset();
    EXPECT_TRUE(report.Commands().Empty());
    EXPECT_EQ(report.GetFormatType(), 1);
}

TEST_F(clsCInfoFileTest, RelayStatesIRAndX10Blocks) {
    const std::string text =
        Report(1, {"84000F", "91000A", "920009", "A30000", "A46662", "B7CCC3", "****", "80000A"});
    const std::string expected =
        "****\tNO RESPONSE FROM DEVICE\r\n"
        "80000A\t(Y)  IR ENABLE\r\n"
        "\t(N)  IR MONITOR\r\n"
        "\t(Y)  X-10 ENABLE\r\n"
        "\t(N)  X-10 MONITOR\r\n"
        "\r\n"
        "84000F\t(OFF)  B RELAY\r\n"
        "\t(ON)   #1 RELAY\r\n"
        "\t(ON)   #2 RELAY\r\n"
        "\t(ON)   #3 RELAY\r\n"
        "\t(ON)   #4 RELAY\r\n"
        "\t(OFF)  #5 RELAY\r\n"
        "\t(OFF)  #6 RELAY\r\n"
        "\t(OFF)  #7 RELAY\r\n"
        "\t(OFF)  #8 RELAY\r\n"
        "\r\n"
        "91000A\tGROUP = 1\tKEY = 11\tIR RELAY B ON\r\n"
        "920009\tGROUP = 1\tKEY = 10\tIR RELAY #1 ON\r\n"
        "A30000\tGROUP = 1\tKEY = 1\t\tIR RELAY #8 OFF\r\n"
        "\r\n"
        "A46662\tHOUSE = A\tUNIT = 1\tFUNCTION = ON\t\tX-10 ALL RELAYS ON\r\n"
        "B7CCC3\tHOUSE = P\tUNIT = 16\tFUNCTION = OFF\t\tX-10 RELAY #8 OFF\r\n"
        "\r\n";
    EXPECT_EQ(text, expected);

    const std::string other = Report(1, {"840100", "9F0008", "AE6668", "B0****", "85FFFF"});
    EXPECT_NE(other.find("840100\t(ON)   B RELAY\r\n\t(OFF)  #1 RELAY\r\n"), std::string::npos);
    EXPECT_NE(other.find("\t(OFF)  #8 RELAY\r\n\r\n"), std::string::npos);
    // IR entries ending before "A3" run straight into the X-10 lines.
    EXPECT_NE(other.find("\r\n\r\n85FFFF\tUNKNOWN COMMAND\r\n"
                         "9F0008\tGROUP = 1\tKEY = 9\t\tIR RELAY #4 OFF\r\n"
                         "AE6668\tHOUSE = A\tUNIT = 1\tFUNCTION = \t\tX-10 ALL RELAYS OFF\r\n"
                         "B0****\tNO RESPONSE FROM DEVICE\r\n"),
              std::string::npos);
    EXPECT_EQ(other.substr(other.size() - 2), "\r\n");
    EXPECT_EQ(other.find("\r\n\r\n\r\n"), std::string::npos);
}

TEST_F(clsCInfoFileTest, MatrixReportMatchesByteForByte) {
    const std::string expected =
        "811234\tINPUT #1 ROUTED TO #1 OUTPUT\r\n"
        "\tINPUT #2 ROUTED TO #2 OUTPUT\r\n"
        "\tINPUT #3 ROUTED TO #3 OUTPUT\r\n"
        "\tINPUT #4 ROUTED TO #4 OUTPUT\r\n"
        "828765\tINPUT #8 ROUTED TO #5 OUTPUT\r\n"
        "\tINPUT #7 ROUTED TO #6 OUTPUT\r\n"
        "\tINPUT #6 ROUTED TO #7 OUTPUT\r\n"
        "\tINPUT #5 ROUTED TO #8 OUTPUT\r\n"
        "\r\n"
        "8C0100\t(N)  IR ENABLE\r\n"
        "\t(Y)  IR MONITOR\r\n"
        "\t(N)  X-10 ENABLE\r\n"
        "\t(N)  X-10 MONITOR\r\n"
        "\r\n"
        "980001\tGROUP = 1\tKEY = 2\t\tIR INPUT #1 SELECT\r\n"
        "9F1F3F\tGROUP = 32\tKEY = 64\tIR INPUT #8 SELECT\r\n"
        "\r\n"
        "A06662\tHOUSE = A\tUNIT = 1\tFUNCTION = ON\t\tX-10 OUTPUT #1 SELECT\r\n"
        "AFCCC3\tHOUSE = P\tUNIT = 16\tFUNCTION = OFF\t\tX-10 INPUT #8 SELECT\r\n"
        "\r\n"
        "B00000\tUNKNOWN COMMAND\r\n";
    EXPECT_EQ(Report(2, {"B00000", "AFCCC3", "A06662", "9F1F3F", "980001", "8C0100", "828765", "811234"}),
              expected);
    EXPECT_EQ(Report(2, {"80000A", "84FFFF"}), "80000A\tUNKNOWN COMMAND\r\n84FFFF\tUNKNOWN COMMAND\r\n");
    EXPECT_EQ(Report(2, {}), "");
}

// Words the device should never send: each gives one plain line and the
// report goes on.
TEST_F(clsCInfoFileTest, UnreadableWordsShowAsUnknownCommands) {
    for (std::int32_t format : {1, 2}) {
        SCOPED_TRACE(format);
        const std::string text = Report(
            format, {"80000G", "840XFF", "9C0A", "9C0X1F", "9G0000", "A6E2E3F", "A", "", "8C01", "81ab"});
        EXPECT_EQ(text,
                  "\tUNKNOWN COMMAND\r\n"
                  "80000G\tUNKNOWN COMMAND\r\n"
                  "81ab\tUNKNOWN COMMAND\r\n"
                  "840XFF\tUNKNOWN COMMAND\r\n"
                  "8C01\tUNKNOWN COMMAND\r\n"
                  "9C0X1F\tUNKNOWN COMMAND\r\n"  // "9C0A" was replaced by the later word of its code
                  "9G0000\tUNKNOWN COMMAND\r\n"
                  "A\tUNKNOWN COMMAND\r\n"
                  "A6E2E3F\tUNKNOWN COMMAND\r\n");
    }
}

TEST_F(clsCInfoFileTest, FileNameRules) {
    clsCInfoFile report;
    EXPECT_EQ(report.GetFilename(), "CInfo.txt");
    EXPECT_EQ(report.GetFormatType(), 0);
    report.AddCommand("80000A");
    EXPECT_FALSE(report.OutputData(PathOf("none.txt")));  // format type 0 writes nothing
    EXPECT_FALSE(fs::exists(PathOf("none.txt")));
    EXPECT_EQ(report.GetFilename(), PathOf("none.txt"));

    report.SetFormatType(1);
    report.AddCommand("80000A");
    EXPECT_TRUE(report.OutputData(" " + PathOf("first.txt") + " "));
    EXPECT_EQ(report.GetFilename(), PathOf("first.txt"));
    fs::remove(PathOf("first.txt"));
    EXPECT_TRUE(report.OutputData());  // the same entries, the same file
    EXPECT_EQ(ReadFile(PathOf("first.txt")).substr(0, 23), "80000A\t(Y)  IR ENABLE\r\n");

    report.SetFilename("   ");
    EXPECT_EQ(report.GetFilename(), "");
    EXPECT_FALSE(report.OutputData());
    EXPECT_FALSE(report.OutputData("  "));
    report.SetFilename(" " + PathOf("second.txt") + "  ");
    EXPECT_TRUE(report.OutputData());
    EXPECT_TRUE(fs::exists(PathOf("second.txt")));

    // A report replaces an existing file.
    std::ofstream(PathOf("second.txt")) << "a much longer text than the report itself, which must go";
    report.SetFormatType(2);
    EXPECT_TRUE(report.OutputData());
    EXPECT_EQ(ReadFile(PathOf("second.txt")), "");
    EXPECT_TRUE(box_.Shown().empty());
}

TEST_F(clsCInfoFileTest, WriteErrorsShowTheErrorBox) {
    clsCInfoFile report;
    report.SetFormatType(2);
    report.AddCommand("811234", true);
    ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {PathOf("missing/report.txt"), "No such file or directory"},
        {dir_.string(), "Is a directory"},
        {PathOf("pipe"), "No such device or address"},  // nobody reads it: an error instead of a hang
        {"/dev/null", "Not a regular file"},            // a device takes every write, but is no report file
        {PathOf("full.txt"), "File too large"},         // a full disk is a failure too
    };
    test::FileSizeLimit full(10);
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path);
        test::ScriptedMessageBox box;
        EXPECT_FALSE(report.OutputData(path));
        ASSERT_EQ(box.Shown().size(), 1u);
        EXPECT_EQ(box.Shown()[0].title, "Error");
        EXPECT_EQ(box.Shown()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(box.Shown()[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(
            box.Shown()[0].text,
            "An error occured attemping to write the CInfo file!\r\n\r\nThe error object contains:\r\n" +
                error);
    }
    EXPECT_FALSE(fs::exists(PathOf("missing")));
}

}  // namespace
}  // namespace tavo
