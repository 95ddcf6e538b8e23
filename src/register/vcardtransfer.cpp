#include "register/vcardtransfer.h"

#include "numbers/foreignnumbers.h"
#include "register/contactimport.h"
#include "register/registerdocument.h"
#include "support/fittingrows.h"
#include "support/messagebox.h"
#include "support/safefilewriter.h"
#include "support/textlimits.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

const QString kVCardFilter = QStringLiteral("vCard-Dateien (*.vcf *.vcard)");
const QString kAllCardsFilter = QStringLiteral("Alle Karten als vCard (*.vcf)");

struct FileChoice {
    QString path; // empty: cancelled
    bool allCards = false;
};

// The folder of the last vCard file, at first the home folder (not wherever the program was
// started from).
QString &lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

FileChoice askForFile(QWidget *parent, bool save, const QString &shownCardName)
{
    FileChoice choice;
    if (!save) {
        choice.path = QFileDialog::getOpenFileName(parent, QStringLiteral("Kontakte importieren"), lastFolder(),
                                                   kVCardFilter + QStringLiteral(";;Alle Dateien (*)"));
    } else {
        const QString shownFilter = QStringLiteral("Karte „%1“ als vCard (*.vcf)").arg(shownCardName);
        QString selected = shownFilter;
        choice.path = QFileDialog::getSaveFileName(parent, QStringLiteral("Kontakte exportieren"),
                                                   QDir(lastFolder()).filePath(shownCardName + QStringLiteral(".vcf")),
                                                   shownFilter + QStringLiteral(";;") + kAllCardsFilter, &selected);
        if (!choice.path.isEmpty() && !choice.path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            choice.path += QStringLiteral(".vcf");
        choice.allCards = selected == kAllCardsFilter;
    }
    if (!choice.path.isEmpty())
        lastFolder() = QFileInfo(choice.path).absolutePath();
    return choice;
}

QString damagedCardsText(int count)
{
    return count == 1
               ? QStringLiteral("1 Kontakt der Datei ist beschädigt oder abgeschnitten und fehlt.")
               : QStringLiteral("%1 Kontakte der Datei sind beschädigt oder abgeschnitten und fehlen.").arg(count);
}

enum Column { NameColumn, NumberColumn, WrittenColumn, CardColumn };

// The card of a row is chosen in a box of card names.
class CardDelegate : public FittingRowsDelegate {
public:
    CardDelegate(const CardNames &cardNames, QObject *parent)
        : FittingRowsDelegate(parent)
        , m_cardNames(cardNames)
    {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        if (index.column() != CardColumn)
            return nullptr;
        auto *box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("rowCard"));
        for (const QString &name : m_cardNames)
            box->addItem(name);
        // A card picked is taken at once; Enter or leaving the box closes it.
        auto *self = const_cast<CardDelegate *>(this); // the editor is made in a const function
        connect(box, &QComboBox::activated, self, [self, box] { emit self->commitData(box); });
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QComboBox *>(editor)->setCurrentIndex(index.data(Qt::UserRole).toInt());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const auto *box = static_cast<QComboBox *>(editor);
        // The text last: the list reads the card when it changes.
        model->setData(index, box->currentIndex(), Qt::UserRole);
        model->setData(index, box->currentText(), Qt::DisplayRole);
    }

private:
    CardNames m_cardNames;
};

// F2 on a row chooses its card and Space ticks it, wherever in the row the cursor is; the mouse
// does each on the card and on the box. Only the card has an editor (see CardDelegate).
class ImportList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override
    {
        if (trigger == EditKeyPressed)
            return QTreeWidget::edit(index.siblingAtColumn(CardColumn), trigger, event);
        const bool space = event && event->type() == QEvent::KeyPress
                           && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
        return QTreeWidget::edit(space ? index.siblingAtColumn(NameColumn) : index, trigger, event);
    }
};

} // namespace

ImportDialog::ImportDialog(const QList<ImportCandidate> &candidates, const CardNames &cardNames, int shownCard,
                           NumbersOnCard numbersOnCard, QWidget *parent)
    : QDialog(parent)
    , m_candidates(candidates)
    , m_cardNames(cardNames)
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("Kontakte importieren"));
    setModal(true);
    if (numbersOnCard)
        for (int card = 0; card < kCardCount; ++card)
            m_numbersOnCard[card] = numbersOnCard(card);

    auto *label = new QLabel(QStringLiteral("Diese Nummern werden auf die Karten übernommen:"), this);
    m_list = new ImportList(this);
    m_list->setObjectName(QStringLiteral("importList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // thousands of rows
    m_list->setItemDelegate(new CardDelegate(cardNames, m_list));
    m_list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed);
    m_list->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Nummer"), QStringLiteral("In der Datei"), QStringLiteral("Karte")});
    m_list->headerItem()->setToolTip(CardColumn, QStringLiteral("F2 oder Doppelklick: die Karte der Zeile wählen"));

    m_card = new QComboBox(this);
    m_card->setObjectName(QStringLiteral("targetCard"));
    for (const QString &name : cardNames)
        m_card->addItem(name);
    m_card->setCurrentIndex(qBound(0, shownCard, kCardCount - 1));

    QList<QTreeWidgetItem *> items;
    items.reserve(candidates.size());
    // Megabytes of a damaged file would freeze the list.
    const auto shown = [](const QString &text) {
        return text.size() > kMaxNameLength ? text.left(kMaxNameLength) + QChar(u'…') : text;
    };
    for (qsizetype row = 0; row < candidates.size(); ++row) {
        const ImportCandidate &candidate = candidates[row];
        auto *item = new QTreeWidgetItem(
            {shown(candidate.entry.name), shown(candidate.shownNumber), shown(candidate.written), QString()});
        item->setCheckState(NameColumn, candidate.doubtful ? Qt::Unchecked : Qt::Checked);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (candidate.tooLong)
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setToolTip(NumberColumn, candidate.note);
        int card = cardNamedBy(candidate.categories, cardNames);
        if (card >= 0)
            m_ownCard.insert(int(row));
        else
            card = targetCard();
        item->setText(CardColumn, cardNames[card]);
        item->setData(CardColumn, Qt::UserRole, card);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        markNumbersOnCard(row);
    m_list->header()->resizeSection(NameColumn, 250);
    m_list->header()->resizeSection(NumberColumn, 130);
    m_list->header()->resizeSection(WrittenColumn, 150);
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column != CardColumn)
            return;
        const int row = m_list->indexOfTopLevelItem(item);
        m_ownCard.insert(row);
        markNumbersOnCard(row);
    });
    auto *note = new QLabel(QStringLiteral("Nicht angehakt sind Nummern, die schon auf ihrer Karte stehen (grau) "
                                           "oder die Sie prüfen sollten. Kontakte, deren Gruppe wie eine Karte "
                                           "heißt, kommen auf diese Karte, die übrigen auf die unten gewählte; "
                                           "F2 wählt die Karte einer Zeile."),
                            this);
    note->setWordWrap(true);
    m_list->setAccessibleName(QStringLiteral("Kontakte aus der Datei"));
    m_list->setAccessibleDescription(note->text());
    m_damaged = new QLabel(this);
    m_damaged->setObjectName(QStringLiteral("damagedNote"));
    m_damaged->setWordWrap(true);
    m_damaged->hide();

    auto *cardLabel = new QLabel(QStringLiteral("&Karte:"), this);
    cardLabel->setBuddy(m_card);
    m_card->setAccessibleName(QStringLiteral("Karte"));
    m_card->setAccessibleDescription(QStringLiteral("Die Karte für die Kontakte ohne eigene Karte"));
    connect(m_card, &QComboBox::currentIndexChanged, this, &ImportDialog::takeDefaultCard);

    auto *import = new QPushButton(QStringLiteral("&Importieren"), this);
    import->setObjectName(QStringLiteral("importButton"));
    import->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(import, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cardLabel);
    bottom->addWidget(m_card);
    bottom->addStretch();
    bottom->addWidget(import);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(note);
    layout->addWidget(m_damaged);
    layout->addLayout(bottom);
    resize(780, 460);
}

void ImportDialog::takeDefaultCard()
{
    const int card = targetCard();
    const QSignalBlocker quiet(m_list); // not chosen by hand
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_ownCard.contains(row))
            continue;
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        item->setText(CardColumn, m_cardNames[card]);
        item->setData(CardColumn, Qt::UserRole, card);
        markNumbersOnCard(row);
    }
}

void ImportDialog::markNumbersOnCard(int row)
{
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    const bool onCard =
        m_numbersOnCard[item->data(CardColumn, Qt::UserRole).toInt()].contains(m_candidates[row].entry.number);
    if (onCard == m_onCard.contains(row))
        return;
    const QSignalBlocker quiet(m_list);
    if (onCard) {
        m_onCard.insert(row);
        item->setCheckState(NameColumn, Qt::Unchecked);
    } else {
        m_onCard.remove(row);
        item->setCheckState(NameColumn, m_candidates[row].doubtful ? Qt::Unchecked : Qt::Checked);
    }
    const QBrush brush = onCard ? palette().brush(QPalette::Disabled, QPalette::Text) : palette().brush(QPalette::Text);
    for (int column = 0; column < m_list->columnCount(); ++column)
        item->setForeground(column, brush);
    item->setToolTip(NameColumn, onCard ? QStringLiteral("Diese Nummer steht schon auf der Karte.") : QString());
}

void ImportDialog::setDamagedCards(int count)
{
    m_damaged->setText(damagedCardsText(count));
    m_damaged->setVisible(count > 0);
}

QList<RegisterDocument::CardEntry> ImportDialog::checkedEntries() const
{
    QList<RegisterDocument::CardEntry> checked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (item->checkState(NameColumn) == Qt::Checked && !m_candidates[i].tooLong)
            checked.append({item->data(CardColumn, Qt::UserRole).toInt(), m_candidates[i].entry});
    }
    return checked;
}

int ImportDialog::targetCard() const
{
    return m_card->currentIndex();
}

ImportOutcome chooseAndImportVCards(RegisterDocument &book, int shownCard, QWidget *parent)
{
    const FileChoice choice = askForFile(parent, false, QString());
    return choice.path.isEmpty() ? ImportOutcome{} : importVCardFile(book, shownCard, choice.path, parent);
}

ImportOutcome importVCardFile(RegisterDocument &book, int shownCard, const QString &path, QWidget *parent)
{
    const VCardReadResult read = readVCardFile(path);
    if (!read.error.isEmpty()) {
        MessageBoxes::critical(parent, read.error);
        return {};
    }
    ForeignNumbers &foreign = ForeignNumbers::shared();
    const QList<ImportCandidate> candidates = importCandidates(read.contacts, book.settings(), &foreign);
    // Without the module the register's own rules still give every number; the log says why.
    if (!foreign.loadError().isEmpty())
        qWarning("Foreign numbers read by the register's rules only: %s", qUtf8Printable(foreign.loadError()));
    if (candidates.isEmpty()) {
        MessageBoxes::information(parent, read.damaged == 0
                                              ? QStringLiteral("Die Datei enthält keine Telefonnummern.")
                                              : QStringLiteral("Die Datei enthält keinen vollständigen Kontakt mit "
                                                               "Telefonnummer.\n\n")
                                                    + damagedCardsText(read.damaged));
        return {};
    }
    ImportDialog dialog(
        candidates, book.cardNames(), shownCard, [&book](int card) { return book.numbersOn(card); }, parent);
    dialog.setDamagedCards(read.damaged);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const RegisterDocument::ImportResult result = book.importEntries(dialog.checkedEntries());
    if (result.refusedCard >= 0) {
        MessageBoxes::critical(parent, QStringLiteral("Die Karte „%1“ kann höchstens %2 Einträge aufnehmen. "
                                                      "Es wurde nichts importiert.")
                                           .arg(book.cardName(result.refusedCard))
                                           .arg(RegisterDocument::kMaxCardEntries));
        return {};
    }
    MessageBoxes::reportWrite(parent, result.write);
    // The card chosen below the list, unless only others got entries.
    std::optional<int> shown;
    for (int card = 0; card < kCardCount; ++card)
        if (result.importedOn[card] > 0 && (!shown || card == dialog.targetCard()))
            shown = card;
    return {importStatus(read.contacts, result.imported), shown};
}

QString chooseAndExportVCards(const RegisterDocument &book, int shownCard, QWidget *parent)
{
    if (!isCardIndex(shownCard))
        return {};
    const FileChoice choice = askForFile(parent, true, book.cardName(shownCard));
    return choice.path.isEmpty() ? QString() : exportVCardFile(book, shownCard, choice.allCards, choice.path, parent);
}

QString exportVCardFile(const RegisterDocument &book, int shownCard, bool allCards, const QString &path,
                        QWidget *parent)
{
    qsizetype count = 0;
    for (int card = 0; card < kCardCount; ++card)
        if (allCards || card == shownCard)
            count += book.entries(card).size();
    const QByteArray text =
        vCardBytes(contactsFromCards(book.contents().cards, allCards ? std::nullopt : std::optional<int>(shownCard)));
    // An export has no backup: a failed write leaves the file it would replace as it was.
    if (!MessageBoxes::reportWrite(parent, writeFileWithBackup(path, QString(), text)))
        return {};
    return QStringLiteral("%1 %2 exportiert.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"));
}

} // namespace quirlanto
