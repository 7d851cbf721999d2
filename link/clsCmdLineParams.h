#pragma once
// The command line as a list of one-character flags, each written "-x" or "/x",
// with an optional value joined to the flag ("-cfile") or in the next word
// ("-c file"). Words are split at every single blank, so two blanks in a row
// give an empty word; quotation marks are ordinary characters.

#include <string>

#include "link/KeyedCollection.h"
#include "link/clsParameter.h"

namespace tavo {

class clsCmdLineParams {
  public:
    // The flags in command-line order, keyed by flag without regard to case.
    const KeyedCollection<clsParameter>& Parameters() const { return parameters_; }

    // Removes every parameter, the last first.
    void ClearParameters();

    // Replaces the parameters by those of sParams. False at the first word that
    // is not a flag, and for a flag given twice or differing from an earlier one
    // only in case; the parameters read before that point stay.
    bool ParseParameters(const std::string& sParams);

    // Flags are compared exactly here: "D" is not "d".
    bool DoesFlagExist(const std::string& flag) const;
    // Value of the first parameter with this flag; empty when there is none.
    std::string GetFlagValue(const std::string& flag) const;

  private:
    KeyedCollection<clsParameter> parameters_;
};

// The program's command line as one string: the arguments after the program
// name joined by single blanks (an argument holding a blank splits again in
// the parser).
std::string JoinCommandLine(int argc, const char* const* argv);

}  // namespace tavo
