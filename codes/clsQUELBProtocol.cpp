#include "codes/clsQUELBProtocol.h"

namespace tavo {

namespace {

constexpr ProtocolCodeRow kRows[] = {
    {"90", "IR ALL RELAYS ON", "A4"}, {"91", "IR RELAY B ON", "A5"},     {"92", "IR RELAY #1 ON", "A6"},
    {"93", "IR RELAY #2 ON", "A7"},   {"94", "IR RELAY #3 ON", "A8"},    {"95", "IR RELAY #4 ON", "A9"},
    {"96", "IR RELAY #5 ON", "AA"},   {"97", "IR RELAY #6 ON", "AB"},    {"98", "IR RELAY #7 ON", "AC"},
    {"99", "IR RELAY #8 ON", "AD"},   {"9A", "IR ALL RELAYS OFF", "AE"}, {"9B", "IR RELAY B OFF", "AF"},
    {"9C", "IR RELAY #1 OFF", "B0"},  {"9D", "IR RELAY #2 OFF", "B1"},   {"9E", "IR RELAY #3 OFF", "B2"},
    {"9F", "IR RELAY #4 OFF", "B3"},  {"A0", "IR RELAY #5 OFF", "B4"},   {"A1", "IR RELAY #6 OFF", "B5"},
    {"A2", "IR RELAY #7 OFF", "B6"},  {"A3", "IR RELAY #8 OFF", "B7"},
};

}  // namespace

clsQUELBProtocol::clsQUELBProtocol() : clsDeviceProtocol(kRows) {}

}  // namespace tavo
