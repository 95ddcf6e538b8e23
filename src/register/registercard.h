#pragma once

#include "register/phoneentry.h"

#include <QList>
#include <QString>
#include <array>

namespace quirlanto {

// One card: its tab caption and its name list.
struct RegisterCard {
    QString cardName;
    QList<PhoneEntry> entries;

    bool operator==(const RegisterCard &) const = default;
};

inline constexpr int kCardCount = 4;
using RegisterCards = std::array<RegisterCard, kCardCount>;

RegisterCards defaultCards(); // "Büro 1", "Büro 2", "Privat 1", "Privat 2", no entries

} // namespace quirlanto
