#pragma once

#include "dial/numberpreparation.h"

#include <QObject>
#include <QString>

namespace quirlanto {

// One dial as the dialer hands it to a device.
struct DialRequest {
    QString name;
    QString internationalNumber; // the phone program takes it as it is
    QString phoneProgram;        // launcher id of the chosen phone program
    PreparedNumber prepared;
    QString commandLine; // what the modem gets and the loudspeaker plays
    int comPort = 1;
};

// How a dial ended.
struct DialResult {
    enum class Kind { Done, Cancelled, Failed };
    Kind kind = Kind::Done;
    QString message;          // German, for Failed
    bool warning = false;     // a warning rather than an error
    bool showOptions = false; // the options card is where to put it right

    static DialResult cancelled() { return {Kind::Cancelled, {}, false, false}; }
    static DialResult failed(QString message, bool warning = false, bool showOptions = false)
    {
        return {Kind::Failed, std::move(message), warning, showOptions};
    }
};

// A way to dial: the modem, the loudspeaker, the phone program. Everything runs on the GUI
// thread through signals; start() and cancel() return at once.
class DialBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // finished() follows exactly once, perhaps before start() returns.
    virtual void start(const DialRequest &request) = 0;
    // Ends a running dial at once; finished() with Cancelled follows.
    virtual void cancel() = 0;
    // The window "Anwahl" is shown while this device dials.
    virtual bool showsProgress() const { return false; }

signals:
    // A word from the device while it dials (the modem's result words).
    void progress(const QString &word);
    // The number has gone out before the dial ends (the router rings the phone): the dial
    // belongs in the call list even if it is cancelled now. A device that does not say so
    // counts once it has finished without failure or cancel.
    void lineReached();
    void finished(const quirlanto::DialResult &result);
};

} // namespace quirlanto

Q_DECLARE_METATYPE(quirlanto::DialResult)
