// The input and output file layers against real files, folders, named pipes,
// device nodes and a full disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "link/InputFile.h"
#include "link/OutputFile.h"
#include "tests/support/DeviceEmulator.h"
#include "tests/support/FileSizeLimit.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::vector<std::string> Lines(const std::string& path) {
    InputFile in(path);
    std::vector<std::string> lines;
    for (std::string line; in.ReadLine(line);) lines.push_back(line);
    EXPECT_FALSE(in.Failed()) << in.ErrorText();
    return lines;
}

TEST(InputFile, ReadsLfAndCrLfLinesAndALastLineWithoutEnd) {
    TempFolder dir;
    const std::string path = dir.File("in.txt");
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string longLine(40000, 'x');  // longer than one read
    for (const Case& c : {Case{"", {}}, Case{"a\r\nb\nc", {"a", "b", "c"}}, Case{"a\n\n\r\n", {"a", "", ""}},
                          Case{" x\r\r\n", {" x\r"}}, Case{longLine + "\r\nz\n", {longLine, "z"}}}) {
        WriteFile(path, c.text);
        EXPECT_EQ(Lines(path), c.lines) << c.text.substr(0, 20);
    }
    std::string all;
    EXPECT_TRUE(InputFile::ReadWholeFile(path, all));
    EXPECT_EQ(all, longLine + "\r\nz\n");
}

TEST(InputFile, OnlyARegularFileOpensAndNothingBlocks) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    struct Case {
        std::string path;
        int error;
    };
    for (const Case& c :
         {Case{dir.File("missing"), ENOENT}, Case{dir.Path(), EISDIR},
          Case{dir.File("pipe"), kNotRegularFile}, Case{"/dev/zero", kNotRegularFile}, Case{"", ENOENT}}) {
        InputFile in(c.path);
        EXPECT_FALSE(in.IsOpen()) << c.path;
        EXPECT_EQ(in.Error(), c.error) << c.path;
        std::string line;
        EXPECT_FALSE(in.ReadLine(line));
    }
    EXPECT_EQ(FileErrorText(kNotRegularFile), "Not a regular file");
    EXPECT_EQ(FileErrorText(EISDIR), "Is a directory");
}

TEST(OutputFile, TruncatesOrAppendsAndChecksEveryWrite) {
    TempFolder dir;
    const std::string path = dir.File("out.txt");
    WriteFile(path, "earlier\r\n");
    OutputFile out;
    ASSERT_TRUE(out.Open(path, OutputFile::Mode::Append));
    EXPECT_TRUE(out.WriteLine("more"));
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadFile(path), "earlier\r\nmore\r\n");

    ASSERT_TRUE(out.Open(path, OutputFile::Mode::Truncate));
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_TRUE(out.Write("new"));
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadFile(path), "new");

    {
        FileSizeLimit full(5);
        ASSERT_TRUE(out.Open(path, OutputFile::Mode::Truncate));
        EXPECT_TRUE(out.Write("1234"));
        EXPECT_FALSE(out.Write("5678"));  // the first byte fits, the rest does not
        EXPECT_FALSE(out.Write("9"));     // nothing after a gap
        EXPECT_FALSE(out.Close());
    }
    EXPECT_EQ(out.Error(), EFBIG);
    EXPECT_EQ(out.ErrorText(), "File too large");
    EXPECT_EQ(ReadFile(path), "12345");
}

TEST(OutputFile, FoldersPipesAndDevicesCannotBeOpenedAndNothingBlocks) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("read pipe").c_str(), 0600), 0);
    // A reader on the second pipe: its open would succeed, its kind must not.
    const int reader = ::open(dir.File("read pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    struct Case {
        std::string path;
        int error;
    };
    for (auto mode : {OutputFile::Mode::Truncate, OutputFile::Mode::Append, OutputFile::Mode::Replace}) {
        for (const Case& c : {Case{dir.Path(), EISDIR}, Case{dir.File("read pipe"), kNotRegularFile},
                              Case{"/dev/null", kNotRegularFile}, Case{dir.File("no/folder.txt"), ENOENT}}) {
            OutputFile out;
            EXPECT_FALSE(out.Open(c.path, mode)) << c.path;
            EXPECT_EQ(out.Error(), c.error) << c.path;
            EXPECT_FALSE(out.Write("x"));
            EXPECT_FALSE(out.Close());
        }
        OutputFile out;
        EXPECT_FALSE(out.Open(dir.File("pipe"), mode));  // no reader: fails at once
    }
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(OutputFile, ReplaceChangesTheTargetOnlyWhenTheWholeFileStands) {
    TempFolder dir;
    const std::string path = dir.File("tavo.txt");
    WriteFile(path, "QUELB,COM9\r\n");
    ::chmod(path.c_str(), 0640);

    // Written, then dropped: by Discard, by destruction, by a write that failed.
    for (int way = 0; way < 3; ++way) {
        OutputFile out;
        ASSERT_TRUE(out.Open(path, OutputFile::Mode::Replace));
        EXPECT_TRUE(out.WriteLine("ZIM-8x8,COM1"));
        EXPECT_EQ(ReadFile(path), "QUELB,COM9\r\n");
        if (way == 0) out.Discard();
        if (way == 2) {
            FileSizeLimit full(4);
            EXPECT_FALSE(out.WriteLine("ZIM-8x8,COM2"));
            EXPECT_FALSE(out.Close());
            EXPECT_EQ(out.ErrorText(), "File too large");
        }
    }
    EXPECT_EQ(ReadFile(path), "QUELB,COM9\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"tavo.txt"});

    OutputFile out;
    ASSERT_TRUE(out.Open(path, OutputFile::Mode::Replace));
    out.WriteLine("ZIM-8x8,COM1");
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadFile(path), "ZIM-8x8,COM1\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"tavo.txt"});

    // Through a link the linked file is replaced and the link stays.
    fs::create_symlink(path, dir.File("link.txt"));
    ASSERT_TRUE(out.Open(dir.File("link.txt"), OutputFile::Mode::Replace));
    out.WriteLine("QUELB,COM2");
    EXPECT_TRUE(out.Close());
    EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
    EXPECT_EQ(ReadFile(path), "QUELB,COM2\r\n");

    // A new file in a folder given relative to the current one.
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    ASSERT_TRUE(out.Open("new.txt", OutputFile::Mode::Replace));
    EXPECT_TRUE(out.Close());
    fs::current_path(before);
    EXPECT_EQ(ReadFile(dir.File("new.txt")), "");
}

}  // namespace
}  // namespace tavo
