#pragma once
// A text file read line by line. Only a regular file is opened: the open
// cannot block (a named pipe would wait for a writer, a device might never
// end), and the kind is checked on the opened descriptor, so nothing can swap
// the file in between. Lines end in LF or CR LF; the CR is dropped.
//
//     InputFile in(path);
//     if (!in.IsOpen()) ...;                 // missing, a folder, a pipe, no right to read
//     for (std::string line; in.ReadLine(line);) ...;
//     if (in.Failed()) ... in.ErrorText();    // a read error ended the lines early

#include <string>

namespace tavo {

class InputFile {
  public:
    InputFile() = default;
    explicit InputFile(const std::string& path) { Open(path); }
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens path (closing any file open before); false when it is no regular
    // file that can be read.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
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

    // The whole regular file at path; false (out empty) when it cannot be read.
    static bool ReadWholeFile(const std::string& path, std::string& out);

  private:
    // Reads the next block into the buffer; false at the end or on an error.
    bool Fill();
    void SetError(int error);

    int fd_ = -1;
    bool atEnd_ = false;
    std::string buffer_;
    std::size_t pos_ = 0;
    int error_ = 0;
    std::string errorText_;
};

// The error of a path that is there but is no regular file (a folder, a
// named pipe, a device node), beside the errno values.
inline constexpr int kNotRegularFile = -1;
// The readable description of an errno value or of kNotRegularFile.
std::string FileErrorText(int error);

// Opens path with flags (O_NONBLOCK, O_CLOEXEC and O_NOCTTY added) and checks
// the opened descriptor: a regular file is kept and made blocking again;
// anything else is closed. The descriptor, or -1 with error set.
int OpenRegularFile(const std::string& path, int flags, int& error);

}  // namespace tavo
