#pragma once
// The key store of the configuration program: keys and named values that tell
// the about box where the system-information program lives (what a registry
// lookup gives on other systems).
//
// It is one text file: $TAVO_KEYS when set, else ~/.config/tavo/keys.ini when
// it exists, else /etc/tavo/keys.ini. Lines:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]   a key, under its root
//   PATH=/usr/bin/hardinfo                                          a text value
//   Count=dword:0000002a                                            a 32-bit number value
// Blank lines and lines starting with ";" or "#" carry nothing. Key paths and
// value names match without regard to case, and the first value of a name in
// the first section of a key wins. A key exists when a section names it or a
// key below it. A value is used as written after the "=", blanks around it dropped.
// The file is read by the INI reader of the configuration file (ProfileReader),
// with these comment lines and key paths.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/ProfileReader.h"

namespace tavo {

// The root handles of the keys, as 32-bit numbers.
constexpr std::int32_t kHKeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t kHKeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t kHKeyUsers = static_cast<std::int32_t>(0x80000003u);

class KeyStore {
  public:
    enum class ValueType { Text, Number };
    struct Value {
        ValueType type = ValueType::Text;
        std::string data;  // the text, or the number in decimal
    };

    // The file in use, by the rules above (it need not exist).
    static std::string StoreFile();
    // The store in the file at path; empty when it cannot be read.
    static KeyStore FromFile(const std::string& path);
    static KeyStore FromText(std::string_view text);

    bool HasKey(std::int32_t root, std::string_view keyName) const;
    std::optional<Value> QueryValue(std::int32_t root, std::string_view keyName,
                                    std::string_view valueName) const;

  private:
    explicit KeyStore(ProfileReader keys) : keys_(std::move(keys)) {}

    ProfileReader keys_;  // sections named root name, "\", key name
};

}  // namespace tavo
