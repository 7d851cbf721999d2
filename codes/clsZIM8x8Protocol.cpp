#include "codes/clsZIM8x8Protocol.h"

namespace tavo {

namespace {

constexpr ProtocolCodeRow kRows[] = {
    {"90", "IR OUTPUT #1 SELECT", "A0"}, {"91", "IR OUTPUT #2 SELECT", "A1"},
    {"92", "IR OUTPUT #3 SELECT", "A2"}, {"93", "IR OUTPUT #4 SELECT", "A3"},
    {"94", "IR OUTPUT #5 SELECT", "A4"}, {"95", "IR OUTPUT #6 SELECT", "A5"},
    {"96", "IR OUTPUT #7 SELECT", "A6"}, {"97", "IR OUTPUT #8 SELECT", "A7"},
    {"98", "IR INPUT #1 SELECT", "A8"},  {"99", "IR INPUT #2 SELECT", "A9"},
    {"9A", "IR INPUT #3 SELECT", "AA"},  {"9B", "IR INPUT #4 SELECT", "AB"},
    {"9C", "IR INPUT #5 SELECT", "AC"},  {"9D", "IR INPUT #6 SELECT", "AD"},
    {"9E", "IR INPUT #7 SELECT", "AE"},  {"9F", "IR INPUT #8 SELECT", "AF"},
};

}  // namespace

clsZIM8x8Protocol::clsZIM8x8Protocol() : clsDeviceProtocol(kRows) {}

}  // namespace tavo
