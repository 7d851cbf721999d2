#pragma once
// Procedures every program shares: hexadecimal fields, file tests and
// deletion, and device identification.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

class clsComPort;

// v in upper-case hexadecimal (a negative value as its 16-bit two's complement),
// padded in front with "0" to width characters; a longer text is never cut.
std::string HexPad(std::int16_t v, std::int16_t width);

// True when path is a regular file or a pipe that can be opened for reading; a
// folder, a device node and a file that cannot be opened count as missing.
bool FileExists(const std::string& path);

// Deletes path. With prompt, asks first (No returns false) and shows the
// "File In Use" box when the file cannot be deleted. True when the file is gone
// or was never there. A folder is never deleted.
bool DeleteFile(const std::string& path, bool prompt);

// The identify command: reading it tells the two models apart.
inline constexpr const char* kIdentifyCommand = "810000";

// The device type word of an identify reply: "QUELB" when its third and fourth
// characters are "00", "ZIM-8x8" for any other reply (even a short one), and an
// empty string for no reply.
std::string DeviceTypeOfReply(const std::string& reply);

// Asks the device on the open port who it is with "810000": "QUELB" when the
// reply's third and fourth characters are "00", "ZIM-8x8" for any other reply,
// and an empty string for a closed port, a silent device or no reply.
std::string IdentifyDevice(clsComPort& port);

// text without leading and trailing blanks (only " ", as the configuration
// values are trimmed).
std::string TrimBlanks(std::string_view text);

// text with its ASCII letters in upper case; every other byte is kept, so the
// result does not depend on the locale (command words are plain ASCII).
std::string UpperCase(std::string_view text);
// TrimBlanks, then UpperCase.
std::string TrimUpper(std::string_view text);

}  // namespace tavo
