#include "ProfileReader.h"

#include <climits>
#include <cstdint>

#include "link/InputFile.h"
#include "link/KeyedCollection.h"

namespace tavo {

namespace {

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

std::string_view TrimChars(std::string_view s, std::string_view chars) {
    while (!s.empty() && chars.find(s.front()) != std::string_view::npos) s.remove_prefix(1);
    while (!s.empty() && chars.find(s.back()) != std::string_view::npos) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string_view TrimProfileSpace(std::string_view s) { return TrimChars(s, " \t\r\v\f"); }

ProfileReader ProfileReader::FromFile(const std::string& path, const ProfileSyntax& syntax) {
    return Load(path, syntax).value_or(ProfileReader{});
}

std::optional<ProfileReader> ProfileReader::Load(const std::string& path, const ProfileSyntax& syntax,
                                                 std::string* why) {
    // The input layer refuses folders and devices, bounds pipes, and drops a
    // byte-order mark.
    std::string text;
    if (!InputFile::ReadWholeFile(path, text, why)) return std::nullopt;
    return Parse(text, syntax);
}

ProfileReader ProfileReader::FromText(std::string_view text, const ProfileSyntax& syntax) {
    return Parse(SkipByteOrderMark(text), syntax);
}

ProfileReader ProfileReader::Parse(std::string_view text, const ProfileSyntax& syntax) {
    ProfileReader profile;
    Section* current = nullptr;
    for (std::string_view line; NextLine(text, line);) {
        line = TrimProfileSpace(line);
        if (line.empty() || syntax.commentMarks.find(line.front()) != std::string_view::npos) continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                profile.sections_.push_back(
                    Section{std::string(TrimChars(line.substr(1, close - 1), syntax.sectionNameTrim)), {}});
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
    // Only the first section of a name is searched, and in it the first key of a name wins.
    for (std::size_t i = 0; i < profile.sections_.size(); ++i) {
        Section& section = profile.sections_[i];
        if (!profile.firstSection_.emplace(FoldCase(section.name), i).second) continue;
        for (std::size_t j = 0; j < section.entries.size(); ++j)
            section.firstEntry.emplace(FoldCase(section.entries[j].key), j);
    }
    return profile;
}

const std::string* ProfileReader::RawValue(std::string_view section, std::string_view key) const {
    const auto s = firstSection_.find(FoldCase(section));
    if (s == firstSection_.end()) return nullptr;
    const Section& found = sections_[s->second];
    const auto e = found.firstEntry.find(FoldCase(key));
    return e == found.firstEntry.end() ? nullptr : &found.entries[e->second].value;
}

std::string ProfileReader::GetString(std::string_view section, std::string_view key,
                                     const std::string& def) const {
    const std::string* value = RawValue(section, key);
    return value ? ValueAsReturned(*value) : def;
}

std::vector<std::string_view> ProfileReader::SectionNames() const {
    std::vector<std::string_view> names;
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

int ProfileReader::GetInt(std::string_view section, std::string_view key, int def) const {
    const std::string* stored = RawValue(section, key);
    if (stored == nullptr) return def;
    std::string value = ValueAsReturned(*stored);
    if (value.empty()) return def;
    std::string_view s = value;
    s = TrimProfileSpace(s);
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

}  // namespace tavo
