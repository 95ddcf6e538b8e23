#include "calls/callevents.h"

#include <QList>

namespace quirlanto {

namespace {

std::optional<int> number(QByteArrayView field)
{
    bool ok = false;
    const int value = QByteArray(field.data(), field.size()).toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<MonitorEvent> parseMonitorLine(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n'))
        line.chop(1);
    const QList<QByteArrayView> fields = [&] {
        QList<QByteArrayView> out;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= line.size(); ++i)
            if (i == line.size() || line[i] == ';') {
                out.append(line.sliced(start, i - start));
                start = i + 1;
            }
        return out;
    }();
    if (fields.size() < 4)
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(fields[0].data(), fields[0].size()),
                                                 QStringLiteral("dd.MM.yy HH:mm:ss"));
    const std::optional<int> connection = number(fields[2]);
    if (!time.isValid() || !connection)
        return std::nullopt;
    MonitorEvent event;
    // "yy" reads 1900 + yy; the router has only ever reported this century.
    event.time = time.addYears(100);
    event.connection = *connection;
    const auto text = [&](int i) { return QString::fromUtf8(fields[i].data(), fields[i].size()).trimmed(); };
    const QByteArrayView kind = fields[1];
    if (kind == "RING" && fields.size() >= 6) {
        event.kind = MonitorEvent::Kind::Ring;
        event.remote = text(3);
        event.ownNumber = text(4);
    } else if (kind == "CALL" && fields.size() >= 7) {
        event.kind = MonitorEvent::Kind::Call;
        event.ownNumber = text(4);
        event.remote = text(5);
    } else if (kind == "CONNECT" && fields.size() >= 5) {
        event.kind = MonitorEvent::Kind::Connect;
        event.remote = text(4);
    } else if (kind == "DISCONNECT") {
        const std::optional<int> seconds = number(fields[3]);
        if (!seconds)
            return std::nullopt;
        event.kind = MonitorEvent::Kind::Disconnect;
        event.seconds = *seconds;
    } else {
        return std::nullopt;
    }
    return event;
}

CallTracker::Open *CallTracker::find(int connection)
{
    for (Open &open : m_open)
        if (open.call.connection == connection)
            return &open;
    return nullptr;
}

void CallTracker::forget(int connection)
{
    std::erase_if(m_open, [connection](const Open &open) { return open.call.connection == connection; });
}

std::optional<CallUpdate> CallTracker::take(const MonitorEvent &event)
{
    switch (event.kind) {
    case MonitorEvent::Kind::Ring:
    case MonitorEvent::Kind::Call: {
        // The router reuses a connection's id once it has ended; a new start replaces a lost end.
        forget(event.connection);
        if (m_open.size() >= kMaxOpenConnections)
            m_open.erase(m_open.begin());
        const bool incoming = event.kind == MonitorEvent::Kind::Ring;
        m_open.push_back({incoming, {event.connection, event.time, event.remote, event.ownNumber, false, 0}});
        if (!incoming)
            return std::nullopt;
        return CallUpdate{CallUpdate::Kind::Ringing, m_open.back().call};
    }
    case MonitorEvent::Kind::Connect: {
        Open *open = find(event.connection);
        if (!open || !open->incoming || open->call.answered)
            return std::nullopt;
        open->call.answered = true;
        return CallUpdate{CallUpdate::Kind::Answered, open->call};
    }
    case MonitorEvent::Kind::Disconnect: {
        Open *open = find(event.connection);
        if (!open)
            return std::nullopt;
        const bool incoming = open->incoming;
        IncomingCall call = open->call;
        call.seconds = call.answered ? event.seconds : 0;
        forget(event.connection);
        if (!incoming)
            return std::nullopt;
        return CallUpdate{CallUpdate::Kind::Ended, call};
    }
    }
    return std::nullopt;
}

} // namespace quirlanto
