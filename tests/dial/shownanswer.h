// The modem's answer where the user reads it: in the message of "Debug".
#pragma once

#include "dial/modemlink.h"
#include "support/messagebox.h"

namespace quirlanto::test {

inline QString shownAnswer(const ModemLink &link)
{
    MessageBoxes::setAutoAnswer(true);
    link.showModemAnswer(nullptr);
    const QString text = MessageBoxes::shown().isEmpty() ? QString() : MessageBoxes::shown().last().text;
    return text.mid(text.indexOf(QLatin1String("\n\n")) + 2);
}

} // namespace quirlanto::test
