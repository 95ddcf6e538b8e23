#pragma once

#include "register/phoneentry.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <array>
#include <optional>
#include <utility>

namespace quirlanto {

// Lower case without accents: "Müller" and "muller" are the same to the fold.
QString withoutCaseAndAccents(const QString &text);

// The order of the name lists: German, case ignored, umlauts beside their base letters
// ("Müller" next to "Muller", before "Mz"). Fixed to German rather than the session's locale,
// so that a file sorted once stays sorted whatever the environment.
class NameOrder {
public:
    // Where the locale's rules are missing (Qt without ICU), names are compared folded:
    // without accents and case, "ß" as "ss".
    explicit NameOrder(const QLocale &locale);
    static const NameOrder &german();

    int compare(const QString &a, const QString &b) const;
    // Stable: entries with equal names keep their order.
    void sort(QList<PhoneEntry> &entries) const;
    // The rows [first, last) of a sorted list whose names equal `name`; a new one goes to `last`.
    std::pair<qsizetype, qsizetype> equalRange(const QList<PhoneEntry> &entries, const QString &name) const;

private:
    std::optional<QCollator> m_collator; // none: folded
    // The collator's order of the printable ASCII characters, equal for upper and lower case;
    // 0 for any other.
    std::array<quint8, 128> m_asciiRank{};
};

} // namespace quirlanto
