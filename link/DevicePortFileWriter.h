#pragma once
// Writes the device port file of a scan: one line type + "," + port name +
// CR LF a device, in port-list order. The earlier file is replaced as a whole
// when the scan ends, never emptied first: a scan that is killed or runs out of
// disk leaves the earlier list as it was. A scan that wrote no line deletes the
// earlier file, so that its absence says that nothing was found.
//
//     DevicePortFileWriter list;
//     if (!list.Open(path)) ...;      // a folder, pipe or device, a missing folder...
//     list.Add("QUELB", "COM3");
//     if (!list.Finish()) ... list.ErrorText();

#include <string>

#include "OutputFile.h"

namespace tavo {

class DevicePortFileWriter {
  public:
    // Starts the new list; false when it cannot be written (nothing changes then).
    bool Open(const std::string& path);
    bool IsOpen() const { return file_.IsOpen(); }

    // Adds a device's line (nothing when the list is not open).
    void Add(const std::string& type, const std::string& portName);

    // Ends the scan: with lines, the new list takes the earlier file's place;
    // without, the earlier file is deleted. False when the new list could not
    // be written whole (the earlier file then stays); true when not open.
    bool Finish();

    const std::string& ErrorText() const { return file_.ErrorText(); }

  private:
    OutputFile file_;
    std::string path_;
    bool hasLines_ = false;
};

}  // namespace tavo
