#include "MonitorMessage.h"

#include "HexText.h"

namespace tavo {

namespace {

// The characters of a message that its reader does not examine may be
// anything but the marks of frames and messages.
bool FitsLayout(std::string_view text, std::string_view layout) {
    if (text.size() > layout.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (layout[i]) {
            case 'h':
                if (HexDigitValue(c) < 0) return false;
                break;
            case '?':
                if (c == '!' || c == '*' || c == '$') return false;
                break;
            default:
                if (c != layout[i]) return false;
        }
    }
    return true;
}

}  // namespace

MonitorMatch MatchMonitorMessage(std::string_view text) {
    static constexpr std::string_view kLayouts[] = {"$hh?h+", "$hhhh??hhhh+"};
    MonitorMatch match = MonitorMatch::NotOne;
    for (std::string_view layout : kLayouts) {
        if (!FitsLayout(text, layout)) continue;
        if (text.size() == layout.size()) return MonitorMatch::Whole;
        match = MonitorMatch::Begun;
    }
    return match;
}

std::string MonitorMessageFilter::Take(char c) {
    if (held_.empty() && c != '$') return std::string(1, c);
    held_ += c;
    switch (MatchMonitorMessage(held_)) {
        case MonitorMatch::Whole:
            held_.clear();
            return {};
        case MonitorMatch::Begun:
            return {};
        case MonitorMatch::NotOne:
            break;
    }
    // No message after all; its last character may begin the next one.
    std::string given = held_.substr(0, held_.size() - 1);
    held_.clear();
    return given + Take(c);
}

}  // namespace tavo
