#include "support/windowplacement.h"

#include "support/settingsstore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <limits>
#include <optional>

namespace quirlanto {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

double twipsPerPixel(qreal dpi)
{
    return kTwipsPerInch / (dpi > 0 ? dpi : kFallbackDpi);
}

// Stored text -> whole twips; anything that is not a number in 32-bit range counts as missing.
std::optional<qint32> storedTwips(const SettingsStore &store, const char *key)
{
    const QVariant raw = store.value(QString::fromLatin1(key), QVariant());
    if (!raw.isValid())
        return std::nullopt;
    bool ok = false;
    const double number = raw.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(rounded);
}

// A Wayland client can neither place its window nor learn where it is: what pos() says there
// is not where the window is.
bool placementKnown()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QScreen *screenOf(const QWidget &window)
{
    QScreen *screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

double twipsPerPixelX(const QScreen *screen)
{
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() : kFallbackDpi);
}

double twipsPerPixelY(const QScreen *screen)
{
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() : kFallbackDpi);
}

void restoreWindowPlacement(QWidget &window, SettingsStore &store)
{
    if (!placementKnown())
        return; // the compositor places it
    const std::optional<qint32> top = storedTwips(store, kTopKey);
    const std::optional<qint32> left = storedTwips(store, kLeftKey);
    if (top && left && *top >= 0 && *left >= 0) {
        // The corner counts as on the screen up to, not including, the screen's size in twips.
        const auto screens = QGuiApplication::screens();
        for (QScreen *screen : screens) {
            const double tx = twipsPerPixelX(screen);
            const double ty = twipsPerPixelY(screen);
            const QRect g = screen->geometry();
            const double x0 = g.x() * tx;
            const double y0 = g.y() * ty;
            if (*left >= x0 && *left < x0 + g.width() * tx && *top >= y0 && *top < y0 + g.height() * ty) {
                // Rounding to pixels must not push the corner past the screen's last pixel.
                const int x = qMin(int(std::nearbyint(*left / tx)), g.x() + g.width() - 1);
                const int y = qMin(int(std::nearbyint(*top / ty)), g.y() + g.height() - 1);
                window.move(x, y);
                return;
            }
        }
    }
    centreWindow(window);
}

void saveWindowPlacement(const QWidget &window, SettingsStore &store)
{
    // The last real position stays for a later session that can place the window.
    if (!placementKnown())
        return;
    // pos() keeps the last shown position while the window is hidden in the tray.
    const QScreen *screen = screenOf(window);
    const QPoint corner = window.pos();
    const auto twips = [](int pixels, double perPixel) {
        return QString::number(qint64(std::nearbyint(pixels * perPixel)));
    };
    store.setValue(QString::fromLatin1(kTopKey), twips(corner.y(), twipsPerPixelY(screen)));
    store.setValue(QString::fromLatin1(kLeftKey), twips(corner.x(), twipsPerPixelX(screen)));
}

void centreWindow(QWidget &window)
{
    // Before the first show the size is not settled yet; settle it as show() would.
    if (!window.isVisible() && !window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    // Where the platform knows its frame before the first show, count the frame in.
    if (window.isWindow() && !window.testAttribute(Qt::WA_WState_Created))
        window.winId();
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    window.move(centredPosition(screen->geometry(), window.frameGeometry().size()));
}

QPoint centredPosition(const QRect &area, const QSize &frame)
{
    return {area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2};
}

} // namespace quirlanto
