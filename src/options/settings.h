#pragma once

#include <QString>

#include <cstddef>

namespace quirlanto {

// "Anwahl ausführen über ...". PhoneProgram is never stored in the register file, only in the
// per-user settings.
enum class DialDevice { Modem = 0, Loudspeaker = 1, PhoneProgram = 2 };
inline constexpr std::size_t kDialDeviceCount = 3;

// How the modem dials: "Ton" or "Puls" on the options card.
enum class DialMethod { Tone, Pulse };

// The user's options; stored in line 2 of the register file in this field order
// (reservedValue stands at positions 4 and 6).
struct Settings {
    DialDevice dialDevice = DialDevice::Modem;          // 1
    int comPort = 1;                                    // 2, 1 to 16
    DialMethod dialMethod = DialMethod::Tone;           // 3, 0 = "Ton", 1 = "Puls"
    qint16 reservedValue = 0;                           // 4 and 6, carried only
    QString outsideLinePrefix;                          // 5
    QString internationalPrefix = QStringLiteral("00"); // 7
    QString ownCountryCode = QStringLiteral("49");      // 8
    QString ownAreaCode = QStringLiteral("89");         // 9
    double entryFontSize = 12;                          // 10, points
    QString extraModemCommands;                         // 11
    QString handoverNumber;                             // 12
    bool handoverEnabled = false;                       // 13, 0 or 1

    bool operator==(const Settings &) const = default;
};

inline constexpr int kMinEntryFontSize = 6;
inline constexpr int kMaxEntryFontSize = 24;
inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 16;

} // namespace quirlanto
