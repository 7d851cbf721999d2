#include "ProgramInfo.h"

#include <filesystem>
#include <system_error>

namespace tavo {

namespace {
std::string& TitleStorage() {
    static std::string title;
    return title;
}
}  // namespace

const std::string& ProgramFolder() {
    static const std::string folder = [] {
        std::error_code ec;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) return std::filesystem::current_path(ec).string();
        return exe.parent_path().string();
    }();
    return folder;
}

std::string InProgramFolder(const std::string& fileName) { return ProgramFolder() + "/" + fileName; }

const std::string& ProgramTitle() { return TitleStorage(); }

void SetProgramTitle(const std::string& title) { TitleStorage() = title; }

}  // namespace tavo
