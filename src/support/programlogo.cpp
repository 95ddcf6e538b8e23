#include "support/programlogo.h"

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
    QPixmap pixmap(QStringLiteral(":/icons/quirlanto-%1.png").arg(source));
    if (pixmap.width() != pixels)
        pixmap = pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace quirlanto
