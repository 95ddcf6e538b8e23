#include "register/namesearch.h"

#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "numbers/writtennumber.h"
#include "register/nameorder.h"
#include "register/registerdocument.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quirlanto {

namespace {

bool hasLetter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString germanFolded(const QString &plain)
{
    QString folded;
    folded.reserve(plain.size());
    QChar previous;
    for (QChar c : plain) {
        if (c == u'ß')
            c = u's';
        // The "e" of "ae", "oe" and "ue" is what is left of the dots; "ß", "ss" are one "s".
        const bool dropped = (c == u'e' && (previous == u'a' || previous == u'o' || previous == u'u'))
                             || (c == u's' && previous == u's');
        if (!dropped)
            folded.append(c);
        previous = c;
    }
    return folded;
}

} // namespace

QString searchFolded(const QString &text)
{
    return germanFolded(withoutCaseAndAccents(text));
}

SearchHitModel::SearchHitModel(const RegisterDocument &book, QObject *parent)
    : QAbstractListModel(parent)
    , m_book(book)
{
    const auto stale = [this] {
        m_indexStale = true;
        emit entriesChanged();
    };
    connect(&book, &RegisterDocument::registerReset, this, stale);
    connect(&book, &RegisterDocument::cardReset, this, stale);
    connect(&book, &RegisterDocument::entryInserted, this, stale);
    connect(&book, &RegisterDocument::entryRemoved, this, stale);
}

void SearchHitModel::rebuildIndex()
{
    m_keys.clear();
    m_plainKeys.clear();
    m_numbers.clear();
    m_places.clear();
    for (int card = 0; card < kCardCount; ++card) {
        const QList<PhoneEntry> &entries = m_book.entries(card);
        for (int row = 0; row < entries.size(); ++row) {
            const PhoneEntry &entry = entries[row];
            const QString plain = withoutCaseAndAccents(entry.name);
            m_keys.append(germanFolded(plain) + u' ' + entry.number);
            m_plainKeys.append(plain + u' ' + entry.number);
            m_numbers.append(filterDialChars(entry.number));
            m_places.append({card, row});
        }
    }
    m_indexStale = false;
}

void SearchHitModel::setFilter(const QString &text)
{
    if (m_indexStale)
        rebuildIndex();
    const QString trimmed = text.trimmed();
    // "el" is in "Michael" though not in "michal": the folding of "ae" must not hide it.
    const QString plain = withoutCaseAndAccents(trimmed);
    const QString wanted = germanFolded(plain);
    // No asking the module which reading is valid: digits typed without "0" or "+" are found
    // as they stand anyway.
    const QString number =
        hasDigit(trimmed) && !hasLetter(trimmed) ? internationalFromClipboard(trimmed, m_book.settings()) : QString();
    beginResetModel();
    m_hits.clear();
    if (!wanted.isEmpty())
        for (qsizetype i = 0; i < m_keys.size(); ++i)
            if (m_keys[i].contains(wanted) || m_plainKeys[i].contains(plain)
                || (!number.isEmpty() && m_numbers[i].contains(number)))
                m_hits.append(m_places[i]);
    endResetModel();
}

QVariant SearchHitModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_hits.size())
        return {};
    const Hit &hit = m_hits[index.row()];
    if (hit.row >= m_book.entries(hit.card).size())
        return {}; // removed; the hits are filtered anew at once
    const PhoneEntry &entry = m_book.entries(hit.card).at(hit.row);
    const QString number = readableNumber(entry.number, m_book.settings(), &ForeignNumbers::shared());
    return QStringLiteral("%1 (%2)   –   %3").arg(entry.name, number, m_book.cardName(hit.card));
}

NameSearch::NameSearch(const RegisterDocument &book, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("nameSearch"));
    m_model = new SearchHitModel(book, this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setPlaceholderText(QStringLiteral("Name oder Nummer suchen (Esc schließt)"));
    m_field->setAccessibleName(QStringLiteral("Suchen"));
    m_field->setAccessibleDescription(m_field->placeholderText());
    m_hits = new QListView(this);
    m_hits->setObjectName(QStringLiteral("searchHits"));
    m_hits->setModel(m_model);
    m_hits->setUniformItemSizes(true);   // thousands of hits
    m_hits->setFocusPolicy(Qt::NoFocus); // the arrow keys in the field move through the hits
    m_hits->setAccessibleName(QStringLiteral("Treffer"));
    m_hits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_noHits = new QLabel(QStringLiteral("Keine Treffer."), this);
    m_noHits->setObjectName(QStringLiteral("noHitsLabel"));
    m_noHits->hide();
    layout->addWidget(m_field);
    layout->addWidget(m_noHits);
    layout->addWidget(m_hits);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &NameSearch::filter);
    // A hit names a row: after a change (an import sends one per entry) it is filtered anew once,
    // before Enter could dial whoever now stands in that row.
    connect(m_model, &SearchHitModel::entriesChanged, this, [this] {
        if (m_refilterQueued || isHidden())
            return;
        m_refilterQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_refilterQueued = false;
                filter(m_field->text());
            },
            Qt::QueuedConnection);
    });
    connect(m_hits, &QListView::doubleClicked, this, [this](const QModelIndex &index) {
        m_hits->setCurrentIndex(index);
        chooseCurrent();
    });
    hide();
}

void NameSearch::open()
{
    // Not in the constructor: its icon means looking through the icon theme and loading the
    // image plugins, a good part of the start-up time, for a field most starts never open.
    m_field->setClearButtonEnabled(true);
    show();
    filter(m_field->text()); // the register may have changed since
    m_field->selectAll();
    m_field->setFocus(Qt::ShortcutFocusReason);
    // The hits' numbers are grouped by the phone-number module: loaded once the field shows,
    // not at the first key.
    QTimer::singleShot(0, this, [] { ForeignNumbers::shared().prepare(); });
}

void NameSearch::filter(const QString &text)
{
    m_model->setFilter(text);
    if (m_model->rowCount() > 0)
        m_hits->setCurrentIndex(m_model->index(0));
    m_noHits->setVisible(m_model->rowCount() == 0 && !text.trimmed().isEmpty());
}

void NameSearch::close()
{
    hide();
    emit closed();
}

void NameSearch::chooseCurrent()
{
    const QModelIndex current = m_hits->currentIndex();
    if (!current.isValid())
        return;
    const SearchHitModel::Hit hit = m_model->hit(current.row());
    emit hitChosen(hit.card, hit.row);
}

bool NameSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const int count = m_model->rowCount();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (count > 0) {
            const int row = qBound(0, m_hits->currentIndex().row() + (key == Qt::Key_Up ? -1 : 1), count - 1);
            m_hits->setCurrentIndex(m_model->index(row));
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseCurrent();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

} // namespace quirlanto
