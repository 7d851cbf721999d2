#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/clsCmdLineParams.h"

namespace tavo {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ParamsOf(const clsCmdLineParams& p) {
    Pairs out;
    for (const auto& e : p.Parameters()) out.emplace_back(e.item.Flag(), e.item.value());
    return out;
}

struct Example {
    std::string line;
    Pairs params;
    bool result;
};

TEST(clsCmdLineParams, ParsesTheDocumentedExamples) {
    const std::vector<Example> examples = {
        {"-c devices.cfg", {{"c", "devices.cfg"}}, true},
        {"-cdevices.cfg", {{"c", "devices.cfg"}}, true},
        {"/d", {{"d", ""}}, true},
        {"-d -o out.txt", {{"d", ""}, {"o", "out.txt"}}, true},
        {"-d out.txt", {{"d", "out.txt"}}, true},
        {"-abc", {{"a", "bc"}}, true},
        {"out.txt -d", {}, false},
        {"-c  devices.cfg", {{"c", ""}}, false},  // the empty word is c's value
    };
    for (const auto& ex : examples) {
        clsCmdLineParams p;
        EXPECT_EQ(p.ParseParameters(ex.line), ex.result) << ex.line;
        EXPECT_EQ(ParamsOf(p), ex.params) << ex.line;
    }
}

TEST(clsCmdLineParams, OddWordsGiveTheirDefinedResult) {
    const std::vector<Example> examples = {
        {"", {}, false},                // one empty word, not a flag
        {" -d", {}, false},             // leading blank: empty first word
        {"-d ", {{"d", ""}}, true},     // trailing blank: empty value
        {"-", {{"", ""}}, true},        // lone "-": empty flag
        {"/ x", {{"", "x"}}, true},     // lone "/" takes the next word
        {"- -", {{"", ""}}, false},     // the empty flag twice
        {"-d-x", {{"d", "-x"}}, true},  // joined values may begin with "-"
        {"-d/x", {{"d", "/x"}}, true},
        {"-d -x", {{"d", ""}, {"x", ""}}, true},  // separate ones may not
        {"-c \"my file.cfg\"", {{"c", "\"my"}}, false},
        {"-c\t-x", {{"c", "\t-x"}}, true},         // tabs are ordinary characters
        {"-o  -d", {{"o", ""}, {"d", ""}}, true},  // the empty word is o's value
        // An absolute path is a value, not a flag "/x".
        {"-c /etc/tavo/devices.cfg /d", {{"c", "/etc/tavo/devices.cfg"}, {"d", ""}}, true},
        {"/tmp/out.txt -d", {}, false},
    };
    for (const auto& ex : examples) {
        clsCmdLineParams p;
        EXPECT_EQ(p.ParseParameters(ex.line), ex.result) << ex.line;
        EXPECT_EQ(ParamsOf(p), ex.params) << ex.line;
    }
}

TEST(clsCmdLineParams, RepeatedOrCaseTwinFlagsFail) {
    clsCmdLineParams p;
    EXPECT_FALSE(p.ParseParameters("-d a -d b"));
    EXPECT_EQ(ParamsOf(p), (Pairs{{"d", "a"}}));
    EXPECT_FALSE(p.ParseParameters("-d -D"));
    EXPECT_FALSE(p.ParseParameters("-cx -o y -Cz"));
    EXPECT_EQ(ParamsOf(p), (Pairs{{"c", "x"}, {"o", "y"}}));
}

TEST(clsCmdLineParams, LookupsCompareFlagsExactly) {
    clsCmdLineParams p;
    ASSERT_TRUE(p.ParseParameters("-d -c file"));
    EXPECT_TRUE(p.DoesFlagExist("d"));
    EXPECT_FALSE(p.DoesFlagExist("D"));
    EXPECT_EQ(p.GetFlagValue("c"), "file");
    EXPECT_EQ(p.GetFlagValue("C"), "");
    EXPECT_EQ(p.GetFlagValue("d"), "");
    EXPECT_FALSE(p.DoesFlagExist("x"));
    EXPECT_EQ(p.GetFlagValue("x"), "");
    // The key lookup ignores case, the flag lookups do not.
    EXPECT_NE(p.Parameters().Find("D"), nullptr);
}

TEST(clsCmdLineParams, SecondParseReplacesTheFirst) {
    clsCmdLineParams p;
    ASSERT_TRUE(p.ParseParameters("-a 1 -b 2"));
    ASSERT_TRUE(p.ParseParameters("-c 3"));
    EXPECT_EQ(ParamsOf(p), (Pairs{{"c", "3"}}));
    p.ClearParameters();
    EXPECT_TRUE(p.Parameters().Empty());
}

}  // namespace
}  // namespace tavo
