#include "config/KeyStore.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/KeyedCollection.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

std::string_view TrimSpace(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

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
    // Only a regular file: a named pipe would block the open until some writer came.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return FromText(text.str());
}

KeyStore KeyStore::FromText(std::string_view text) {
    KeyStore store;
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = TrimSpace(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            current = nullptr;
            if (close == std::string_view::npos) continue;
            store.sections_.push_back(
                Section{std::string(TrimSlashes(TrimSpace(line.substr(1, close - 1)))), {}});
            current = &store.sections_.back();
            continue;
        }
        const std::size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos) continue;
        current->entries.push_back(
            Entry{std::string(TrimSpace(line.substr(0, eq))), std::string(TrimSpace(line.substr(eq + 1)))});
    }
    return store;
}

bool KeyStore::HasKey(std::int32_t root, std::string_view keyName) const {
    const std::string path = FullPath(root, keyName);
    if (path.empty()) return false;
    for (const Section& section : sections_) {
        if (EqualsNoCase(section.path, path)) return true;
        // A key below it makes the key exist.
        if (section.path.size() > path.size() && section.path[path.size()] == '\\' &&
            EqualsNoCase(std::string_view(section.path).substr(0, path.size()), path))
            return true;
    }
    return false;
}

std::optional<KeyStore::Value> KeyStore::QueryValue(std::int32_t root, std::string_view keyName,
                                                    std::string_view valueName) const {
    const std::string path = FullPath(root, keyName);
    if (path.empty()) return std::nullopt;
    for (const Section& section : sections_) {
        if (!EqualsNoCase(section.path, path)) continue;
        for (const Entry& entry : section.entries) {
            if (!EqualsNoCase(entry.name, valueName)) continue;
            constexpr std::string_view kNumber = "dword:";
            if (entry.value.size() > kNumber.size() &&
                EqualsNoCase(std::string_view(entry.value).substr(0, kNumber.size()), kNumber)) {
                std::uint32_t number = 0;
                const char* first = entry.value.data() + kNumber.size();
                const char* last = entry.value.data() + entry.value.size();
                auto [ptr, ec] = std::from_chars(first, last, number, 16);
                if (ec == std::errc() && ptr == last) return Value{ValueType::Number, std::to_string(number)};
            }
            return Value{ValueType::Text, entry.value};
        }
        return std::nullopt;  // only the first section of a key is searched
    }
    return std::nullopt;
}

}  // namespace tavo
