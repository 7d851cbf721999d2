// Duplicate IR and X-10 codes: which codes take part in a duplicate and
// whether the write is refused or asked about (the rules alone), then on the
// windows the marks on the code lists, the messages and the tab.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QTabWidget>

#include "tests/windows/WindowFixture.h"
#include "windows/DuplicateCodes.h"

namespace tavo::test {
namespace {

// n codes that differ from each other and from those of any other column base.
CodeColumn Distinct(int base, int n) {
    CodeColumn codes;
    for (int i = 0; i < n; ++i) codes.emplace_back(std::to_string(base + i), "1");
    return codes;
}

using Marks = std::vector<CodePosition>;

struct Case {
    const char* what;
    bool entry0Refused;
    std::vector<std::pair<CodePosition, CodePosition>> copies;  // second takes the code of first
    Marks marked;
    DuplicateOutcome outcome;
};

TEST(DuplicateCodes, IRCodesOfBothColumns) {
    const Case cases[] = {
        {"all distinct", true, {}, {}, DuplicateOutcome::None},
        {"relay 3's own on and off", true, {{{0, 4}, {1, 4}}}, {{0, 4}, {1, 4}}, DuplicateOutcome::Asked},
        {"relay 6 on = All Relays on", true, {{{0, 0}, {0, 7}}}, {{0, 0}, {0, 7}}, DuplicateOutcome::Refused},
        {"All Relays on = off", true, {{{0, 0}, {1, 0}}}, {{0, 0}, {1, 0}}, DuplicateOutcome::Refused},
        {"A/B off = All Relays on", true, {{{0, 0}, {1, 1}}}, {{0, 0}, {1, 1}}, DuplicateOutcome::Refused},
        {"three of one code",
         true,
         {{{0, 2}, {0, 5}}, {{0, 2}, {1, 7}}},
         {{0, 2}, {0, 5}, {1, 7}},
         DuplicateOutcome::Asked},
        {"matrix input 1 = output 1", false, {{{1, 0}, {0, 0}}}, {{0, 0}, {1, 0}}, DuplicateOutcome::Asked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<CodeColumn, 2> columns = {Distinct(20, 10), Distinct(40, 10)};
        for (const auto& [from, to] : c.copies)
            columns[static_cast<std::size_t>(to.column)][static_cast<std::size_t>(to.entry)] =
                columns[static_cast<std::size_t>(from.column)][static_cast<std::size_t>(from.entry)];
        const DuplicateFindings found = FindDuplicateIRCodes(columns, c.entry0Refused);
        EXPECT_EQ(found.marked, c.marked);
        EXPECT_EQ(found.outcome, c.outcome);
    }
}

TEST(DuplicateCodes, X10AddressesOfOneOrTwoColumns) {
    // The relay's one column against itself.
    CodeColumn relay = Distinct(0, 10);
    for (std::size_t k : {3u, 5u, 9u}) relay[k] = {"M", "8"};
    DuplicateFindings found = FindDuplicateX10Codes(std::vector<CodeColumn>{relay}, {0, 0}, true);
    EXPECT_EQ(found.marked, (Marks{{0, 3}, {0, 5}, {0, 9}}));
    EXPECT_EQ(found.outcome, DuplicateOutcome::Asked);
    relay[0] = {"M", "8"};
    found = FindDuplicateX10Codes(std::vector<CodeColumn>{relay}, {0, 0}, true);
    EXPECT_EQ(found.marked, (Marks{{0, 0}, {0, 3}, {0, 5}, {0, 9}}));
    EXPECT_EQ(found.outcome, DuplicateOutcome::Refused);

    // The matrix's outputs (column 0) against its inputs (column 1) at other entries only.
    std::vector<CodeColumn> matrix = {Distinct(0, 8), Distinct(10, 8)};
    matrix[1][1] = matrix[0][1];  // output 2 and input 2
    matrix[0][6] = matrix[0][7];  // two outputs
    found = FindDuplicateX10Codes(matrix, {0, 1}, false);
    EXPECT_TRUE(found.marked.empty());
    EXPECT_EQ(found.outcome, DuplicateOutcome::None);
    matrix[1][4] = matrix[0][1];  // output 2 and input 5
    found = FindDuplicateX10Codes(matrix, {0, 1}, false);
    EXPECT_EQ(found.marked, (Marks{{0, 1}, {1, 4}}));
    EXPECT_EQ(found.outcome, DuplicateOutcome::Asked);
}

constexpr const char* kRefused =
    "You have used the code assigned to an \rAll On/All Off function for another function.\rThe duplicate "
    "codes are highlighted in red. Please\rcorrect the problem before attempting to save the\rsettings.";
constexpr const char* kAskedTail =
    "\rDuplicates are highlighted in red. If you would like \rto keep these selections, press OK. If you "
    "would like\rto correct them, press Cancel.";

// How many of a code list's pixels are drawn in a colour of one kind.
int Pixels(QComboBox* list, bool (*kind)(const QColor&)) {
    const QImage drawn = list->grab().toImage();
    int n = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) n += kind(drawn.pixelColor(x, y));
    return n;
}
bool Red(const QColor& c) { return c.red() > 200 && c.green() < 170 && c.blue() < 170; }
bool White(const QColor& c) { return c == Qt::white; }
// Marked lists are drawn white on red, the others without either.
bool Marked(QComboBox* list) {
    return 2 * Pixels(list, Red) > list->width() * list->height() && Pixels(list, White) > 0;
}
bool Normal(QComboBox* list) { return Pixels(list, Red) + Pixels(list, White) == 0; }

TEST(DuplicateCheck, RelayMarksAsksRefusesAndClears) {
    TestWindow<frmQUELB> q;
    frmQUELB& w = q.window;
    DistinctCodes(w);
    QTabWidget* tabMain = Find<QTabWidget>(w, "tabMain");
    tabMain->setCurrentIndex(2);
    // Relay 3 is entry 4: its own on and off code is asked about.
    Combo(w, "cboIRGroupOff", 4)->setCurrentIndex(Combo(w, "cboIRGroupOn", 4)->currentIndex());
    q.boxes.Answer(MsgResult::Ok);
    EXPECT_TRUE(w.CheckDuplicateIRCodes());
    EXPECT_EQ(Boxes(q.boxes), Strings{"Duplicate Codes | You have used the same IR code for multiple relays" +
                                      std::string(kAskedTail)});
    const auto& box = q.boxes.Shown().at(0);
    EXPECT_EQ(std::tuple(box.icon, box.buttons, box.defaultButton),
              std::tuple(MsgIcon::Exclamation, MsgButtons::OkCancel, MsgResult::Cancel));
    EXPECT_TRUE(Marked(Combo(w, "cboIRGroupOn", 4)) && Marked(Combo(w, "cboIRKeyOn", 4)));
    EXPECT_TRUE(Marked(Combo(w, "cboIRGroupOff", 4)) && Marked(Combo(w, "cboIRKeyOff", 4)));
    EXPECT_TRUE(Normal(Combo(w, "cboIRGroupOn", 3)));
    EXPECT_EQ(tabMain->currentIndex(), 2);  // asking does not change the tab

    // Cancel stops the write before anything is written.
    q.boxes.Answer(MsgResult::Cancel);
    q.state.dialogs.answers.push_back("/nonexistent/never-used.txt");
    EXPECT_FALSE(w.SaveSettingsFile());
    EXPECT_TRUE(q.state.dialogs.kinds.empty());
    EXPECT_FALSE(w.Busy());

    // Three relays on one X-10 address: one question, with the X-10 text.
    DistinctCodes(w);
    for (std::size_t k : {3u, 5u, 9u}) {
        Combo(w, "cboX10House", k)->setCurrentIndex(12);
        Combo(w, "cboX10Unit", k)->setCurrentIndex(7);
    }
    q.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(w.CheckDuplicateX10Codes());
    EXPECT_EQ(Boxes(q.boxes).at(2), "Duplicate Codes | You have used the same X-10 code for multiple relays" +
                                        std::string(kAskedTail));
    EXPECT_TRUE(Marked(Combo(w, "cboX10House", 9)) && Marked(Combo(w, "cboX10Unit", 9)));
    EXPECT_TRUE(Normal(Combo(w, "cboX10House", 4)));

    // A refused IR check shows the IR tab and stops the write before the X-10
    // check runs, which would have taken relay 2's mark away.
    Combo(w, "cboIRKeyOff", 1)->setCurrentIndex(Combo(w, "cboIRKeyOn", 0)->currentIndex());
    Combo(w, "cboIRGroupOff", 1)->setCurrentIndex(Combo(w, "cboIRGroupOn", 0)->currentIndex());
    Combo(w, "cboX10House", 3)->setCurrentIndex(0);
    EXPECT_FALSE(w.WriteSettingsToDevice());
    EXPECT_EQ(Boxes(q.boxes).back(), "Duplicate Codes | " + std::string(kRefused));
    EXPECT_EQ(std::pair(q.boxes.Shown().back().icon, q.boxes.Shown().back().buttons),
              std::pair(MsgIcon::Critical, MsgButtons::Ok));
    EXPECT_EQ(tabMain->currentIndex(), 0);
    EXPECT_TRUE(Marked(Combo(w, "cboIRGroupOn", 0)));
    EXPECT_TRUE(Marked(Combo(w, "cboX10House", 3)));  // the X-10 check did not run

    // The same X-10 address on "All Relays" is refused and shows the X-10 tab.
    Combo(w, "cboX10House", 0)->setCurrentIndex(12);
    Combo(w, "cboX10Unit", 0)->setCurrentIndex(7);
    EXPECT_FALSE(w.CheckDuplicateX10Codes());
    EXPECT_EQ(q.boxes.Shown().back().text, kRefused);
    EXPECT_EQ(tabMain->currentIndex(), 1);

    // Distinct codes pass silently and take the old marks away.
    DistinctCodes(w);
    EXPECT_TRUE(w.CheckDuplicateIRCodes());
    EXPECT_TRUE(w.CheckDuplicateX10Codes());
    EXPECT_EQ(q.boxes.Shown().size(), 5u);
    for (std::size_t k = 0; k < 10; ++k)
        for (const char* list :
             {"cboIRGroupOn", "cboIRKeyOn", "cboIRGroupOff", "cboIRKeyOff", "cboX10House", "cboX10Unit"})
            EXPECT_TRUE(Normal(Combo(w, list, k))) << list << k;
}

TEST(DuplicateCheck, MatrixMarksInputsAndOutputsAndOnlyAsks) {
    TestWindow<frmZIM8x8> z;
    frmZIM8x8& w = z.window;
    DistinctCodes(w);
    Find<QTabWidget>(w, "tabMain")->setCurrentIndex(2);
    // Input 1's IR code equal to output 1's: asked, both marked, the tab stays.
    Combo(w, "cboIRGroupIN", 0)->setCurrentIndex(Combo(w, "cboIRGroupOUT", 0)->currentIndex());
    z.boxes.Answer(MsgResult::Ok);
    EXPECT_TRUE(w.CheckDuplicateIRCodes());
    EXPECT_EQ(z.boxes.Shown().back().text,
              std::string("You have used the same IR code for multiple relays") + kAskedTail);
    EXPECT_TRUE(Marked(Combo(w, "cboIRGroupIN", 0)) && Marked(Combo(w, "cboIRKeyOUT", 0)));
    EXPECT_EQ(Find<QTabWidget>(w, "tabMain")->currentIndex(), 2);

    // Output 2 and input 2 on one address: no duplicate.
    Combo(w, "cboX10HouseIN", 1)->setCurrentIndex(Combo(w, "cboX10HouseOUT", 1)->currentIndex());
    Combo(w, "cboX10UnitIN", 1)->setCurrentIndex(Combo(w, "cboX10UnitOUT", 1)->currentIndex());
    EXPECT_TRUE(w.CheckDuplicateX10Codes());
    EXPECT_EQ(z.boxes.Shown().size(), 1u);

    // Output 2 and input 5 on one address: all four selections marked, asked.
    Combo(w, "cboX10HouseIN", 4)->setCurrentIndex(Combo(w, "cboX10HouseOUT", 1)->currentIndex());
    Combo(w, "cboX10UnitIN", 4)->setCurrentIndex(Combo(w, "cboX10UnitOUT", 1)->currentIndex());
    z.boxes.Answer(MsgResult::Cancel);
    EXPECT_FALSE(w.CheckDuplicateX10Codes());
    EXPECT_EQ(z.boxes.Shown().back().text,
              std::string("You have used the same X-10 code for multiple relays") + kAskedTail);
    EXPECT_TRUE(Marked(Combo(w, "cboX10HouseOUT", 1)) && Marked(Combo(w, "cboX10UnitOUT", 1)));
    EXPECT_TRUE(Marked(Combo(w, "cboX10HouseIN", 4)) && Marked(Combo(w, "cboX10UnitIN", 4)));
    EXPECT_TRUE(Normal(Combo(w, "cboX10HouseIN", 1)));
    EXPECT_EQ(Find<QTabWidget>(w, "tabMain")->currentIndex(), 2);
}

}  // namespace
}  // namespace tavo::test
