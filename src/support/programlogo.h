#pragma once

#include <QPixmap>

namespace quirlanto {

// The program's icon as a picture for a window (the main window's corner, the About window):
// one design everywhere, from the prerendered size nearest above the one asked for.
QPixmap programLogo(int size, qreal devicePixelRatio = 1.0);

} // namespace quirlanto
