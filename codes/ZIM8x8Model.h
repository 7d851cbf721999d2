#pragma once
// The matrix switch "ZIM-8x8": eight inputs routed to eight outputs. Its
// register map, command words and demo replies, and the word that routes one
// input by hand.

#include <string>

#include "codes/DeviceModel.h"

namespace tavo {

extern const DeviceModel kZIM8x8Model;

// Register 03: routes input (1 to 8) to output (1 to 8), one decimal digit each.
std::string RouteWord(int output, int input);

}  // namespace tavo
