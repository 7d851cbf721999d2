#pragma once
// A pipe that a thread of its own fills with a text and then closes, as the
// command of a shell's "<(...)" does, or a program writing into a named pipe.
// Path() is what the code under test opens: /dev/fd/N of an anonymous pipe's
// reading end, or the named pipe. The writer waits for no clock: it writes as
// fast as the pipe takes the text, and a named pipe's writer opens it when a
// reader does.

#include <string>
#include <thread>

namespace tavo::test {

class PipeWriter {
  public:
    // An anonymous pipe; the reading end stays open in this process.
    explicit PipeWriter(std::string text);
    // A named pipe made at path.
    PipeWriter(const std::string& path, std::string text);
    // Ends the writer: what no reader took is drained, a writer still waiting
    // for a reader is let in.
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

    const std::string& Path() const { return path_; }
    // False when the pipe could not be made.
    bool Made() const { return made_; }

  private:
    void Start(int writeEnd, std::string text);

    std::string path_;
    bool named_ = false;
    bool made_ = false;
    int readEnd_ = -1;   // the anonymous pipe's
    int doneRead_ = -1;  // ends when the writer has closed its end
    std::thread writer_;
};

}  // namespace tavo::test
