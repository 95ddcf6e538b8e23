#pragma once

#include <QFlags>
#include <QString>

#include <cstddef>

namespace quirlanto {

// "Anwahl ausführen über ...". PhoneProgram and FritzBox are never stored in the register file,
// only in the per-user settings.
enum class DialDevice { Modem = 0, Loudspeaker = 1, PhoneProgram = 2, FritzBox = 3 };
inline constexpr std::size_t kDialDeviceCount = 4;

// The settings of the options card a dial device may use; the card greys the others.
enum class DialSetting {
    Port = 0x1,               // "Anschluß" and its device
    DialMethod = 0x2,         // "Wahlart"
    ExtraModemCommands = 0x4, // "Zusatz- befehle"
    ModemAnswer = 0x8,        // "Debug"
    OutsideLinePrefix = 0x10, // "Amt"
    InternationalPrefix = 0x20,
    OwnCodes = 0x40, // "Land" and "Ort": they complete numbers written without them
    Handover = 0x80,
    Providers = 0x100,
    PhoneProgram = 0x200,
    FritzBox = 0x400, // "Einrichten …"
};
Q_DECLARE_FLAGS(DialSettings, DialSetting)

} // namespace quirlanto

// Outside the namespace, where it hides no other operator.
Q_DECLARE_OPERATORS_FOR_FLAGS(quirlanto::DialSettings)

namespace quirlanto {

// One line per device.
inline DialSettings settingsUsedBy(DialDevice device)
{
    using S = DialSetting;
    const DialSettings commandLine = S::DialMethod | S::ExtraModemCommands | S::OutsideLinePrefix
                                     | S::InternationalPrefix | S::OwnCodes | S::Handover | S::Providers;
    switch (device) {
    case DialDevice::Modem:
        return commandLine | S::Port | S::ModemAnswer;
    case DialDevice::Loudspeaker: // plays the modem's command line, but for the modem's own commands
        return commandLine & ~DialSettings(S::ExtraModemCommands);
    case DialDevice::PhoneProgram: // gets the international number and dials from its own line
        return S::OwnCodes | S::PhoneProgram;
    case DialDevice::FritzBox: // the router is the line: no outside-line prefix, no modem
        return S::InternationalPrefix | S::OwnCodes | S::Providers | S::FritzBox;
    }
    return commandLine;
}

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

// The router that dials and reports calls; kept in the per-user settings, the password in the
// desktop's keyring.
struct FritzBoxSettings {
    QString host = QStringLiteral("fritz.box"); // name or address, ":port" for another TR-064 port
    QString user;
    QString phone; // the router's name of the phone that rings
    bool callMonitor = false;
    int monitorPort = 1012;

    bool operator==(const FritzBoxSettings &) const = default;
};

inline constexpr int kMinEntryFontSize = 6;
inline constexpr int kMaxEntryFontSize = 24;
inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 16;

} // namespace quirlanto
