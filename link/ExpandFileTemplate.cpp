#include "ExpandFileTemplate.h"

#include <cctype>
#include <string_view>

#include "link/KeyedCollection.h"
#include "link/modCommon.h"

namespace tavo {

namespace {
constexpr std::string_view kDeviceToken = "[devicename]";
constexpr std::string_view kPortToken = "[port]";

bool TokenAt(std::string_view text, std::size_t pos, std::string_view token) {
    return EqualsNoCase(text.substr(pos, token.size()), token);
}
}  // namespace

std::string ExpandFileTemplate(const std::string& fileTemplate, const std::string& deviceName,
                               const std::string& portName) {
    const std::string t = TrimBlanks(fileTemplate);
    const std::string n = TrimBlanks(deviceName);
    const std::string p = TrimBlanks(portName);
    if (t.empty() || n.empty() || p.empty()) return {};

    const std::size_t slash = t.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string result;
    for (std::size_t i = 0; i < t.size();) {
        if (TokenAt(t, i, kDeviceToken)) {
            result += n;
            i += kDeviceToken.size();
        } else if (TokenAt(t, i, kPortToken)) {
            result += p;
            i += kPortToken.size();
        } else {
            char c = t[i];
            result += i >= nameStart ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
            ++i;
        }
    }
    return result;
}

}  // namespace tavo
