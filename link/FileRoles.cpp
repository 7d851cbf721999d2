#include "FileRoles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace tavo {

// A file's keys: the inode of a file that exists, and the folder entry that
// its path names. Either one that two paths share makes them one file.
struct FileRoles::Identity {
    std::optional<Key> inode;
    std::optional<Key> entry;
};

namespace {

using Key = FileRoles::Key;
using Identity = FileRoles::Identity;

// Far more than any sane chain of links; a loop of links ends here too.
constexpr int kMaxLinkHops = 40;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

Identity IdentityOf(std::string path) {
    Identity identity;
    if (path.empty() || path.find('\0') != std::string::npos) return identity;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return identity;  // a folder is never an output file
        identity.inode = Key{st.st_dev, st.st_ino, {}};
    }
    // The entry the path ends at, its links followed: writing through a link
    // to a file not yet created creates its target.
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string target(static_cast<std::size_t>(st.st_size) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) break;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return identity;  // a folder, never an output file
    if (::stat(FolderOf(path).c_str(), &st) == 0) {
        identity.entry = Key{st.st_dev, st.st_ino, std::move(name)};
    } else if (!identity.inode) {
        std::error_code error;
        const std::filesystem::path whole = std::filesystem::absolute(path, error).lexically_normal();
        identity.entry = Key{0, 0, error ? path : whole.string()};
    }
    return identity;
}

std::string Described(const FileRole& file) { return file.role + " (" + file.path + ")"; }

std::string CollisionText(const FileRole& output, const FileRole& other) {
    std::string text = "The " + Described(output);
    if (!output.device.empty()) text += " for device (" + output.device + ")";
    text += " is the same file as the " + Described(other);
    if (!other.device.empty() && other.device != output.device) text += " of device (" + other.device + ")";
    return text + "!";
}

}  // namespace

std::size_t FileRoles::KeyHash::operator()(const Key& key) const {
    std::size_t h = std::hash<std::string>{}(key.name);
    for (const std::uint64_t part : {key.device, key.inode})
        h = h * 1000003u ^ std::hash<std::uint64_t>{}(part);
    return h;
}

FileRoles::FileRoles(const std::vector<FileRole>& files) {
    for (const FileRole& file : files) Add(file);
}

void FileRoles::Add(const FileRole& file) {
    // A path given again (one initialization file on many device lines) is not looked at again.
    if (paths_.insert(file.path).second) Add(file, IdentityOf(file.path));
}

void FileRoles::Add(const FileRole& file, const Identity& identity) {
    if (!identity.inode && !identity.entry) return;
    std::size_t index = IndexOf(identity);
    if (index == kNone) {
        index = files_.size();
        files_.push_back(file);
    }
    for (const std::optional<Key>* key : {&identity.inode, &identity.entry})
        if (*key) byKey_.emplace(**key, index);
}

std::size_t FileRoles::IndexOf(const Identity& identity) const {
    std::size_t first = kNone;
    for (const std::optional<Key>* key : {&identity.inode, &identity.entry}) {
        if (!*key) continue;
        if (const auto found = byKey_.find(**key); found != byKey_.end() && found->second < first)
            first = found->second;
    }
    return first;
}

std::string FileRoles::Collision(const std::vector<FileRole>& outputs) const {
    FileRoles earlier;
    for (const FileRole& output : outputs) {
        const Identity identity = IdentityOf(output.path);
        if (const std::size_t held = IndexOf(identity); held != kNone)
            return CollisionText(output, files_[held]);
        if (const std::size_t before = earlier.IndexOf(identity); before != kNone)
            return CollisionText(output, earlier.files_[before]);
        earlier.Add(output, identity);
    }
    return {};
}

bool IsSameFile(const std::string& a, const std::string& b) {
    // The rule the run's checks use: a held, b looked up among the files held.
    FileRoles held;
    held.Add({"", a});
    return !held.Collision({{"", b}}).empty();
}

}  // namespace tavo
