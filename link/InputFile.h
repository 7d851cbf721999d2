#pragma once
// The one layer through which the programs read their input files: the
// configuration file, the device port file, initialization, command and
// settings files, the key store.
// - A regular file is read as it stands. A pipe (a named pipe, or the /dev/fd/N
//   that a shell hands over for "<(...)") is read whole at the open, within the
//   limits below; a pipe whose writer neither writes nor closes in time counts
//   as unreadable. Anything else (a folder, a device node, a socket) is
//   refused. The open itself never blocks: a named pipe without a writer
//   waits in poll() until its deadline, never in open(), and the windows (when
//   there are any) go on answering meanwhile.
// - Input past the size limit is refused, so no file or pipe reads for ever.
// - A UTF-8 byte-order mark at the start is skipped (editors write one).
// - Lines end at CR LF, LF or a CR alone; the line end is not part of the line.
//
//     InputFile in(path);
//     if (!in.IsOpen()) ...;                 // missing, a folder, a device, a silent pipe, too big
//     for (std::string line; in.ReadLine(line);) ...;
//     if (in.Failed()) ... in.ErrorText();    // a read error ended the lines early

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavo {

struct InputLimits {
    // Real configuration, port and command files hold a few kilobytes.
    std::size_t maxBytes = 16 * 1024 * 1024;
    // A pipe must be written and closed within this time from its open: ample
    // for a command that prints a file, short enough that a pipe nobody writes
    // to ends the program soon with its missing-file message.
    std::chrono::milliseconds pipeWait = std::chrono::seconds(5);
};

// The limits that inputs are opened under; tests shorten them.
InputLimits CurrentInputLimits();
void SetInputLimits(const InputLimits& limits);

class InputFile {
  public:
    // Read in blocks of this size.
    static constexpr std::size_t kBlockSize = 16384;

    InputFile() = default;
    explicit InputFile(const std::string& path, const InputLimits& limits = CurrentInputLimits()) {
        Open(path, limits);
    }
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens path (closing any file open before); a pipe is read whole here.
    // False when it is neither a regular file nor a pipe that delivers in time,
    // cannot be read, or is too big.
    bool Open(const std::string& path, const InputLimits& limits = CurrentInputLimits());
    bool IsOpen() const { return open_; }
    void Close();

    // The next line without its line end; false at the end of the file or on a
    // read error. A last line without a line end is a line too.
    bool ReadLine(std::string& line);
    // The rest of the file as it stands; false on a read error.
    bool ReadAll(std::string& out);

    // The first error since Open: an errno value and its description.
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }
    const std::string& ErrorText() const { return errorText_; }

    // The whole input at path; false (out empty) when it cannot be read, with
    // the reason in *why when given.
    static bool ReadWholeFile(const std::string& path, std::string& out, std::string* why = nullptr);

  private:
    // Reads the next block into the buffer; false at the end or on an error.
    bool Fill();
    void SkipByteOrderMarkAtStart();
    void SetError(int error);

    int fd_ = -1;
    bool open_ = false;
    bool atEnd_ = false;
    bool markChecked_ = false;
    std::size_t maxBytes_ = 0;
    std::size_t bytesRead_ = 0;
    std::string buffer_;
    std::size_t pos_ = 0;
    int error_ = 0;
    std::string errorText_;
};

// True when path is a regular file that opens for reading, or a pipe that this
// process may read. A named pipe is not even opened, so that its content and
// its writer stay for the reader that follows.
bool CanOpenForReading(const std::string& path);

// The byte-order mark that editors put in front of UTF-8 text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// text without a byte-order mark at its very start.
std::string_view SkipByteOrderMark(std::string_view text);

// Splits the first line off text: length is the line without its line end,
// taken the line with it. A line ends at CR LF, LF or a CR alone. While more
// text may follow (final false), a line without its end, or one whose CR may be
// the first half of a CR LF, is not split off: false. With final, the rest of
// the text is the last line; false only when text is empty.
bool SplitLine(std::string_view text, bool final, std::size_t& length, std::size_t& taken);
// Takes the next line off the front of a whole text; false when none is left.
bool NextLine(std::string_view& text, std::string_view& line);

// The error of a path that is there but is no regular file (a folder, a
// named pipe, a device node), beside the errno values.
inline constexpr int kNotRegularFile = -1;
// The error of a pipe that was not written and closed within the wait.
inline constexpr int kPipeNotClosed = -2;
// The readable description of an errno value or of the two above.
std::string FileErrorText(int error);

// Opens path with flags (O_NONBLOCK, O_CLOEXEC and O_NOCTTY added) and checks
// the opened descriptor: a regular file is kept and made blocking again;
// anything else is closed. The descriptor, or -1 with error set.
int OpenRegularFile(const std::string& path, int flags, int& error);

}  // namespace tavo
