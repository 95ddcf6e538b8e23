#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A Hayes modem on a pseudo-terminal: records every byte the program sends and answers a dial
// line (one ending in ";H" and CR) the way the chosen behaviour says.
class HayesSimulator : public QObject {
    Q_OBJECT
public:
    enum Behaviour {
        EchoThenOk,   // echo, then "OK"
        OkInTwoReads, // echo, "O", a pause, "K"
        LowerCaseOk,  // echo, then "ok"
        ErrorAnswer,  // echo, then "ERROR"
        Busy,         // echo, then "BUSY"
        Silent,       // nothing at all
    };

    explicit HayesSimulator(Behaviour behaviour = EchoThenOk, QObject *parent = nullptr);
    ~HayesSimulator() override;

    bool isValid() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }
    QByteArray received() const { return m_received; }
    void clearReceived()
    {
        m_received.clear();
        m_scanned = 0;
    }
    void setBehaviour(Behaviour behaviour) { m_behaviour = behaviour; }
    // Writes bytes as the modem would (unsolicited result codes, noise).
    void send(const QByteArray &bytes);
    // The device vanishes like an unplugged USB modem.
    void disappear();
    // A sync point for "nothing more arrived": writes a marker into the line from the program's
    // side and waits until it has come through. Whatever the program sent before is in
    // received() then; the marker itself is neither kept nor echoed. False on a time-out.
    bool sync(int timeoutMs = 5000);

signals:
    void bytesReceived();

private:
    void readFromProgram();
    void answerDialLine();

    Behaviour m_behaviour;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_received;
    qsizetype m_scanned = 0;
    bool m_synced = false;
};
