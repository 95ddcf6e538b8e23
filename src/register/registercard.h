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

// Cards are counted from 0; only the register file numbers them from 1.
inline constexpr int kCardCount = 4;
using RegisterCards = std::array<RegisterCard, kCardCount>;
using CardNames = std::array<QString, kCardCount>;

constexpr bool isCardIndex(int card)
{
    return card >= 0 && card < kCardCount;
}

RegisterCards defaultCards(); // "Büro 1", "Büro 2", "Privat 1", "Privat 2", no entries

} // namespace quirlanto
