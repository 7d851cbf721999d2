#include "codes/clsZIM8x8Protocol.h"

#include "codes/ZIM8x8Model.h"

namespace tavo {

clsZIM8x8Protocol::clsZIM8x8Protocol() : clsDeviceProtocol(kZIM8x8Model.codeRows) {}

}  // namespace tavo
