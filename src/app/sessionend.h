#pragma once

#include <QObject>

class QSocketNotifier;

namespace quirlanto {

// The ends that do not come through "&Ende": SIGTERM, SIGHUP and SIGINT (a logout that kills the
// program, `systemctl --user stop`, Ctrl+C in a terminal) and the session manager. A signal only
// writes a byte into a pipe; the event loop reads it and asks for the end there. One per program.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject *parent = nullptr);
    // Puts the default handlers back.
    ~SessionEnd() override;

signals:
    // Once, for the first signal; a second signal then ends the program at once, should the
    // end itself hang.
    void endRequested();
    // The session manager wants the data saved; it ends the program afterwards or not at all.
    void saveRequested();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_ending = false;
};

} // namespace quirlanto
