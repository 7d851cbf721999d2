#pragma once
// The product logo of the chooser and the about box, drawn once, the same
// picture in both.

#include <QPixmap>

namespace tavo {

QPixmap ProductLogo();

}  // namespace tavo
