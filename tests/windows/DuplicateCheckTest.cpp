// Duplicate IR and X-10 codes: which selections are marked, which message is
// shown, and whether the write may go on.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabWidget>

#include "tests/support/ScriptedMessageBox.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frmQUELB.h"
#include "windows/frmZIM8x8.h"

namespace tavo::test {
namespace {

constexpr const char* kRefused =
    "You have used the code assigned to an \rAll On/All Off function for another function.\rThe duplicate "
    "codes "
    "are highlighted in red. Please\rcorrect the problem before attempting to save the\rsettings.";
constexpr const char* kAskedTail =
    "\rDuplicates are highlighted in red. If you would like \rto keep these selections, press OK. If you "
    "would "
    "like\rto correct them, press Cancel.";

bool Marked(const QComboBox* list) {
    return list->property("ForeColor").toUInt() == 0xFFFFFF &&
           list->property("BackColor").toUInt() == 0x0000FF;
}
bool Normal(const QComboBox* list) {
    return list->property("ForeColor").toUInt() == 0x80000008 &&
           list->property("BackColor").toUInt() == 0x80000005;
}

template <typename Window>
struct Loaded {
    Loaded() : state(std::is_same_v<Window, frmQUELB> ? 0 : 1, true) {
        w.Form_Load();
        w.Form_Activate();
        DistinctCodes(w);
        w.tabMain->setCurrentIndex(2);
    }
    ProgramState state;
    ScriptedMessageBox boxes;
    Window w;
};

TEST(DuplicateCheck, DistinctCodesPassSilentlyAndClearOldMarks) {
    Loaded<frmQUELB> q;
    q.w.cboIRGroupOn[5]->setCurrentIndex(q.w.cboIRGroupOn[6]->currentIndex());
    q.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(q.w.CheckDuplicateIRCodes());
    EXPECT_TRUE(Marked(q.w.cboIRGroupOn[5]));

    DistinctCodes(q.w);
    EXPECT_TRUE(q.w.CheckDuplicateIRCodes());
    EXPECT_TRUE(q.w.CheckDuplicateX10Codes());
    EXPECT_EQ(q.boxes.Shown().size(), 1u);
    for (int i = 0; i < 10; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_TRUE(Normal(q.w.cboIRGroupOn[k]) && Normal(q.w.cboIRKeyOn[k]) &&
                    Normal(q.w.cboIRGroupOff[k]) && Normal(q.w.cboIRKeyOff[k]) &&
                    Normal(q.w.cboX10House[k]) && Normal(q.w.cboX10Unit[k]));
    }
}

TEST(DuplicateCheck, RelayOwnOnAndOffCodeIsAsked) {
    Loaded<frmQUELB> q;
    // Relay 3 is entry 4.
    q.w.cboIRGroupOff[4]->setCurrentIndex(q.w.cboIRGroupOn[4]->currentIndex());
    q.boxes.Answer(MsgResult::Ok);
    EXPECT_TRUE(q.w.CheckDuplicateIRCodes());
    ASSERT_EQ(q.boxes.Shown().size(), 1u);
    const auto& box = q.boxes.Shown()[0];
    EXPECT_EQ(box.title, "Duplicate Codes");
    EXPECT_EQ(box.text, std::string("You have used the same IR code for multiple relays") + kAskedTail);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
    EXPECT_EQ(box.defaultButton, MsgResult::Cancel);
    EXPECT_TRUE(Marked(q.w.cboIRGroupOn[4]) && Marked(q.w.cboIRKeyOn[4]));
    EXPECT_TRUE(Marked(q.w.cboIRGroupOff[4]) && Marked(q.w.cboIRKeyOff[4]));
    EXPECT_TRUE(Normal(q.w.cboIRGroupOn[3]));
    EXPECT_EQ(q.w.tabMain->currentIndex(), 2);  // asking does not change the tab

    // Cancel stops the write before anything is written.
    q.boxes.Answer(MsgResult::Cancel);
    q.state.dialogs.answers.push_back("/nonexistent/never-used.txt");
    EXPECT_FALSE(q.w.SaveSettingsFile());
    EXPECT_TRUE(q.state.dialogs.kinds.empty());
    EXPECT_FALSE(q.w.Busy());
}

TEST(DuplicateCheck, RelayCodeOfAllRelaysIsRefused) {
    for (int variant = 0; variant < 2; ++variant) {
        Loaded<frmQUELB> q;
        if (variant == 0) {
            q.w.cboIRGroupOn[7]->setCurrentIndex(
                q.w.cboIRGroupOn[0]->currentIndex());  // relay 6 = "All Relays" On
        } else {
            q.w.cboIRGroupOff[0]->setCurrentIndex(q.w.cboIRGroupOn[0]->currentIndex());  // All On = All Off
        }
        EXPECT_FALSE(q.w.CheckDuplicateIRCodes());
        ASSERT_EQ(q.boxes.Shown().size(), 1u);
        EXPECT_EQ(q.boxes.Shown()[0].text, kRefused);
        EXPECT_EQ(q.boxes.Shown()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(q.boxes.Shown()[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(q.w.tabMain->currentIndex(), 0);
        EXPECT_TRUE(Marked(q.w.cboIRGroupOn[0]));
    }
}

TEST(DuplicateCheck, RelayX10Addresses) {
    Loaded<frmQUELB> q;
    // Three relays on one address: all three marked, one question.
    for (std::size_t k : {3u, 5u, 9u}) {
        q.w.cboX10House[k]->setCurrentIndex(12);
        q.w.cboX10Unit[k]->setCurrentIndex(7);
    }
    q.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(q.w.CheckDuplicateX10Codes());
    ASSERT_EQ(q.boxes.Shown().size(), 1u);
    EXPECT_EQ(q.boxes.Shown()[0].text,
              std::string("You have used the same X-10 code for multiple relays") + kAskedTail);
    for (std::size_t k : {3u, 5u, 9u}) EXPECT_TRUE(Marked(q.w.cboX10House[k]) && Marked(q.w.cboX10Unit[k]));
    EXPECT_TRUE(Normal(q.w.cboX10House[4]));

    // The same address on "All Relays" is refused and shows the X-10 tab.
    q.w.cboX10House[0]->setCurrentIndex(12);
    q.w.cboX10Unit[0]->setCurrentIndex(7);
    EXPECT_FALSE(q.w.CheckDuplicateX10Codes());
    EXPECT_EQ(q.boxes.Shown().back().text, kRefused);
    EXPECT_EQ(q.w.tabMain->currentIndex(), 1);
}

TEST(DuplicateCheck, RefusedIRCheckLeavesTheX10MarksAlone) {
    Loaded<frmQUELB> q;
    q.w.cboX10House[2]->setCurrentIndex(q.w.cboX10House[3]->currentIndex());
    q.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(q.w.CheckDuplicateX10Codes());
    ASSERT_TRUE(Marked(q.w.cboX10House[2]));

    DistinctCodes(q.w);
    q.w.cboIRKeyOff[1]->setCurrentIndex(q.w.cboIRKeyOn[0]->currentIndex());
    q.w.cboIRGroupOff[1]->setCurrentIndex(q.w.cboIRGroupOn[0]->currentIndex());
    EXPECT_FALSE(q.w.WriteSettingsToDevice());
    EXPECT_EQ(q.boxes.Shown().back().text, kRefused);
    EXPECT_TRUE(Marked(q.w.cboX10House[2]));  // the X-10 check did not run
}

TEST(DuplicateCheck, MatrixComparesInputsWithOutputs) {
    Loaded<frmZIM8x8> z;
    // Input 1's IR code equal to output 1's: asked, both marked, the tab stays.
    z.w.cboIRGroupIN[0]->setCurrentIndex(z.w.cboIRGroupOUT[0]->currentIndex());
    z.boxes.Answer(MsgResult::Ok);
    EXPECT_TRUE(z.w.CheckDuplicateIRCodes());
    EXPECT_EQ(z.boxes.Shown().back().text,
              std::string("You have used the same IR code for multiple relays") + kAskedTail);
    EXPECT_TRUE(Marked(z.w.cboIRGroupIN[0]) && Marked(z.w.cboIRKeyOUT[0]));
    EXPECT_EQ(z.w.tabMain->currentIndex(), 2);

    // Output k and input k on one address: no duplicate. Two outputs on one address: none either.
    z.w.cboX10HouseIN[1]->setCurrentIndex(z.w.cboX10HouseOUT[1]->currentIndex());
    z.w.cboX10UnitIN[1]->setCurrentIndex(z.w.cboX10UnitOUT[1]->currentIndex());
    z.w.cboX10HouseOUT[6]->setCurrentIndex(z.w.cboX10HouseOUT[7]->currentIndex());
    const std::size_t shown = z.boxes.Shown().size();
    EXPECT_TRUE(z.w.CheckDuplicateX10Codes());
    EXPECT_EQ(z.boxes.Shown().size(), shown);

    // Output 2 and input 5 on one address: all four selections marked, asked.
    z.w.cboX10HouseIN[4]->setCurrentIndex(z.w.cboX10HouseOUT[1]->currentIndex());
    z.w.cboX10UnitIN[4]->setCurrentIndex(z.w.cboX10UnitOUT[1]->currentIndex());
    z.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(z.w.CheckDuplicateX10Codes());
    EXPECT_EQ(z.boxes.Shown().back().text,
              std::string("You have used the same X-10 code for multiple relays") + kAskedTail);
    EXPECT_TRUE(Marked(z.w.cboX10HouseOUT[1]) && Marked(z.w.cboX10UnitOUT[1]));
    EXPECT_TRUE(Marked(z.w.cboX10HouseIN[4]) && Marked(z.w.cboX10UnitIN[4]));
    EXPECT_TRUE(Normal(z.w.cboX10HouseIN[1]));
    EXPECT_EQ(z.w.tabMain->currentIndex(), 2);
}

}  // namespace
}  // namespace tavo::test
