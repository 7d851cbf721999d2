// Reply sets applied to both windows, register by register, and the settings
// written back from what they set: flags, relay states, routing, code lists at
// the ends of their ranges, and replies that fit no row or are garbled.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <initializer_list>

#include "link/OutputFile.h"
#include "link/modCommon.h"
#include "tests/windows/WindowFixture.h"

namespace tavo::test {
namespace {

// A reply set as the command-file run makes it: each word under its reply
// code, the no-response mark under no key.
ReplySet Replies(std::initializer_list<const char*> words) {
    ReplySet replies;
    for (const char* word : words) {
        const std::string w = word;
        if (w == "****")
            replies.Add(w);
        else
            replies.Add(w, w.substr(0, 2));
    }
    return replies;
}

// A loaded demo window with its debug trace switched on.
const WindowSetup kTraced = {.debugFile = true, .activate = false};

TEST(RelayReplies, FlagsAndRelayStates) {
    TestWindow<frmQUELB> q(kTraced);
    q.window.ApplyDeviceReplies(Replies({"80000F", "84F000"}));
    EXPECT_EQ(CheckValues(q.window), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_FALSE(q.window.MonitoringIR());  // the boxes' handlers did nothing while the replies were applied
    EXPECT_EQ(q.window.mABRelayState, 0);   // only the last three digits count
    EXPECT_EQ(q.window.shpRelayABLED->FillColor(), kLedGrey);
    for (auto* led : q.window.shpRelayLED) EXPECT_EQ(led->FillColor(), kLedGrey);

    q.window.ApplyDeviceReplies(Replies({"800000", "840181"}));
    EXPECT_EQ(CheckValues(q.window), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(q.window.mABRelayState, 1);
    EXPECT_EQ(q.window.shpRelayLED[0]->FillColor(), kLedGreen);
    EXPECT_EQ(q.window.shpRelayLED[6]->FillColor(), kLedGrey);
    EXPECT_EQ(q.window.shpRelayLED[7]->FillColor(), kLedGreen);
    EXPECT_FALSE(q.window.Modified());
    EXPECT_FALSE(q.window.Loading());
}

TEST(RelayReplies, CodeListsAtTheEndsOfTheirRanges) {
    TestWindow<frmQUELB> q(kTraced);
    // Entry 9 (relay 8): IR on "99", IR off "A3", X-10 "AD" with house P, unit 16.
    q.window.ApplyDeviceReplies(Replies({"99FFFF", "A30102", "ADCCC2", "B70000"}));
    EXPECT_EQ(Combo(q.window, "cboIRGroupOn", 9)->currentText(), "256");
    EXPECT_EQ(Combo(q.window, "cboIRKeyOn", 9)->currentText(), "256");
    EXPECT_EQ(Combo(q.window, "cboIRGroupOff", 9)->currentText(), "2");
    EXPECT_EQ(Combo(q.window, "cboIRKeyOff", 9)->currentText(), "3");
    EXPECT_EQ(Combo(q.window, "cboX10House", 9)->currentIndex(), 15);
    EXPECT_EQ(Combo(q.window, "cboX10Unit", 9)->currentIndex(), 15);
    EXPECT_EQ(Combo(q.window, "cboIRGroupOn", 8)->currentIndex(),
              0);  // a register not in the set keeps its lists
    // "B7", an X-10 off code, is accepted and ignored.
    EXPECT_EQ(q.Trace().find("Unknown response"), std::string::npos);
}

TEST(RelayReplies, UnknownAndGarbledRepliesAreLoggedAndChangeNothing) {
    TestWindow<frmQUELB> q(kTraced);
    q.window.ApplyDeviceReplies(Replies({"900102"}));
    // No response, a register of no row, a short flags reply, a short relay reply,
    // an IR code with a non-hexadecimal digit and a code between the ranges.
    q.window.ApplyDeviceReplies(Replies({"****", "8F0000", "80", "841", "90G102", "9G0000"}));
    EXPECT_EQ(Combo(q.window, "cboIRGroupOn", 0)->currentText(), "2");
    EXPECT_EQ(Combo(q.window, "cboIRKeyOn", 0)->currentText(), "3");
    const std::string trace = q.Trace();
    for (const char* entry : {"****", "8F0000", "80", "841", "90G102", "9G0000"})
        EXPECT_NE(trace.find(std::string("Unknown response from device: (") + entry + ")"), std::string::npos)
            << entry;
    EXPECT_FALSE(q.window.Loading());
}

TEST(MatrixReplies, RoutingFlagsAndSelectCodes) {
    TestWindow<frmZIM8x8> z(kTraced);
    z.window.ApplyDeviceReplies(
        Replies({"810234", "828765", "8C0101", "97FF00", "9F0001", "A89693", "AFCCC3"}));
    EXPECT_EQ(z.window.mRouting, (std::array<std::int16_t, 8>{-1, 1, 2, 3, 7, 6, 5, 4}));
    EXPECT_EQ(CheckValues(z.window), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(Combo(z.window, "cboIRGroupOUT", 7)->currentText(), "256");
    EXPECT_EQ(Combo(z.window, "cboIRKeyOUT", 7)->currentText(), "1");
    EXPECT_EQ(Combo(z.window, "cboIRGroupIN", 7)->currentText(), "1");
    EXPECT_EQ(Combo(z.window, "cboIRKeyIN", 7)->currentText(), "2");
    // "9693": house code 9 is "F", unit code 6 is "1"; the function digit is not used.
    EXPECT_EQ(Combo(z.window, "cboX10HouseIN", 0)->currentText(), "F");
    EXPECT_EQ(Combo(z.window, "cboX10UnitIN", 0)->currentText(), "1");
    EXPECT_EQ(Combo(z.window, "cboX10HouseOUT", 0)->currentIndex(), 0);
    EXPECT_EQ(Combo(z.window, "cboX10HouseIN", 7)->currentText(), "P");
    EXPECT_EQ(Combo(z.window, "cboX10UnitIN", 7)->currentText(), "16");
    EXPECT_FALSE(z.window.Modified());
    EXPECT_EQ(z.Trace().find("Unknown response"), std::string::npos);
}

TEST(MatrixReplies, RoutingDigitsAboveEightStillWriteSixCharacterLines) {
    TestWindow<frmZIM8x8> z(kTraced);
    z.window.Form_Activate();
    // A device that reports inputs it does not have: the settings written back
    // keep one digit per output, so that no line runs into the next register.
    z.window.ApplyDeviceReplies(Replies({"81F9A0", "82", "B00000"}));
    EXPECT_EQ(z.window.mRouting[0], 14);
    EXPECT_EQ(z.window.mRouting[3], -1);
    EXPECT_EQ(z.window.mRouting[4], 4);  // a reply too short to carry routing leaves it as it was
    z.state.dialogs.answers.push_back(z.dir.File("settings.txt"));
    ASSERT_TRUE(z.window.SaveSettingsFile());
    const std::string text = ReadFile(z.dir.File("settings.txt"));
    EXPECT_EQ(text.substr(0, 24), "01F9A0\r\n025678\r\n0C1010\r\n");
    EXPECT_EQ(text.size(), 35u * 8);
}

TEST(RelaySettings, FlagLinesForEveryPairOfEnableBoxes) {
    TestWindow<frmQUELB> q(kTraced);
    q.window.Form_Activate();
    // Check-box values of IR and X-10 control; a grey box is neither set nor cleared.
    const std::pair<int, int> boxes[] = {{1, 1}, {1, 0}, {0, 1}, {0, 0}, {2, 1}};
    const char* expected[] = {"01000A\r\n020005\r\n", "010008\r\n020007\r\n", "010002\r\n02000D\r\n",
                              "010000\r\n02000F\r\n", "010002\r\n020005\r\n"};
    for (std::size_t k = 0; k < std::size(boxes); ++k) {
        frmDeviceWindow::SetCheckValue(Find<QCheckBox>(q.window, "chkEnableIR"), boxes[k].first);
        frmDeviceWindow::SetCheckValue(Find<QCheckBox>(q.window, "chkEnableX10"), boxes[k].second);
        const std::string name = q.dir.File("flags" + std::to_string(k) + ".txt");
        OutputFile file;
        ASSERT_TRUE(file.Open(name, OutputFile::Mode::Truncate));
        ASSERT_TRUE(q.window.WriteGeneralSettings(&file));
        ASSERT_TRUE(file.Close());
        EXPECT_EQ(ReadFile(name), expected[k]) << k;
    }
}

}  // namespace
}  // namespace tavo::test
