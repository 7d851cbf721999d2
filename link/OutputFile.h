#pragma once
// A file written by the programs: the device port file, feedback files,
// reports and traces. Only a regular file is written: the open cannot block
// (a named pipe without a reader would wait for one), and a folder, a named
// pipe or a device node counts as a file that cannot be opened. Every write is
// checked (an interrupted or short write goes on), and so is the close; the
// first error is kept with its description, so that the caller can show it.
//
//     OutputFile out;
//     if (!out.Open(path, OutputFile::Mode::Replace)) ... out.ErrorText();
//     out.WriteLine("QUELB,COM3");
//     if (!out.Close()) ... out.ErrorText();   // the target changes only here
//
// Replace writes a temporary file in the target's folder and renames it over
// the target only when Close succeeds after every write succeeded; anything
// else (an error, Discard, destruction) removes the temporary file and leaves
// the earlier file as it was.

#include <string>
#include <string_view>

namespace tavo {

class OutputFile {
  public:
    enum class Mode { Truncate, Append, Replace };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens path (discarding any file open before); false when it cannot be
    // opened, with the error kept.
    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // The open descriptor (-1 when closed), for text written around this class.
    int Descriptor() const { return fd_; }

    // Writes text as it is; false once any write has failed (later writes are
    // dropped, so the file never continues past a gap).
    bool Write(std::string_view text);
    // text followed by CR LF.
    bool WriteLine(std::string_view text);

    // Ends the file: the close is checked and, in Replace mode, the finished
    // file takes the target's place. True when the whole file stands.
    bool Close();
    // Ends the file without a result: in Replace mode the target stays as it was.
    void Discard();

    // The first error since Open (an errno value, or kNotRegularFile) and its text.
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }
    const std::string& ErrorText() const { return errorText_; }

  private:
    bool OpenTemporary(const std::string& folder, const std::string& name, int& error);
    void SetError(int error);
    void RemoveTemporary();

    int fd_ = -1;
    std::string path_;
    Mode mode_ = Mode::Truncate;
    std::string target_;     // Replace: the file that the temporary file replaces
    std::string temporary_;  // Replace: the file being written
    int error_ = 0;
    std::string errorText_;
};

}  // namespace tavo
