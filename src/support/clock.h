#pragma once

#include <QDateTime>

namespace quirlanto {

// Number preparation asks the clock for weekday and hour; tests pass a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace quirlanto
