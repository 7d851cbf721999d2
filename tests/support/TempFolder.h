#pragma once
// A fresh temporary folder for one test, removed with everything in it at the end.

#include <string>
#include <vector>

namespace tavo::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // The names in the folder, sorted (to see that no temporary file stayed behind).
    std::vector<std::string> Names() const;

  private:
    std::string path_;
};

}  // namespace tavo::test
