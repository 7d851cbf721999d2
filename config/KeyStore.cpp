#include "config/KeyStore.h"

#include <charconv>
#include <cstdlib>

#include "link/KeyedCollection.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

// A key path without the slashes a writer may have put around it.
std::string_view TrimSlashes(std::string_view s) {
    while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
    while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
    return s;
}

std::string RootName(std::int32_t root) {
    switch (static_cast<std::uint32_t>(root)) {
        case 0x80000000u:
            return "HKEY_CLASSES_ROOT";
        case 0x80000001u:
            return "HKEY_CURRENT_USER";
        case 0x80000002u:
            return "HKEY_LOCAL_MACHINE";
        case 0x80000003u:
            return "HKEY_USERS";
        default:
            return {};
    }
}

std::string FullPath(std::int32_t root, std::string_view keyName) {
    const std::string rootName = RootName(root);
    if (rootName.empty()) return {};
    const std::string_view key = TrimSlashes(keyName);
    return key.empty() ? rootName : rootName + "\\" + std::string(key);
}

// Comment lines, and key paths with the blanks and slashes a writer may have put around them.
constexpr ProfileSyntax kKeyStoreSyntax{";#", " \t\\"};

}  // namespace

std::string KeyStore::StoreFile() {
    if (const char* env = std::getenv("TAVO_KEYS"); env && *env) return env;
    if (const char* home = std::getenv("HOME"); home && *home) {
        std::string user = std::string(home) + "/.config/tavo/keys.ini";
        if (FileExists(user)) return user;
    }
    return "/etc/tavo/keys.ini";
}

KeyStore KeyStore::FromFile(const std::string& path) {
    return KeyStore(ProfileReader::FromFile(path, kKeyStoreSyntax));
}

KeyStore KeyStore::FromText(std::string_view text) {
    return KeyStore(ProfileReader::FromText(text, kKeyStoreSyntax));
}

bool KeyStore::HasKey(std::int32_t root, std::string_view keyName) const {
    const std::string path = FullPath(root, keyName);
    if (path.empty()) return false;
    for (std::string_view section : keys_.SectionNames()) {
        if (EqualsNoCase(section, path)) return true;
        // A key below it makes the key exist.
        if (section.size() > path.size() && section[path.size()] == '\\' &&
            EqualsNoCase(section.substr(0, path.size()), path))
            return true;
    }
    return false;
}

std::optional<KeyStore::Value> KeyStore::QueryValue(std::int32_t root, std::string_view keyName,
                                                    std::string_view valueName) const {
    const std::string path = FullPath(root, keyName);
    if (path.empty()) return std::nullopt;
    // Only the first section of a key is searched.
    const std::string* stored = keys_.RawValue(path, valueName);
    if (stored == nullptr) return std::nullopt;
    constexpr std::string_view kNumber = "dword:";
    if (stored->size() > kNumber.size() &&
        EqualsNoCase(std::string_view(*stored).substr(0, kNumber.size()), kNumber)) {
        std::uint32_t number = 0;
        const char* first = stored->data() + kNumber.size();
        const char* last = stored->data() + stored->size();
        auto [ptr, ec] = std::from_chars(first, last, number, 16);
        if (ec == std::errc() && ptr == last) return Value{ValueType::Number, std::to_string(number)};
    }
    return Value{ValueType::Text, *stored};
}

}  // namespace tavo
