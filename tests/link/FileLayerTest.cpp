// The input and output file layers against real files, folders, named pipes,
// device nodes and a full disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/inotify.h>
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
#include "tests/support/InputLimitsScope.h"
#include "tests/support/PipeWriter.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::vector<std::string> Lines(const std::string& path, const InputLimits& limits = CurrentInputLimits()) {
    InputFile in(path, limits);
    EXPECT_TRUE(in.IsOpen()) << path << ": " << in.ErrorText();
    std::vector<std::string> lines;
    for (std::string line; in.ReadLine(line);) lines.push_back(line);
    EXPECT_FALSE(in.Failed()) << in.ErrorText();
    return lines;
}

// Lines end at CR LF, LF or a CR alone, wherever the read blocks end; a
// byte-order mark is dropped at the start of the file and nowhere else.
TEST(InputFile, LinesEndAtCrLfLfOrALoneCrAndAByteOrderMarkIsSkipped) {
    TempFolder dir;
    const std::string path = dir.File("in.txt");
    const std::string bom = "\xEF\xBB\xBF";
    const std::size_t block = InputFile::kBlockSize;
    const std::string longLine(40000, 'x');  // longer than two reads
    struct Case {
        std::string name;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"CR LF, LF, no end", "a\r\nb\nc", {"a", "b", "c"}},
        {"CR alone", "QUELB,COM1\rZIM-8x8,COM4\r", {"QUELB,COM1", "ZIM-8x8,COM4"}},
        {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"empty lines", "a\n\n\r\n\r\r", {"a", "", "", "", ""}},
        {"CR CR LF", " x\r\r\n", {" x", ""}},
        {"mark", bom + "QUELB,COM1\r\n", {"QUELB,COM1"}},
        {"mark and CR alone", bom + "800000\r840000\r", {"800000", "840000"}},
        {"mark alone", bom, {}},
        {"mark only once", bom + bom + "x", {bom + "x"}},
        {"mark not at the start", "a\n" + bom + "b", {"a", bom + "b"}},
        {"half a mark", "\xEF\xBB", {"\xEF\xBB"}},
        {"long line", longLine + "\r\nz\n", {longLine, "z"}},
        // The CR is the last byte of the first block, the LF the first of the second.
        {"CR LF across blocks", std::string(block - 1, 'x') + "\r\ny", {std::string(block - 1, 'x'), "y"}},
        {"CR LF across blocks after a mark",
         bom + std::string(block - 4, 'x') + "\r\ny",
         {std::string(block - 4, 'x'), "y"}},
        {"CR alone at a block end", std::string(block - 1, 'x') + "\ry", {std::string(block - 1, 'x'), "y"}},
        {"CR at the very end", std::string(block - 1, 'x') + "\r", {std::string(block - 1, 'x')}},
    };
    for (const Case& c : cases) {
        WriteFile(path, c.text);
        EXPECT_EQ(Lines(path), c.lines) << c.name;
    }
    std::string all;
    WriteFile(path, bom + "a\rb\r\n");
    EXPECT_TRUE(InputFile::ReadWholeFile(path, all));
    EXPECT_EQ(all, "a\rb\r\n");
}

// A pipe is read whole at the open, whether its writer is already done (a
// quick "<(...)") or still writing; a named pipe's writer may come after the
// reader. A pipe whose writer closes without a word is an empty file.
TEST(InputFile, PipeWithAWriterIsReadLikeAFile) {
    TempFolder dir;
    std::string text = "\xEF\xBB\xBF[Devices]\rCount=1\r";
    for (int i = 0; i < 20000; ++i) text += "800000\r\n";  // more than a pipe holds
    std::vector<std::string> lines{"[Devices]", "Count=1"};
    lines.resize(20002, "800000");
    {
        test::PipeWriter writing(text);
        EXPECT_EQ(Lines(writing.Path()), lines);
    }
    {
        test::PipeWriter done("QUELB,COM1\r\n");
        // Its writer has written and closed before the reader comes.
        std::string all;
        ASSERT_TRUE(InputFile::ReadWholeFile(done.Path(), all));
        EXPECT_EQ(all, "QUELB,COM1\r\n");
    }
    {
        test::PipeWriter named(dir.File("named"), text);
        ASSERT_TRUE(named.Made());
        // Asked first whether it is there, as the programs do. That does not open
        // it: an open would let the waiting writer in, to find no reader.
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, named.Path().c_str(), IN_OPEN), 0);
        EXPECT_TRUE(CanOpenForReading(named.Path()));
        char event[4096];
        EXPECT_LT(::read(watch, event, sizeof event), 0) << "opened";
        ::close(watch);
        EXPECT_EQ(Lines(named.Path()), lines);
    }
    {
        test::PipeWriter silent(dir.File("silent"), "");
        EXPECT_EQ(Lines(silent.Path()), std::vector<std::string>{});
    }
}

// What cannot be read is refused at the open, and nothing blocks: a named pipe
// without a writer is given up at the end of the pipe wait.
TEST(InputFile, FoldersDevicesAndSilentPipesAreRefused) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    const std::string tty = ::ptsname(terminal);
    struct Case {
        std::string path;
        int error;
    };
    for (const Case& c :
         {Case{dir.File("missing"), ENOENT}, Case{dir.Path(), EISDIR}, Case{"/dev/null", kNotRegularFile},
          Case{"/dev/zero", kNotRegularFile}, Case{tty, kNotRegularFile}, Case{"", ENOENT},
          Case{dir.File("pipe"), kPipeNotClosed}}) {
        InputFile in(c.path, test::ShortPipeWait());
        EXPECT_FALSE(in.IsOpen()) << c.path;
        EXPECT_EQ(in.Error(), c.error) << c.path;
        std::string line;
        EXPECT_FALSE(in.ReadLine(line));
        EXPECT_FALSE(in.ReadAll(line));
        EXPECT_EQ(CanOpenForReading(c.path), c.error == kPipeNotClosed) << c.path;
    }
    ::close(terminal);
    EXPECT_EQ(FileErrorText(kNotRegularFile), "Not a regular file");
    EXPECT_EQ(FileErrorText(EISDIR), "Is a directory");

    // The wait is the limits' own: the process-wide one serves as the default.
    test::InputLimitsScope shorter(test::ShortPipeWait());
    EXPECT_FALSE(InputFile(dir.File("pipe")).IsOpen());
}

TEST(InputFile, InputPastTheSizeLimitIsRefused) {
    TempFolder dir;
    const InputLimits limits{.maxBytes = 1000};
    const std::string atLimit(1000, 'x');
    WriteFile(dir.File("at.txt"), atLimit);
    WriteFile(dir.File("over.txt"), atLimit + "\n");
    EXPECT_EQ(Lines(dir.File("at.txt"), limits), std::vector<std::string>{atLimit});
    InputFile over(dir.File("over.txt"), limits);
    EXPECT_FALSE(over.IsOpen());
    EXPECT_EQ(over.Error(), EFBIG);
    {
        test::PipeWriter pipe(atLimit);
        EXPECT_EQ(Lines(pipe.Path(), limits), std::vector<std::string>{atLimit});
    }
    test::PipeWriter endless(std::string(200000, 'x'));
    InputFile in(endless.Path(), limits);
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(in.Error(), EFBIG);
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
