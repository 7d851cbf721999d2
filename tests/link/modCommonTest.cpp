#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "link/MessageBox.h"
#include "link/ProgramInfo.h"
#include "link/clsComPort.h"
#include "link/modCommon.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

class InTempFolder : public ::testing::Test {
  protected:
    std::string Make(const std::string& name) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }
    test::TempFolder folder_;
    const std::string dir_ = folder_.Path();
};

TEST(HexPad, PadsButNeverCuts) {
    EXPECT_EQ(HexPad(10, 2), "0A");
    EXPECT_EQ(HexPad(255, 2), "FF");
    EXPECT_EQ(HexPad(256, 2), "100");
    EXPECT_EQ(HexPad(-1, 2), "FFFF");
    EXPECT_EQ(HexPad(5, 4), "0005");
    EXPECT_EQ(HexPad(0, 0), "0");
    EXPECT_EQ(HexPad(-32768, -3), "8000");
}

using FileExistsTest = InTempFolder;

TEST_F(FileExistsTest, OnlyReadableFilesAndPipes) {
    EXPECT_TRUE(FileExists(Make("a.txt")));
    EXPECT_FALSE(FileExists(dir_ + "/missing.txt"));
    EXPECT_FALSE(FileExists(dir_ + "/no/such/folder/a.txt"));
    EXPECT_FALSE(FileExists(dir_));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("/dev/null"));  // a device gives no file to read
    ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0600), 0);
    EXPECT_TRUE(FileExists(dir_ + "/pipe"));  // opens without waiting for a writer
}

using DeleteFileTest = InTempFolder;

TEST_F(DeleteFileTest, MissingFileOrAFolderNeedsNoQuestion) {
    test::ScriptedMessageBox boxes;
    EXPECT_TRUE(DeleteFile(dir_ + "/missing.txt", true));
    EXPECT_TRUE(DeleteFile(dir_ + "/no/folder/missing.txt", true));
    EXPECT_TRUE(DeleteFile(dir_, true));  // a folder is left alone
    EXPECT_TRUE(fs::is_directory(dir_));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DeleteFileTest, AsksAndKeepsTheFileOnNo) {
    test::ScriptedMessageBox boxes;
    SetProgramTitle("tavocfg");
    std::string path = Make("tavo.txt");
    boxes.Answer(MsgResult::No);
    EXPECT_FALSE(DeleteFile(path, true));
    EXPECT_TRUE(fs::exists(path));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    const auto& box = boxes.Shown()[0];
    EXPECT_EQ(box.title, "tavocfg");
    EXPECT_EQ(box.text, "Delete file (" + path + ")?");
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(box.defaultButton, MsgResult::No);

    boxes.Answer(MsgResult::Yes);
    EXPECT_TRUE(DeleteFile(path, true));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(DeleteFileTest, WithoutPromptDeletesSilently) {
    test::ScriptedMessageBox boxes;
    std::string path = Make("a.txt");
    EXPECT_TRUE(DeleteFile(path, false));
    EXPECT_FALSE(fs::exists(path));
    // A dangling link is not a readable file, but it is there and goes too.
    fs::create_symlink(dir_ + "/nowhere", dir_ + "/link");
    EXPECT_TRUE(DeleteFile(dir_ + "/link", false));
    EXPECT_FALSE(fs::is_symlink(dir_ + "/link"));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Files of /proc are readable but never deletable, even by root.
TEST(DeleteFileInUse, ShowsFileInUseOnlyWithPrompt) {
    const std::string path = "/proc/self/status";
    ASSERT_TRUE(FileExists(path));
    test::ScriptedMessageBox boxes;
    boxes.Answer(MsgResult::Yes);
    EXPECT_FALSE(DeleteFile(path, true));
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].title, "File In Use");
    EXPECT_EQ(boxes.Shown()[1].text, "Cannot delete file, please try again later.");
    EXPECT_EQ(boxes.Shown()[1].icon, MsgIcon::Exclamation);

    EXPECT_FALSE(DeleteFile(path, false));
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

// A device of the chosen kind behind COM1.
struct IdentifyLine {
    explicit IdentifyLine(test::EmulatorOptions options) : device(options), port(EchoRule::KeepStale) {
        map.Map(1, device.DevicePath());
        port.SetComPort(1);
    }
    test::PortMapFolder map;
    test::DeviceEmulator device;
    clsComPort port;
};

TEST(IdentifyDevice, TellsTheModelsApart) {
    IdentifyLine quelb({.model = test::DeviceModel::QUELB});
    ASSERT_TRUE(quelb.port.OpenPort());
    EXPECT_EQ(IdentifyDevice(quelb.port), "QUELB");
    EXPECT_EQ(quelb.device.Received(), "!-!8100007F*");  // the presence test, then the identify command

    IdentifyLine zim({.model = test::DeviceModel::ZIM8x8});
    ASSERT_TRUE(zim.port.OpenPort());
    EXPECT_EQ(IdentifyDevice(zim.port), "ZIM-8x8");
}

TEST(IdentifyDevice, AWordThatIsNoReplyWordIsNoReply) {
    IdentifyLine line({.model = test::DeviceModel::QUELB});
    line.device.SetRegister(0x01, "Z00");  // "81Z00": no reply word
    ASSERT_TRUE(line.port.OpenPort());
    EXPECT_EQ(IdentifyDevice(line.port), "");
}

TEST(IdentifyDevice, ClosedPortSilenceAndNoReplyGiveNothing) {
    IdentifyLine closed({});
    EXPECT_EQ(IdentifyDevice(closed.port), "");
    EXPECT_TRUE(closed.device.Received().empty());

    IdentifyLine silent({.silent = true});
    ASSERT_TRUE(silent.port.OpenPort());
    EXPECT_EQ(IdentifyDevice(silent.port), "");
    EXPECT_TRUE(silent.device.Frames().empty());  // never got past the presence test

    IdentifyLine mute({.neverReply = true});
    ASSERT_TRUE(mute.port.OpenPort());
    EXPECT_EQ(IdentifyDevice(mute.port), "");
}

}  // namespace
}  // namespace tavo
