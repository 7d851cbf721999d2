// Files told apart as the file system sees them: spellings, links and files
// not yet created.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "link/FileRoles.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteFile;

TEST(FileRoles, OneFileHoweverItIsNamed) {
    TempFolder dir;
    const std::string file = dir.File("tavo.txt");
    WriteFile(file, "QUELB,COM1\r\n");
    fs::create_directory(dir.File("sub"));
    fs::create_symlink(file, dir.File("link.txt"));
    fs::create_hard_link(file, dir.File("hard.txt"));
    fs::create_directory_symlink(dir.Path(), dir.File("again"));
    fs::create_symlink(dir.File("later.txt"),
                       dir.File("dangling.txt"));  // writing through it creates later.txt
    fs::create_symlink("loop2", dir.File("loop1"));
    fs::create_symlink("loop1", dir.File("loop2"));

    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {file, file, true},
        {file, dir.Path() + "/./sub/../tavo.txt", true},
        {file, dir.File("link.txt"), true},
        {file, dir.File("hard.txt"), true},
        {file, dir.File("again/tavo.txt"), true},
        {file, dir.File("TAVO.TXT"), false},
        {file, dir.File("sub"), false},
        // Not there yet: the same name in the same folder.
        {dir.File("new.txt"), dir.File("again/new.txt"), true},
        {dir.File("new.txt"), dir.File("sub/new.txt"), false},
        {dir.File("later.txt"), dir.File("dangling.txt"), true},
        {dir.File("none/x.txt"), dir.File("none/../none/x.txt"), true},
        {dir.File("none/x.txt"), dir.File("none/y.txt"), false},
        // Nothing that names no file matches anything.
        {"", "", false},
        {dir.Path() + "/", dir.Path() + "/", false},
        {dir.File("loop1"), dir.File("loop1"), true},  // a loop of links is one name, not a hang
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(IsSameFile(c.a, c.b), c.same);
        EXPECT_EQ(IsSameFile(c.b, c.a), c.same);
    }
    // A relative name is one with the current folder's file.
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    EXPECT_TRUE(IsSameFile("tavo.txt", file));
    EXPECT_TRUE(IsSameFile("new.txt", dir.File("new.txt")));
    fs::current_path(before);
}

TEST(FileRoles, TheFirstCollisionIsNamedWithBothRoles) {
    TempFolder dir;
    const std::string init = dir.File("QUELB_InitCmds.txt");
    WriteFile(init, "800000\r\n");
    // A file given again, however spelled, keeps the role it was given first.
    const std::vector<FileRole> inputs{{"configuration file", dir.File("tavodevices.cfg")},
                                       {"initialization file", init, "ZIM-8x8"},
                                       {"initialization file", dir.File("./QUELB_InitCmds.txt"), "QUELB"},
                                       {"initialization file", init, "QUELB"}};
    struct Case {
        std::vector<FileRole> outputs;
        std::string text;
    };
    const Case cases[] = {
        {{{"feedback file", dir.File("fb.txt"), "QUELB"}, {"CInfo file", dir.File("ci.txt"), "QUELB"}}, ""},
        {{{"feedback file", dir.File("fb.txt"), "QUELB"}, {"CInfo file", dir.File("./fb.txt"), "QUELB"}},
         "The CInfo file (" + dir.File("./fb.txt") +
             ") for device (QUELB) is the same file as the feedback file (" + dir.File("fb.txt") + ")!"},
        {{{"feedback file", dir.File("quelb_initcmds.txt"), "QUELB"}, {"CInfo file", init, "QUELB"}},
         "The CInfo file (" + init + ") for device (QUELB) is the same file as the initialization file (" +
             init + ") of device (ZIM-8x8)!"},
        {{{"debug file", dir.File("tavodevices.cfg")}},
         "The debug file (" + dir.File("tavodevices.cfg") + ") is the same file as the configuration file (" +
             dir.File("tavodevices.cfg") + ")!"},
        {{{"feedback file", init, "ZIM-8x8"}},
         "The feedback file (" + init +
             ") for device (ZIM-8x8) is the same file as the initialization file (" + init + ")!"},
    };
    const FileRoles run(inputs);
    for (const Case& c : cases) EXPECT_EQ(run.Collision(c.outputs), c.text);

    // A file of the run that did not exist when it was added (a trace the run
    // has since begun) is still found.
    FileRoles traced(inputs);
    traced.Add({"debug file", dir.File("trace.txt")});
    WriteFile(dir.File("trace.txt"), "Log opened.\r\n");
    EXPECT_EQ(traced.Collision({{"CInfo file", dir.File("./trace.txt"), "QUELB"}}),
              "The CInfo file (" + dir.File("./trace.txt") +
                  ") for device (QUELB) is the same file as the debug file (" + dir.File("trace.txt") + ")!");
}

}  // namespace
}  // namespace tavo
