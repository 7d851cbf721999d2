#pragma once
// Code tables of the matrix switch "ZIM-8x8": IR codes "90".."9F" and X-10
// codes "A0".."AF" select an output (1 to 8) or an input (1 to 8). Its codes
// "A0".."AF" mean other things on the relay controller.

#include "codes/clsDeviceProtocol.h"

namespace tavo {

class clsZIM8x8Protocol : public clsDeviceProtocol {
  public:
    clsZIM8x8Protocol();
};

}  // namespace tavo
