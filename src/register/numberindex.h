#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quirlanto {

class RegisterDocument;

// Every card's numbers by their digits, to name a caller. Built at the first lookup after a
// change of the register, so a change costs nothing until a call comes.
class NumberIndex : public QObject {
    Q_OBJECT
public:
    explicit NumberIndex(const RegisterDocument &book, QObject *parent = nullptr);

    struct Match {
        QString name;
        int card = -1;
    };
    // `international` as the register keeps numbers; the first card and row holding it wins.
    std::optional<Match> find(const QString &international) const;
    // The numbers (digits only) whose name `matches` accepts.
    QStringList numbersWhere(const std::function<bool(const QString &name)> &matches) const;

private:
    void rebuild() const;

    const RegisterDocument &m_book;
    mutable QHash<QString, Match> m_byNumber;
    mutable bool m_stale = true;
};

} // namespace quirlanto
