#pragma once
// Whole files as text, for tests that write inputs and compare outputs.

#include <string>

namespace tavo::test {

// Whole contents of a file ("" when missing).
std::string ReadFile(const std::string& path);
// Writes text as it is (no line ends added or changed), replacing the file.
void WriteFile(const std::string& path, const std::string& text);
// text with every "[mm/dd/yyyy hh:mm:ss]: " stamp replaced by "[STAMP]: ".
std::string WithoutStamps(const std::string& text);

}  // namespace tavo::test
