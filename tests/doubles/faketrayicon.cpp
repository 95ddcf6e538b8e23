#include "faketrayicon.h"

namespace quirlanto::test {

void FakeTrayIcon::setIcon(const QIcon &i)
{
    icon = i;
}

void FakeTrayIcon::setToolTip(const QString &text)
{
    toolTip = text;
}

void FakeTrayIcon::show()
{
    shown = true;
}

void FakeTrayIcon::hide()
{
    shown = false;
}

bool FakeTrayIcon::isAvailable() const
{
    return available;
}

} // namespace quirlanto::test
