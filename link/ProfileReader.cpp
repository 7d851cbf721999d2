#include "ProfileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>

#include "link/KeyedCollection.h"

namespace tavo {

namespace {

bool IsProfileSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimProfileSpace(std::string_view s) {
    while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsProfileSpace(s.back())) s.remove_suffix(1);
    return s;
}

// What the lookup hands back for a stored value: an enclosing pair of quotes
// removed, and the rest cut to the buffer. A closing quote that falls beyond
// the cut is lost with the cut.
std::string ValueAsReturned(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kProfileValueMax));
}

bool ReadRegularFile(const std::string& path, std::string& out) {
    if (path.empty()) return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    // Folders, pipes and devices are not configuration files (a device could
    // also read forever).
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            out.clear();
            return false;
        }
    }
    ::close(fd);
    return true;
}

}  // namespace

ProfileReader ProfileReader::FromFile(const std::string& path) {
    std::string text;
    if (!ReadRegularFile(path, text)) return ProfileReader{};
    return FromText(text);
}

ProfileReader ProfileReader::FromText(std::string_view text) {
    ProfileReader profile;
    // Editors may put a UTF-8 byte-order mark in front of the first section.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Section* current = nullptr;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        line = TrimProfileSpace(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                profile.sections_.push_back(Section{std::string(line.substr(1, close - 1)), {}});
                current = &profile.sections_.back();
                continue;
            }
            // Without its "]" the line is an ordinary key line.
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || current == nullptr) continue;
        current->entries.push_back(Entry{std::string(TrimProfileSpace(line.substr(0, equals))),
                                         std::string(TrimProfileSpace(line.substr(equals + 1)))});
    }
    return profile;
}

const std::string* ProfileReader::Find(std::string_view section, std::string_view key) const {
    for (const Section& s : sections_) {
        if (!EqualsNoCase(s.name, section)) continue;
        // Only the first section of a name counts.
        for (const Entry& e : s.entries) {
            if (EqualsNoCase(e.key, key)) return &e.value;
        }
        return nullptr;
    }
    return nullptr;
}

std::string ProfileReader::GetString(std::string_view section, std::string_view key,
                                     const std::string& def) const {
    const std::string* value = Find(section, key);
    return value ? ValueAsReturned(*value) : def;
}

int ProfileReader::GetInt(std::string_view section, std::string_view key, int def) const {
    const std::string* stored = Find(section, key);
    if (stored == nullptr) return def;
    std::string value = ValueAsReturned(*stored);
    if (value.empty()) return def;
    std::string_view s = value;
    while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > static_cast<std::int64_t>(INT_MAX) + 1) break;  // clamped below
    }
    if (negative) n = -n;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return static_cast<int>(n);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key, const std::string& def,
                                    const std::string& path) {
    return ProfileReader::FromFile(path).GetString(section, key, def);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int def, const std::string& path) {
    return ProfileReader::FromFile(path).GetInt(section, key, def);
}

}  // namespace tavo
