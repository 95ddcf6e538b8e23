#pragma once

#include <QtGlobal>

// The audio output lives in a module of its own (lib/quirlanto-sound.so in a program folder,
// moduleDirectory() when installed system-wide), loaded on the first loudspeaker dial: the sound
// libraries it pulls in would otherwise slow every start of the program, and most starts never
// dial through the loudspeaker.
namespace quirlanto::sound {

enum PlayResult : int { Played = 0, NoOutputDevice = 1, OutputFailed = 2 };

// Plays 16-bit signed little-endian mono samples and returns once they have been heard (or the
// stream stalled). Events are processed meanwhile.
using PlayPcmFunction = int (*)(const char *samples, qint64 bytes, int sampleRate);

inline constexpr char kPlayPcmSymbol[] = "quirlantoPlayPcm";
inline constexpr char kModuleFile[] = "lib/quirlanto-sound.so"; // in a program folder
inline constexpr char kModuleName[] = "quirlanto-sound.so";

} // namespace quirlanto::sound
