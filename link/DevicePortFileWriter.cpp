#include "DevicePortFileWriter.h"

#include <sys/stat.h>

#include "modCommon.h"

namespace tavo {

bool DevicePortFileWriter::Open(const std::string& path) {
    path_ = path;
    hasLines_ = false;
    return file_.Open(path, OutputFile::Mode::Replace);
}

void DevicePortFileWriter::Add(const std::string& type, const std::string& portName) {
    if (!file_.IsOpen()) return;
    file_.WriteLine(type + "," + portName);
    hasLines_ = true;
}

bool DevicePortFileWriter::Finish() {
    if (!file_.IsOpen()) return true;
    if (hasLines_) return file_.Close();
    file_.Discard();
    // Only a plain file goes: a device node put there meanwhile must not be lost.
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) DeleteFile(path_, false);
    return true;
}

}  // namespace tavo
