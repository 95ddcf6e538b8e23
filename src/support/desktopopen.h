#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

namespace quirlanto {

// How long xdg-open may take to say that the desktop could not take an address. xdg-open may
// also stay until the program it started ends; still running after this, it has handed over.
inline constexpr int kDesktopHandOverMs = 5000;

// Hands `target` (an address or a file) to `program` (xdg-open) without waiting for it.
// `handedOver` runs once: false when the program could not start or ended with a failure within
// `handOverMs`, true when it ended well or still runs then. Later ends are the started program's
// own business and are not reported.
void openWithDesktop(const QString &program, const QString &target, std::function<void(bool handedOver)> handedOver,
                     int handOverMs = kDesktopHandOverMs);

// The keys of the "[Desktop Entry]" group of a launcher file; nothing when it cannot be read.
std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path);

} // namespace quirlanto
