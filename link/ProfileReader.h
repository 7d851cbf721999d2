#pragma once
// Reads INI files the way the private-profile lookups do:
// - "[name]" starts a section; "key=value" lines belong to the section above
//   them; lines before the first section and lines without "=" carry nothing.
// - Section and key names are matched without regard to case; only the first
//   section of a name is searched, and in it the first key of a name wins.
// - Blanks and tabs around a key and around a value are dropped; a value
//   enclosed in matching quotes (" or ') loses them; a value is cut to 254
//   characters. Anything else the file says is returned as written: callers trim.
// - The text is read, and split into lines, by the input file layer: lines end
//   at CR LF, LF or a CR alone, and a byte-order mark at the start is dropped.
// - A missing file, a folder, a device, or a file that cannot be read gives
//   every default (FromFile), or no profile at all (Load).
// Other files in the same shape (the configuration program's key store) read
// through it with a syntax of their own: comment lines, and section names
// without some characters around them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavo {

// Longest value a lookup returns (a 255-character buffer with its terminator).
constexpr std::size_t kProfileValueMax = 254;

// What a file in the profile's shape adds to its rules; the profile lookups
// use neither.
struct ProfileSyntax {
    // A line that begins with one of these (after blanks) carries nothing.
    std::string_view commentMarks;
    // Dropped from both ends of a section name.
    std::string_view sectionNameTrim;
};

// The profile's idea of blank: blanks, tabs, CR, vertical tabs and form feeds.
std::string_view TrimProfileSpace(std::string_view s);

class ProfileReader {
  public:
    // The profile of the file at path (empty when it cannot be read).
    static ProfileReader FromFile(const std::string& path, const ProfileSyntax& syntax = {});
    // The profile of the file at path, read once; none when it cannot be read
    // (the reason in *why, when given), so that a caller can tell a missing file
    // from an empty one.
    static std::optional<ProfileReader> Load(const std::string& path, const ProfileSyntax& syntax = {},
                                             std::string* why = nullptr);
    // The profile held in text, as a file with that content would give it.
    static ProfileReader FromText(std::string_view text, const ProfileSyntax& syntax = {});

    // The key's value, or def when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key, const std::string& def) const;
    // The key's value as a whole number: optional blanks and sign, then the
    // leading digits (0 when there are none; clamped to the int range); def when
    // the section or key is missing or its value is empty.
    int GetInt(std::string_view section, std::string_view key, int def) const;

    // The key's value as the file has it (blanks around it dropped, nothing
    // else), by the same matching rules; nullptr when missing.
    const std::string* RawValue(std::string_view section, std::string_view key) const;
    // The names of every section, in file order.
    std::vector<std::string_view> SectionNames() const;

  private:
    static ProfileReader Parse(std::string_view text, const ProfileSyntax& syntax);

    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // The first entry of each key (folded), so that a lookup does not grow with the file.
        std::unordered_map<std::string, std::size_t> firstEntry;
    };
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_;  // by folded name
};

}  // namespace tavo
