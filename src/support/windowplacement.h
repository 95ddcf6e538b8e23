#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace quirlanto {

class SettingsStore;

// The main window's last position, stored as decimal text in twips (1/1440 inch).
inline constexpr auto kTopKey = "_Top";
inline constexpr auto kLeftKey = "_Left";

// 1440 / the screen's logical DPI, per axis; 15 at 96 DPI.
double twipsPerPixelX(const QScreen *screen);
double twipsPerPixelY(const QScreen *screen);

// Puts the window's top-left corner where it was saved if that corner lies on a screen;
// otherwise (first start, negative or unreadable values, a smaller screen) centres it. Where
// windows cannot be placed (Wayland) it does nothing.
void restoreWindowPlacement(QWidget &window, SettingsStore &store);
// Writes the window's current (or last shown) top, then left; nothing where the position is
// not known (Wayland).
void saveWindowPlacement(const QWidget &window, SettingsStore &store);
// Centres the window's frame on the screen it belongs to.
void centreWindow(QWidget &window);
// Where a frame of that size sits centred on the area; halves are cut toward zero.
QPoint centredPosition(const QRect &area, const QSize &frame);

} // namespace quirlanto
