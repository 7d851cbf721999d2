#include "FileRoles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

namespace tavo {

namespace {

// Far more than any sane chain of links; a loop of links ends here too.
constexpr int kMaxLinkHops = 40;

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    // Empty for a file that exists; else its name in the folder (device, inode),
    // or its whole normalized path when the folder does not exist either.
    std::string name;
    bool operator==(const Identity&) const = default;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<Identity> IdentityOf(std::string path) {
    if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
    struct stat st {};
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (::stat(path.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) return std::nullopt;  // a folder is never an output file
            return Identity{st.st_dev, st.st_ino, {}};
        }
        // A link to a file not yet created: writing through it creates its target.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string target(static_cast<std::size_t>(st.st_size) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) break;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;  // a folder, never an output file
    if (::stat(FolderOf(path).c_str(), &st) == 0) return Identity{st.st_dev, st.st_ino, std::move(name)};
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error).lexically_normal();
    return Identity{0, 0, error ? path : whole.string()};
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

bool IsSameFile(const std::string& a, const std::string& b) {
    const std::optional<Identity> first = IdentityOf(a);
    return first && first == IdentityOf(b);
}

std::string FindCollision(const std::vector<FileRole>& outputs, const std::vector<FileRole>& inputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const FileRole& input : inputs)
            if (IsSameFile(outputs[i].path, input.path)) return CollisionText(outputs[i], input);
        for (std::size_t j = 0; j < i; ++j)
            if (IsSameFile(outputs[i].path, outputs[j].path)) return CollisionText(outputs[i], outputs[j]);
    }
    return {};
}

}  // namespace tavo
