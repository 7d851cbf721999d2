#include "codes/clsQUELBProtocol.h"

#include "codes/QUELBModel.h"

namespace tavo {

clsQUELBProtocol::clsQUELBProtocol() : clsDeviceProtocol(kQUELBModel.codeRows) {}

}  // namespace tavo
