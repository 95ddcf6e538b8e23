#include "support/startrequest.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace quirlanto {

namespace {

constexpr qsizetype kLengthBytes = sizeof(quint32);

// A QStringList as QDataStream writes it: a count, then per text its byte length (or
// 0xFFFFFFFF for none) and the bytes. A count no payload of this size can hold is refused
// before the stream would reserve room for it.
bool plausibleList(QByteArrayView payload)
{
    if (payload.size() < 4)
        return false;
    return qFromBigEndian<quint32>(payload.data()) <= quint32((payload.size() - 4) / 4);
}

} // namespace

QByteArray encodeStartRequest(const QStringList &arguments)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << arguments;
    QByteArray message(kLengthBytes, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(payload.size()), message.data());
    return message + payload;
}

StartRequest decodeStartRequest(QByteArrayView received, bool ended)
{
    StartRequest request;
    const auto invalid = [&request] {
        request.status = StartRequest::Status::Invalid;
        return request;
    };
    if (received.size() < kLengthBytes)
        return ended ? invalid() : request;
    const quint32 size = qFromBigEndian<quint32>(received.data());
    if (size > kMaxStartRequestBytes)
        return invalid();
    if (received.size() < kLengthBytes + qsizetype(size))
        return ended ? invalid() : request;

    const QByteArray payload = received.sliced(kLengthBytes, size).toByteArray();
    if (!plausibleList(payload))
        return invalid();
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    in >> request.arguments;
    if (in.status() != QDataStream::Ok)
        return invalid();
    request.status = StartRequest::Status::Complete;
    return request;
}

} // namespace quirlanto
