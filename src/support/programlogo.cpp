#include "support/programlogo.h"

#include <QImageReader>

namespace quirlanto {

QPixmap programLogo(int size, qreal devicePixelRatio)
{
    const int pixels = qRound(size * devicePixelRatio);
    int source = 256;
    for (const int prerendered : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (prerendered >= pixels) {
            source = prerendered;
            break;
        }
    }
    // Named as PNG and not guessed: guessing asks every image plugin, and so loads them all,
    // before the main window (which shows the logo) is first painted.
    QImageReader reader(QStringLiteral(":/icons/quirlanto-%1.png").arg(source), "png");
    reader.setAutoDetectImageFormat(false);
    QPixmap pixmap = QPixmap::fromImage(reader.read());
    if (pixmap.width() != pixels)
        pixmap = pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace quirlanto
