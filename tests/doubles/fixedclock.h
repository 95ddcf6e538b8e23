// A clock that stands at the time the test sets.
#pragma once

#include "support/clock.h"

namespace quirlanto {

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at)
        : m_at(std::move(at))
    {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};

} // namespace quirlanto
