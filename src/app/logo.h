#pragma once

#include <QPixmap>

namespace quirlanto {

// The program's logo, drawn rather than loaded: a whirl of dial digits.
QPixmap quirlantoLogo(int size);

} // namespace quirlanto
