#pragma once
// One command-line flag and its value, as the parser found them.

#include <string>
#include <utility>

namespace tavo {

class clsParameter {
  public:
    clsParameter() = default;
    clsParameter(std::string flag, std::string value) : flag_(std::move(flag)), value_(std::move(value)) {}

    // The one flag character; empty for a lone "-" or "/".
    const std::string& Flag() const { return flag_; }
    void SetFlag(std::string flag) { flag_ = std::move(flag); }

    // The flag's value; empty when none was given.
    const std::string& value() const { return value_; }
    void SetValue(std::string value) { value_ = std::move(value); }

  private:
    std::string flag_;
    std::string value_;
};

}  // namespace tavo
