#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/KeyStore.h"
#include "config/frmAbout.h"
#include "link/ProgramInfo.h"
#include "tests/config/CfgTestSupport.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/InputLimitsScope.h"
#include "tests/support/PipeWriter.h"
#include "tests/support/ScriptedMessageBox.h"

namespace tavo::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

// A key store file in a temporary folder, installed as $TAVO_KEYS.
class AboutBox : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramTitle(modTAVOCfg::kProgramTitle);
        ::setenv("TAVO_KEYS", Keys().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("TAVO_KEYS"); }

    std::string Keys() const { return folder_.File("keys.ini"); }

    // An executable script that writes "started" into a pipe the test waits on.
    std::string WriteStarter(const std::string& path) {
        fifo_ = folder_.File("started.fifo");
        if (!fs::exists(fifo_)) ::mkfifo(fifo_.c_str(), 0600);
        WriteFile(path, "#!/bin/sh\necho started > '" + fifo_ + "'\n");
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    // True when the script wrote to its pipe within a few seconds.
    bool StarterRan() {
        int fd = ::open(fifo_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return false;
        pollfd p{fd, POLLIN, 0};
        bool ran = ::poll(&p, 1, 10000) > 0 && (p.revents & POLLIN);
        ::close(fd);
        return ran;
    }

    void ExpectFailureBox() {
        ExpectOneBox(boxes_, "TAVO Device Configuration", "System Information Is Unavailable At This Time",
                     MsgIcon::None);
    }

    TempFolder folder_;
    ScriptedMessageBox boxes_;
    std::string fifo_;
};

TEST_F(AboutBox, ShowsTitleAndVersion) {
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), "About TAVO Device Configuration");
    EXPECT_EQ(box.lblTitle->text(), "TAVO Device Configuration");
    EXPECT_EQ(box.lblVersion->text(), "Version 1.0.0");
    EXPECT_EQ(frmAbout::VersionText({1, 1, 0}), "Version 1.1.0");
}

TEST_F(AboutBox, GetKeyValueReadsTextValuesOnly) {
    WriteFile(Keys(),
              "; where the system information program lives\n[HKEY_LOCAL_MACHINE\\" + std::string(kMsInfo) +
                  "]\nPath = /usr/bin/sysinfo \nBuild=dword:0000002a\nLong=" + std::string(1024, 'x') +
                  "\nLongest=" + std::string(1023, 'y') + "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other\\Below]\n");
    std::string value = "before";
    // Names match without regard to case.
    EXPECT_TRUE(
        frmAbout::GetKeyValue(kHKeyLocalMachine, "software\\microsoft\\shared tools\\msinfo", "PATH", value));
    EXPECT_EQ(value, "/usr/bin/sysinfo");
    // A number value counts as read and leaves the text as it was.
    EXPECT_TRUE(frmAbout::GetKeyValue(kHKeyLocalMachine, kMsInfo, "Build", value));
    EXPECT_EQ(value, "/usr/bin/sysinfo");
    EXPECT_TRUE(frmAbout::GetKeyValue(kHKeyLocalMachine, kMsInfo, "Longest", value));
    EXPECT_EQ(value.size(), 1023u);

    // Too long for the buffer, a missing value, a key that exists only through
    // one below it, a missing key, another root: not read, and emptied.
    for (auto [root, key, name] :
         {std::tuple{kHKeyLocalMachine, kMsInfo, "Long"}, std::tuple{kHKeyLocalMachine, kMsInfo, "Missing"},
          std::tuple{kHKeyLocalMachine, "SOFTWARE\\Other", "PATH"},
          std::tuple{kHKeyLocalMachine, kLocation, "MSINFO"},
          std::tuple{kHKeyCurrentUser, kMsInfo, "PATH"}}) {
        value = "before";
        EXPECT_FALSE(frmAbout::GetKeyValue(root, key, name, value)) << key << " " << name;
        EXPECT_EQ(value, "");
    }
}

TEST_F(AboutBox, TheUsersKeyStoreElseTheSystems) {
    ::unsetenv("TAVO_KEYS");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", folder_.Path().c_str(), 1);
    EXPECT_EQ(KeyStore::StoreFile(), "/etc/tavo/keys.ini");
    fs::create_directories(folder_.File(".config/tavo"));
    WriteFile(folder_.File(".config/tavo/keys.ini"), "");
    EXPECT_EQ(KeyStore::StoreFile(), folder_.File(".config/tavo/keys.ini"));
    ::setenv("HOME", home.c_str(), 1);
}

TEST_F(AboutBox, SystemInfoStartsThePathOfTheFirstValue) {
    const std::string program = WriteStarter(folder_.File("sysinfo"));
    WriteFile(Keys(), std::string("[HKEY_LOCAL_MACHINE\\") + kMsInfo + "]\nPATH=" + program + "\n");
    frmAbout box;
    box.cmdSysInfo_Click();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(StarterRan());
}

TEST_F(AboutBox, SystemInfoFallsBackToTheFolderOfTheSecondValue) {
    const std::string keys =
        std::string("[HKEY_LOCAL_MACHINE\\") + kLocation + "]\nMSINFO=" + folder_.Path() + "\n";
    WriteFile(Keys(), keys);
    frmAbout box;
    // No MSINFO32.EXE in that folder yet.
    box.StartSysInfo();
    ExpectFailureBox();

    WriteStarter(folder_.File("MSINFO32.EXE"));
    box.StartSysInfo();
    EXPECT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_TRUE(StarterRan());

    // The store as a pipe serves both lookups: it is read once.
    fs::remove(Keys());
    PipeWriter pipe(Keys(), keys);
    box.StartSysInfo();
    EXPECT_TRUE(StarterRan());
}

TEST_F(AboutBox, SystemInfoThatCannotStartGivesTheFailureBox) {
    // The first value names a file that is not a program; the store may not exist at all.
    WriteFile(folder_.File("notes.txt"), "not a program\n");
    WriteFile(Keys(),
              std::string("[HKEY_LOCAL_MACHINE\\") + kMsInfo + "]\nPATH=" + folder_.File("notes.txt") + "\n");
    frmAbout box;
    box.StartSysInfo();
    ExpectFailureBox();

    ScriptedMessageBox boxes;
    fs::remove(Keys());
    box.StartSysInfo();
    EXPECT_EQ(boxes.Shown().size(), 1u);

    // A named pipe nobody writes to in place of the store is no store, and
    // blocks nothing past the pipe wait.
    ScriptedMessageBox pipeBoxes;
    {
        InputLimitsScope shortWait(ShortPipeWait());
        BlockingPipe pipe(Keys());
        ASSERT_TRUE(pipe.Created());
        box.StartSysInfo();
        EXPECT_FALSE(pipe.Blocked());
    }
    EXPECT_EQ(pipeBoxes.Shown().size(), 1u);
}

}  // namespace
}  // namespace tavo::test
