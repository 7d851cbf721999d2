#pragma once
// The files of one run under the roles they play: the configuration file, the
// device port file and the initialization files that the run reads, and the
// traces, feedback files and reports that it writes. A path given for an
// output may name a file that the run already reads or writes under another
// role ("-d tavo.txt", a template that expands to an initialization file, two
// templates that expand alike); writing it would destroy that file or mix two
// records into one. Files are compared as the file system sees them, not as
// they are spelled:
//
//     std::vector<FileRole> inputs{{"configuration file", cfg}, {"device port file", ports}};
//     std::vector<FileRole> outputs{{"feedback file", feedback, "QUELB"}, {"CInfo file", report, "QUELB"}};
//     if (std::string same = FindCollision(outputs, inputs); !same.empty()) ...;  // write neither

#include <string>
#include <vector>

namespace tavo {

struct FileRole {
    std::string role;    // "feedback file", "device port file", ...
    std::string path;    // as the user or the configuration gave it
    std::string device;  // the device whose file it is; empty for a file of the whole run
};

// True when a and b name one file: the same device and inode for a file that
// exists (through symbolic links, hard links and differently spelled folders
// alike); for one that does not exist yet, the same folder and the same name
// in it. An empty path names no file.
bool IsSameFile(const std::string& a, const std::string& b);

// The message for the first of outputs that is the same file as one of inputs,
// or as an output listed before it: "The feedback file (x.txt) for device
// (QUELB) is the same file as the initialization file (X.TXT) of device
// (ZIM-8x8)!". Empty when every output is a file of its own.
std::string FindCollision(const std::vector<FileRole>& outputs, const std::vector<FileRole>& inputs);

}  // namespace tavo
