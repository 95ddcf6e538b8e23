#pragma once

#include "support/clock.h"

#include <QString>

namespace quirlanto {

// The number last handed to the phone program. When the phone program is this program after
// all, that number comes straight back as a tel: link; asking about it again would loop.
class HandOffEcho {
public:
    static constexpr qint64 kEchoMs = 10000;

    explicit HandOffEcho(const Clock &clock);
    // The one the phone program dial and the tel: links share.
    static HandOffEcho &shared();

    void handedOver(const QString &digits);
    // True once for the number handed over within kEchoMs.
    bool isEcho(const QString &digits);

private:
    const Clock &m_clock;
    QString m_digits;
    QDateTime m_at;
};

} // namespace quirlanto
