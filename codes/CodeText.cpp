#include "codes/CodeText.h"

#include "link/modCommon.h"

namespace tavo::code_text {

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string TrimUpper(std::string_view s) { return UpperCase(TrimBlanks(s)); }

}  // namespace tavo::code_text
