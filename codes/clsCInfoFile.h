#pragma once
// The communication-information report: the reply words one device gave to a
// run of its initialization file, each followed by its meaning in plain words.
// Format type 1 is the relay controller's layout, 2 the matrix switch's.
//
// Typical use, once per device:
//     report.SetFormatType(clsCInfoFile::kQUELBFormat);  // also empties the list
//     report.SetFilename(reportFileName);
//     report.AddCommands(replySet);                       // or AddCommand(word, true) per word
//     report.OutputData();                                // false (and a box) on a write error

#include <cstdint>
#include <string>
#include <string_view>

#include "link/KeyedCollection.h"

namespace tavo {

class OutputFile;

class clsCInfoFile {
  public:
    static constexpr std::int32_t kQUELBFormat = 1;
    static constexpr std::int32_t kZIM8x8Format = 2;
    // Stands in a reply set for a read that got no reply.
    static constexpr std::string_view kNoResponse = "****";

    // Removes every stored reply word.
    void Reset();

    std::int32_t GetFormatType() const { return formatType_; }
    // Sets the layout and empties the list, so one object can serve device after device.
    void SetFormatType(std::int32_t ft);

    const std::string& GetFilename() const { return fileName_; }
    void SetFilename(std::string_view sFilename);

    // Stores one reply word under its reply code (its first two characters). With
    // fSorted the list stays in ascending code order and a word replaces the
    // stored word of its code in place. Always true.
    bool AddCommand(std::string_view sCmd, bool fSorted = false);
    // AddCommand of every word of a reply set, in the set's order.
    bool AddCommands(const KeyedCollection<std::string>& replies, bool fSorted = true);

    // The stored reply words in report order, keyed by reply code.
    const KeyedCollection<std::string>& Commands() const { return replies_; }

    // Writes the report to sFile (which then becomes the report file name) or to
    // the report file name. False without a file name or a known format type;
    // false with an "Error" box when the file cannot be written.
    bool OutputData(std::string_view sFile = {});

  private:
    bool OpenOutputFile(OutputFile& file);
    bool WriteQUELBReport();
    bool WriteZIM8x8Report();
    // Writes the text and closes the file; false (error recorded) on any failure.
    bool FinishOutputFile(OutputFile& file, const std::string& text);

    std::int32_t formatType_ = 0;
    std::string fileName_ = "CInfo.txt";
    KeyedCollection<std::string> replies_;
    // Description of the error that made the last report fail, "" when none.
    std::string errorDescription_;
};

}  // namespace tavo
