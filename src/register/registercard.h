#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace quirlanto {

// One card: its tab caption and its name list, each entry held as its item text.
struct RegisterCard {
    QString cardName;
    QStringList entries;

    bool operator==(const RegisterCard &) const = default;
};

inline constexpr int kCardCount = 4;
using RegisterCards = std::array<RegisterCard, kCardCount>;

RegisterCards defaultCards(); // "Büro 1", "Büro 2", "Privat 1", "Privat 2", no entries

} // namespace quirlanto
