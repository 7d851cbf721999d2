#pragma once
// Reads INI files the way the private-profile lookups do:
// - "[name]" starts a section; "key=value" lines belong to the section above
//   them; lines before the first section and lines without "=" carry nothing.
// - Section and key names are matched without regard to case; only the first
//   section of a name is searched, and in it the first key of a name wins.
// - Blanks and tabs around a key and around a value are dropped; a value
//   enclosed in matching quotes (" or ') loses them; a value is cut to 254
//   characters. Anything else the file says is returned as written: callers trim.
// - Lines end in CR LF or LF.
// - A missing file, a folder, or a file that cannot be read gives every default.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// Longest value a lookup returns (a 255-character buffer with its terminator).
constexpr std::size_t kProfileValueMax = 254;

class ProfileReader {
  public:
    // The profile of the file at path (empty when it cannot be read).
    static ProfileReader FromFile(const std::string& path);
    // The profile held in text, as a file with that content would give it.
    static ProfileReader FromText(std::string_view text);

    // The key's value, or def when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key, const std::string& def) const;
    // The key's value as a whole number: optional blanks and sign, then the
    // leading digits (0 when there are none; clamped to the int range); def when
    // the section or key is missing or its value is empty.
    int GetInt(std::string_view section, std::string_view key, int def) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const std::string* Find(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;
};

// One lookup in the file at path, read afresh at each call.
std::string GetPrivateProfileString(std::string_view section, std::string_view key, const std::string& def,
                                    const std::string& path);
int GetPrivateProfileInt(std::string_view section, std::string_view key, int def, const std::string& path);

}  // namespace tavo
