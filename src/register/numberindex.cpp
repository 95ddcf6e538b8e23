#include "register/numberindex.h"

#include "register/registerdocument.h"

namespace quirlanto {

namespace {

// Blanks, dashes and a "+" someone typed do not make another number.
QString digitsOf(const QString &number)
{
    QString digits;
    digits.reserve(number.size());
    for (const QChar c : number)
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    return digits;
}

} // namespace

NumberIndex::NumberIndex(const RegisterDocument &book, QObject *parent)
    : QObject(parent)
    , m_book(book)
{
    const auto stale = [this] { m_stale = true; };
    connect(&book, &RegisterDocument::registerReset, this, stale);
    connect(&book, &RegisterDocument::cardReset, this, stale);
    connect(&book, &RegisterDocument::entryInserted, this, stale);
    connect(&book, &RegisterDocument::entryRemoved, this, stale);
}

void NumberIndex::rebuild() const
{
    m_byNumber.clear();
    for (int card = 0; card < kCardCount; ++card)
        for (const PhoneEntry &entry : m_book.entries(card))
            if (const QString key = digitsOf(entry.number); !key.isEmpty() && !m_byNumber.contains(key))
                m_byNumber.insert(key, Match{entry.name, card});
    m_stale = false;
}

std::optional<NumberIndex::Match> NumberIndex::find(const QString &international) const
{
    const QString key = digitsOf(international);
    if (key.isEmpty())
        return std::nullopt;
    if (m_stale)
        rebuild();
    const auto found = m_byNumber.constFind(key);
    if (found == m_byNumber.cend())
        return std::nullopt;
    return *found;
}

QStringList NumberIndex::numbersWhere(const std::function<bool(const QString &name)> &matches) const
{
    if (m_stale)
        rebuild();
    QStringList numbers;
    for (auto it = m_byNumber.cbegin(); it != m_byNumber.cend(); ++it)
        if (matches(it->name))
            numbers.append(it.key());
    return numbers;
}

} // namespace quirlanto
