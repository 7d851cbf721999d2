#pragma once
// The relay controller "QUELB": eight relays and the A/B bus relay. Its
// register map, command words and demo replies, and the words of its
// manual control.

#include <string>

#include "codes/DeviceModel.h"

namespace tavo {

extern const DeviceModel kQUELBModel;

// Relay masks of registers 04 to 06 and of the relay reply "84": bit i is
// relay i + 1, kABRelayBit the A/B relay.
inline constexpr unsigned kABRelayBit = 0x100;
inline constexpr unsigned kAllRelaysMask = 0xFF;

// Register 05 switches on, register 06 off, the relays of mask; register 04
// sets every relay at once (the A/B relay included) to states.
std::string RelaysOnWord(unsigned mask);
std::string RelaysOffWord(unsigned mask);
std::string RelayStatesWord(unsigned states);

}  // namespace tavo
