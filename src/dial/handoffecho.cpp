#include "dial/handoffecho.h"

namespace quirlanto {

HandOffEcho::HandOffEcho(const Clock &clock)
    : m_clock(clock)
{}

HandOffEcho &HandOffEcho::shared()
{
    static const SystemClock clock;
    static HandOffEcho echo(clock);
    return echo;
}

void HandOffEcho::handedOver(const QString &digits)
{
    m_digits = digits;
    m_at = m_clock.now();
}

bool HandOffEcho::isEcho(const QString &digits)
{
    if (digits.isEmpty() || digits != m_digits)
        return false;
    m_digits.clear();
    const qint64 elapsed = m_at.msecsTo(m_clock.now());
    return elapsed >= 0 && elapsed <= kEchoMs;
}

} // namespace quirlanto
