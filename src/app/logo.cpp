#include "app/logo.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace quirlanto {

QPixmap quirlantoLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF disc(1, 1, size - 2, size - 2);
    QRadialGradient fill(disc.center() - QPointF(size / 6.0, size / 6.0), size * 0.7);
    fill.setColorAt(0, QColor(0x5a, 0xa9, 0xe6));
    fill.setColorAt(1, QColor(0x1c, 0x4e, 0x8a));
    p.setPen(QPen(QColor(0x14, 0x36, 0x60), size / 32.0));
    p.setBrush(fill);
    p.drawEllipse(disc);

    // Three arms of a whirl, like a dial spun by a finger.
    const QPointF c = disc.center();
    const double r = size * 0.36;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, size / 12.0, Qt::SolidLine, Qt::RoundCap));
    for (int arm = 0; arm < 3; ++arm) {
        QPainterPath path;
        const double start = arm * 2 * M_PI / 3;
        for (int i = 0; i <= 24; ++i) {
            const double t = i / 24.0;
            const double angle = start + t * 1.6;
            const QPointF point = c + QPointF(std::cos(angle), std::sin(angle)) * (r * (0.25 + 0.75 * t));
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, size / 14.0, size / 14.0);
    return pixmap;
}

} // namespace quirlanto
