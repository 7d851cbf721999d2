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
//     FileRoles run;
//     run.Add({"configuration file", cfg});
//     run.Add({"device port file", ports});
//     std::vector<FileRole> outputs{{"feedback file", feedback, "QUELB"}, {"CInfo file", report, "QUELB"}};
//     if (std::string same = run.Collision(outputs); !same.empty()) ...;  // write neither
//
// Each file's identity is worked out once, when it is added, and looked up by
// hash: a check costs the same however many files the run holds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tavo {

struct FileRole {
    std::string role;    // "feedback file", "device port file", ...
    std::string path;    // as the user or the configuration gave it
    std::string device;  // the device whose file it is; empty for a file of the whole run
};

// The files of a run, each held once under the first role it was added with.
// Identities are taken as the files stand when added (a file created since is
// still found by its name): a set serves while its files stay in place, as in
// one run of the query or one check of a window.
class FileRoles {
  public:
    FileRoles() = default;
    explicit FileRoles(const std::vector<FileRole>& files);

    // Adds a file of the run; one already held, however it is named, keeps its
    // first role. A path that names no file (empty, a folder) is left out.
    void Add(const FileRole& file);
    // The message for the first of outputs that is the same file as one held
    // (the first added, when several are), or as an output listed before it:
    // "The feedback file (x.txt) for device (QUELB) is the same file as the
    // initialization file (X.TXT) of device (ZIM-8x8)!". Empty when every
    // output is a file of its own.
    std::string Collision(const std::vector<FileRole>& outputs) const;

    // One way of telling a file: its device and inode (name empty), or the
    // device and inode of its folder and its name there (the whole normalized
    // path when the folder is missing too).
    struct Key {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::string name;
        bool operator==(const Key&) const = default;
    };
    struct Identity;

  private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    void Add(const FileRole& file, const Identity& identity);
    // Index of the first file held that has one of identity's keys; npos when none.
    std::size_t IndexOf(const Identity& identity) const;

    std::vector<FileRole> files_;
    std::unordered_map<Key, std::size_t, KeyHash> byKey_;  // index into files_
    std::unordered_set<std::string> paths_;                // every path added, as spelled
};

// True when a and b name one file: the same device and inode for a file that
// exists (through symbolic links, hard links and differently spelled folders
// alike); for one that does not exist yet, the same folder and the same name
// in it. An empty path names no file.
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace tavo
