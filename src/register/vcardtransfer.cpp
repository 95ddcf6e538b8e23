#include "register/vcardtransfer.h"

#include "numbers/foreignnumbers.h"
#include "register/contactimport.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"
#include "support/safefilewriter.h"
#include "support/textlimits.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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

} // namespace

ImportDialog::ImportDialog(const QList<ImportCandidate> &candidates, const CardNames &cardNames, int shownCard,
                           NumbersOnCard numbersOnCard, QWidget *parent)
    : QDialog(parent)
    , m_candidates(candidates)
    , m_numbersOnCard(std::move(numbersOnCard))
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("Kontakte importieren"));
    setModal(true);

    auto *label = new QLabel(QStringLiteral("Diese Nummern werden auf die Karte übernommen:"), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("importList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // thousands of rows
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Nummer"), QStringLiteral("In der Datei")});
    QList<QTreeWidgetItem *> items;
    items.reserve(candidates.size());
    // Megabytes of a damaged file would freeze the list.
    const auto shown = [](const QString &text) {
        return text.size() > kMaxNameLength ? text.left(kMaxNameLength) + QChar(u'…') : text;
    };
    for (const ImportCandidate &candidate : candidates) {
        auto *item =
            new QTreeWidgetItem({shown(candidate.entry.name), shown(candidate.shownNumber), shown(candidate.written)});
        item->setCheckState(0, candidate.doubtful ? Qt::Unchecked : Qt::Checked);
        if (candidate.tooLong)
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setToolTip(1, candidate.note);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->header()->resizeSection(0, 250);
    m_list->header()->resizeSection(1, 130);
    auto *note = new QLabel(QStringLiteral("Nicht angehakt sind Nummern, die schon auf der Karte stehen (grau) "
                                           "oder die Sie prüfen sollten."),
                            this);
    note->setWordWrap(true);
    m_damaged = new QLabel(this);
    m_damaged->setObjectName(QStringLiteral("damagedNote"));
    m_damaged->setWordWrap(true);
    m_damaged->hide();

    auto *cardLabel = new QLabel(QStringLiteral("&Karte:"), this);
    m_card = new QComboBox(this);
    m_card->setObjectName(QStringLiteral("targetCard"));
    for (const QString &name : cardNames)
        m_card->addItem(name);
    m_card->setCurrentIndex(qBound(0, shownCard, kCardCount - 1));
    cardLabel->setBuddy(m_card);
    markNumbersOnCard();
    connect(m_card, &QComboBox::currentIndexChanged, this, &ImportDialog::markNumbersOnCard);

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
    resize(640, 440);
}

void ImportDialog::markNumbersOnCard()
{
    if (!m_numbersOnCard)
        return;
    const QSet<QString> numbers = m_numbersOnCard(targetCard());
    const QBrush normal = palette().brush(QPalette::Text);
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    for (qsizetype row = 0; row < m_candidates.size(); ++row) {
        const bool onCard = numbers.contains(m_candidates[row].entry.number);
        if (onCard == m_onCard.contains(int(row)))
            continue;
        QTreeWidgetItem *item = m_list->topLevelItem(int(row));
        if (onCard) {
            m_onCard.insert(int(row));
            item->setCheckState(0, Qt::Unchecked);
        } else {
            m_onCard.remove(int(row));
            item->setCheckState(0, m_candidates[row].doubtful ? Qt::Unchecked : Qt::Checked);
        }
        for (int column = 0; column < m_list->columnCount(); ++column)
            item->setForeground(column, onCard ? grey : normal);
        item->setToolTip(0, onCard ? QStringLiteral("Diese Nummer steht schon auf der Karte.") : QString());
    }
}

void ImportDialog::setDamagedCards(int count)
{
    m_damaged->setText(damagedCardsText(count));
    m_damaged->setVisible(count > 0);
}

QList<PhoneEntry> ImportDialog::checkedEntries() const
{
    QList<PhoneEntry> checked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked && !m_candidates[i].tooLong)
            checked.append(m_candidates[i].entry);
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
    const QList<PhoneEntry> checked = dialog.checkedEntries();
    const RegisterDocument::ImportResult result = book.importEntries(dialog.targetCard(), checked);
    if (result.refused) {
        MessageBoxes::critical(parent, QStringLiteral("Die Karte kann höchstens %1 Einträge aufnehmen. "
                                                      "Es wurde nichts importiert.")
                                           .arg(RegisterDocument::kMaxCardEntries));
        return {};
    }
    MessageBoxes::reportWrite(parent, result.write);
    const int skipped = result.skipped + int(candidates.size() - checked.size());
    return {QStringLiteral("%1 %2 importiert, %3 übersprungen.")
                .arg(result.imported)
                .arg(result.imported == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"))
                .arg(skipped),
            result.imported > 0 ? std::optional<int>(dialog.targetCard()) : std::nullopt};
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
    QByteArray text;
    for (int card = 0; card < kCardCount; ++card) {
        if (allCards || card == shownCard) {
            text += vCardBytes(contactsFromEntries(book.entries(card), book.cardName(card)));
            count += book.entries(card).size();
        }
    }
    // An export has no backup: a failed write leaves the file it would replace as it was.
    if (!MessageBoxes::reportWrite(parent, writeFileWithBackup(path, QString(), text)))
        return {};
    return QStringLiteral("%1 %2 exportiert.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"));
}

} // namespace quirlanto
