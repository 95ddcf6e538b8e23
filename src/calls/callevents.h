#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace quirlanto {

// One line of the router's call monitor (TCP port 1012), e.g.
// "24.12.24 18:30:05;RING;0;030123456;987654;SIP0;".
struct MonitorEvent {
    enum class Kind { Ring, Call, Connect, Disconnect };
    Kind kind = Kind::Ring;
    QDateTime time;
    int connection = 0;
    QString remote;    // RING: the caller (empty when withheld); CALL: the number dialed; CONNECT: the other side
    QString ownNumber; // RING: the number called; CALL: the own number used
    int seconds = 0;   // DISCONNECT
};

// Lines of another kind, or missing fields, give nothing: the router adds kinds over time.
std::optional<MonitorEvent> parseMonitorLine(QByteArrayView line);

// An incoming call as far as it has got.
struct IncomingCall {
    int connection = 0;
    QDateTime time;
    QString caller; // as the router wrote it, national with "0", "00" in front, or local
    QString ownNumber;
    bool answered = false;
    int seconds = 0;
};

struct CallUpdate {
    enum class Kind { Ringing, Answered, Ended };
    Kind kind = Kind::Ringing;
    IncomingCall call;
};

// Follows the router's connections from RING over CONNECT to DISCONNECT. Outgoing connections
// are followed only so that their CONNECT and DISCONNECT are not taken for an incoming call.
class CallTracker {
public:
    // A flood of RINGs never ended cannot grow memory: beyond this, the oldest is forgotten.
    static constexpr std::size_t kMaxOpenConnections = 32;

    std::optional<CallUpdate> take(const MonitorEvent &event);
    std::size_t openConnections() const { return m_open.size(); }

private:
    struct Open {
        bool incoming = false;
        IncomingCall call;
    };
    Open *find(int connection);
    void forget(int connection);

    std::vector<Open> m_open;
};

} // namespace quirlanto
