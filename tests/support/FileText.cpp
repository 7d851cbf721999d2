#include "tests/support/FileText.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace tavo::test {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string WithoutStamps(const std::string& text) {
    static const std::regex stamp(R"(\[\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\]: )");
    return std::regex_replace(text, stamp, "[STAMP]: ");
}

}  // namespace tavo::test
