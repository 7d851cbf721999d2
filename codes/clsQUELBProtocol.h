#pragma once
// Code tables of the relay controller "QUELB": IR codes "90".."A3" and X-10
// codes "A4".."B7", one pair for each relay function.

#include "codes/clsDeviceProtocol.h"

namespace tavo {

class clsQUELBProtocol : public clsDeviceProtocol {
  public:
    clsQUELBProtocol();
};

}  // namespace tavo
