#include "clsCmdLineParams.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tavo {

namespace {

// "-x" and "/x" are flags. A word that begins with "/" and holds another "/"
// is an absolute path here, so "-c /etc/tavo/devices.cfg" gives c its file.
bool IsFlagWord(std::string_view word) {
    if (word.empty()) return false;
    if (word[0] == '-') return true;
    return word[0] == '/' && word.find('/', 1) == std::string_view::npos;
}

// Every single blank separates two words, so n blanks always give n + 1 words.
std::vector<std::string_view> SplitAtBlanks(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (;;) {
        std::size_t blank = text.find(' ', start);
        if (blank == std::string_view::npos) {
            words.push_back(text.substr(start));
            return words;
        }
        words.push_back(text.substr(start, blank - start));
        start = blank + 1;
    }
}

}  // namespace

void clsCmdLineParams::ClearParameters() {
    while (!parameters_.Empty()) parameters_.RemoveAt(parameters_.Count() - 1);
}

bool clsCmdLineParams::ParseParameters(const std::string& sParams) {
    ClearParameters();
    const std::vector<std::string_view> words = SplitAtBlanks(sParams);
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (!IsFlagWord(word)) return false;
        std::string flag(word.substr(1, 1));
        std::string value(word.size() > 2 ? word.substr(2) : std::string_view{});
        if (value.empty() && i + 1 < words.size() && !IsFlagWord(words[i + 1])) {
            value = std::string(words[++i]);
        }
        // The key cannot hold the same flag twice (nor -d beside -D); refusing the
        // line lets the program show its parse message instead of guessing.
        for (const auto& entry : parameters_) {
            if (EqualsNoCase(entry.item.Flag(), flag)) return false;
        }
        parameters_.Add(clsParameter(flag, std::move(value)), flag);
    }
    return true;
}

bool clsCmdLineParams::DoesFlagExist(const std::string& flag) const {
    for (const auto& entry : parameters_) {
        if (entry.item.Flag() == flag) return true;
    }
    return false;
}

std::string clsCmdLineParams::GetFlagValue(const std::string& flag) const {
    for (const auto& entry : parameters_) {
        if (entry.item.Flag() == flag) return entry.item.value();
    }
    return {};
}

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        if (argv[i] != nullptr) line += argv[i];
    }
    return line;
}

}  // namespace tavo
