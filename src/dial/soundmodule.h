#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

// The audio output lives in a module of its own (lib/quirlanto-sound.so in a program folder,
// moduleDirectory() when installed system-wide), loaded on the first loudspeaker dial: the sound
// libraries it pulls in would otherwise slow every start of the program, and most starts never
// dial through the loudspeaker. Module and program are built together, so Qt's types cross.
namespace quirlanto::sound {

enum class PlayResult : int { Played = 0, NoOutputDevice = 1, OutputFailed = 2 };

// One sound being played. The audio output processes events while it is torn down, so a player
// is only ever deleted with deleteLater(), never directly.
class PcmPlayback : public QObject {
public:
    using QObject::QObject;
    // Silence at once; `done` does not run any more.
    virtual void stop() = 0;
};

// Starts playing 16-bit signed little-endian mono samples and returns the player at once;
// `done` runs once with a PlayResult when they have been heard (or the stream stalled or failed).
// Null when the sound cannot start: `*result` says why and `done` does not run.
using StartPcmFunction = PcmPlayback *(*)(const QByteArray &samples, int sampleRate,
                                          std::function<void(PlayResult)> done, PlayResult *result);

inline constexpr char kStartPcmSymbol[] = "quirlantoStartPcm";
inline constexpr char kModuleFile[] = "lib/quirlanto-sound.so"; // in a program folder
inline constexpr char kModuleName[] = "quirlanto-sound.so";

} // namespace quirlanto::sound
