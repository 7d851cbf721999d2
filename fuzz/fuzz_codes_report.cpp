// Writes both report layouts from arbitrary reply words to a temporary file and
// checks that the store keeps one word per code in code order and that every
// report is written whole, with no error box.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codes/clsCInfoFile.h"
#include "link/MessageBox.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class NoBoxAllowed : public tavo::IMessageBox {
  public:
    tavo::MsgResult Show(const tavo::MessageBoxRequest&) override { std::abort(); }
};

std::string gReportDir;

void RemoveReportDir() {
    std::remove((gReportDir + "/CInfo.txt").c_str());
    rmdir(gReportDir.c_str());
}

const std::string& ReportPath() {
    static const std::string path = [] {
        char dir[] = "/tmp/fuzz_codes_report-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        gReportDir = dir;
        std::atexit(RemoveReportDir);
        return gReportDir + "/CInfo.txt";
    }();
    return path;
}

long FileSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fclose(f);
    return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NoBoxAllowed box;
    tavo::SetMessageBoxHost(&box);
    if (size == 0) return 0;

    // First byte: format type (low bits) and whether the words are added sorted.
    const std::int32_t format = data[0] & 3;
    const bool sorted = (data[0] & 4) == 0;
    tavo::clsCInfoFile report;
    report.SetFormatType(format);
    report.SetFilename(ReportPath());

    std::string word;
    std::size_t words = 0;
    for (std::size_t i = 1; i <= size; ++i) {
        if (i == size || data[i] == '\n') {
            Check(report.AddCommand(word, sorted));
            word.clear();
            ++words;
        } else {
            word += static_cast<char>(data[i]);
        }
    }

    const auto& stored = report.Commands();
    Check(stored.Count() <= words);
    for (std::size_t i = 0; i < stored.Count(); ++i) {
        for (std::size_t j = i + 1; j < stored.Count(); ++j) Check(stored.KeyAt(i) != stored.KeyAt(j));
        if (sorted && i > 0) Check(stored.KeyAt(i - 1) < stored.KeyAt(i));
    }

    std::remove(ReportPath().c_str());
    const bool written = report.OutputData();
    if (format == 1 || format == 2) {
        Check(written);
        long fileSize = FileSize(ReportPath());
        Check(fileSize >= 0);
        // Every entry gives at least its own text and one line end.
        long least = 0;
        for (const auto& e : stored) least += static_cast<long>(e.item.size()) + 2;
        Check(fileSize >= least);
    } else {
        Check(!written && FileSize(ReportPath()) == -1);
    }
    return 0;
}
