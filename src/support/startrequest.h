#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace quirlanto {

// What a later start sends the running copy over the local socket: the payload's length as
// four bytes (big-endian), then the arguments as QDataStream (Qt 6.0) writes a QStringList.
inline constexpr quint32 kMaxStartRequestBytes = 64 * 1024; // payload, without the length

QByteArray encodeStartRequest(const QStringList &arguments);

struct StartRequest {
    // Incomplete: more bytes may still come. Invalid: the connection is to be dropped.
    enum class Status { Incomplete, Invalid, Complete };
    Status status = Status::Incomplete;
    QStringList arguments;
};

// Everything received on one connection so far; `ended`: the sender closed its side or failed.
// Works on whatever a peer sends: a count or length the bytes cannot hold is Invalid before
// anything is reserved for it.
StartRequest decodeStartRequest(QByteArrayView received, bool ended);

} // namespace quirlanto
