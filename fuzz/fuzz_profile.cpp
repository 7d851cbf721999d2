// Any configuration text must be read without harm. The first line of the
// input names a section and a key to look up ("section|key"); the rest is the
// file. The text is read both directly and through a file, which must agree.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/ExpandFileTemplate.h"
#include "link/ProfileReader.h"

namespace {

// The file the text goes through: its name is gone as soon as it is made, so
// that no run leaves it behind, even one that a finding ends; it is reached
// through its open descriptor.
const std::string& TempPath() {
    static const std::string path = [] {
        char pattern[] = "/tmp/tavo-fuzz-profile-XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd < 0 || ::unlink(pattern) != 0) std::abort();
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void Check(const tavo::ProfileReader& p, const tavo::ProfileReader& fromFile, std::string_view section,
           std::string_view key) {
    const std::string def = std::string(1, '\x01') + "default";
    std::string v = p.GetString(section, key, def);
    if (v != def && v.size() > tavo::kProfileValueMax) std::abort();
    if (v != fromFile.GetString(section, key, def)) std::abort();
    if (p.GetInt(section, key, -7) != fromFile.GetInt(section, key, -7)) std::abort();
    // Values often end up in file-name templates.
    (void)tavo::ExpandFileTemplate(v, "QUELB", "COM3");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t nl = input.find('\n');
    std::string_view names = nl == std::string_view::npos ? input : input.substr(0, nl);
    std::string_view text = nl == std::string_view::npos ? std::string_view{} : input.substr(nl + 1);
    std::size_t bar = names.find('|');
    std::string_view section = names.substr(0, bar);
    std::string_view key = bar == std::string_view::npos ? std::string_view{} : names.substr(bar + 1);

    FILE* f = std::fopen(TempPath().c_str(), "wb");
    if (f == nullptr) std::abort();
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
    if (std::fclose(f) != 0) std::abort();

    auto direct = tavo::ProfileReader::FromText(text);
    auto viaFile = tavo::ProfileReader::FromFile(TempPath());
    Check(direct, viaFile, section, key);
    Check(direct, viaFile, "General", "DevicePortFile");
    Check(direct, viaFile, "Devices", "Count");
    return 0;
}
