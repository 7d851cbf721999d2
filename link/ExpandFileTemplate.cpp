#include "ExpandFileTemplate.h"

#include <cctype>
#include <string_view>

#include "link/KeyedCollection.h"
#include "link/modCommon.h"

namespace tavo {

namespace {
constexpr std::string_view kDeviceToken = "[devicename]";
constexpr std::string_view kPortToken = "[port]";

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// The template as the replacement sees it: its file-name part lower-cased, and
// the tokens lower-cased wherever they stand (the folder keeps its case).
std::string Prepared(const std::string& t) {
    const std::size_t slash = t.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string out = t;
    for (std::size_t i = nameStart; i < out.size(); ++i) out[i] = Lower(out[i]);
    for (std::size_t i = 0; i < nameStart; ++i) {
        for (std::string_view token : {kDeviceToken, kPortToken}) {
            if (EqualsNoCase(std::string_view(out).substr(i, token.size()), token)) {
                out.replace(i, token.size(), token);
                i += token.size() - 1;
                break;
            }
        }
    }
    return out;
}

// Every occurrence of token, left to right, replaced by text (not searched again).
std::string ReplaceAll(const std::string& in, std::string_view token, const std::string& text) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = in.find(token, from)) != std::string::npos; from = at + token.size())
        out.append(in, from, at - from).append(text);
    return out.append(in, from, std::string::npos);
}
}  // namespace

std::string ExpandFileTemplate(const std::string& fileTemplate, const std::string& deviceName,
                               const std::string& portName) {
    const std::string t = TrimBlanks(fileTemplate);
    const std::string n = TrimBlanks(deviceName);
    const std::string p = TrimBlanks(portName);
    if (t.empty() || n.empty() || p.empty()) return {};
    // The device name first, then the port in the result: a "[port]" that came
    // in with the device name is replaced too.
    return ReplaceAll(ReplaceAll(Prepared(t), kDeviceToken, n), kPortToken, p);
}

}  // namespace tavo
