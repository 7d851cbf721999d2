#pragma once
// The program folder (where the executable lives) and the program's title,
// shared by every program of the suite.

#include <string>

namespace tavo {

// Folder of the running executable, without a trailing "/".
const std::string& ProgramFolder();
// Joins the program folder and a file name with "/".
std::string InProgramFolder(const std::string& fileName);

// Title used for message boxes that carry the program's name.
const std::string& ProgramTitle();
void SetProgramTitle(const std::string& title);

}  // namespace tavo
