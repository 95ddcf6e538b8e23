#include "register/vcardtransfer.h"

#include "register/foreignnumbers.h"
#include "register/phonebook.h"
#include "register/vcard.h"
#include "support/messagebox.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

const QString kVCardFilter = QStringLiteral("vCard-Dateien (*.vcf *.vcard)");
const QString kAllCardsFilter = QStringLiteral("Alle Karten als vCard (*.vcf)");

FileChooser &fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

FileChoice askForFile(QWidget *parent, bool save, const QString &shownCardName)
{
    if (fileChooser())
        return fileChooser()(parent, save);
    if (!save)
        return {QFileDialog::getOpenFileName(parent, QStringLiteral("Kontakte importieren"), QString(),
                                             kVCardFilter + QStringLiteral(";;Alle Dateien (*)"))};
    const QString shownFilter = QStringLiteral("Karte „%1“ als vCard (*.vcf)").arg(shownCardName);
    QString selected = shownFilter;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Kontakte exportieren"),
                                                shownCardName + QStringLiteral(".vcf"),
                                                shownFilter + QStringLiteral(";;") + kAllCardsFilter, &selected);
    if (!path.isEmpty() && !path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
        path += QStringLiteral(".vcf");
    return {path, selected == kAllCardsFilter};
}

} // namespace

ImportDialog::ImportDialog(const QList<PhoneEntry> &entries, const QStringList &cardNames, int shownCard,
                           QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("Kontakte importieren"));
    setModal(true);

    auto *label = new QLabel(QStringLiteral("Diese Nummern werden auf die Karte übernommen:"), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("importList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // thousands of rows
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Nummer")});
    QList<QTreeWidgetItem *> items;
    items.reserve(entries.size());
    for (const PhoneEntry &entry : entries) {
        auto *item = new QTreeWidgetItem({entry.name, entry.number});
        item->setCheckState(0, Qt::Checked);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->header()->resizeSection(0, 280);

    auto *cardLabel = new QLabel(QStringLiteral("&Karte:"), this);
    m_card = new QComboBox(this);
    m_card->setObjectName(QStringLiteral("targetCard"));
    m_card->addItems(cardNames);
    m_card->setCurrentIndex(qBound(1, shownCard, int(cardNames.size())) - 1);
    cardLabel->setBuddy(m_card);

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
    layout->addLayout(bottom);
    resize(560, 420);
}

QList<PhoneEntry> ImportDialog::checkedEntries() const
{
    QList<PhoneEntry> checked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked)
            checked.append(m_entries[i]);
    return checked;
}

int ImportDialog::targetCard() const
{
    return m_card->currentIndex() + 1;
}

void setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

QString chooseAndImportVCards(PhoneBook &book, int shownCard, QWidget *parent)
{
    const FileChoice choice = askForFile(parent, false, QString());
    return choice.path.isEmpty() ? QString() : importVCardFile(book, shownCard, choice.path, parent);
}

QString importVCardFile(PhoneBook &book, int shownCard, const QString &path, QWidget *parent)
{
    const VCardReadResult read = readVCardFile(path);
    if (!read.error.isEmpty()) {
        MessageBoxes::critical(parent, read.error);
        return {};
    }
    ForeignNumbers foreign;
    const QList<PhoneEntry> entries = entriesFromContacts(read.contacts, book.settings(), &foreign);
    // Without the module the register's own rules still give every number; the log says why.
    if (!foreign.loadError().isEmpty())
        qWarning("Foreign numbers read by the register's rules only: %s", qUtf8Printable(foreign.loadError()));
    if (entries.isEmpty()) {
        MessageBoxes::information(parent, QStringLiteral("Die Datei enthält keine Telefonnummern."));
        return {};
    }
    ImportDialog dialog(entries, book.cardNames(), shownCard, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QList<PhoneEntry> checked = dialog.checkedEntries();
    const PhoneBook::ImportResult result = book.importEntries(dialog.targetCard(), checked);
    if (result.refused) {
        MessageBoxes::critical(parent, QStringLiteral("Die Karte kann höchstens %1 Einträge aufnehmen. "
                                                      "Es wurde nichts importiert.")
                                           .arg(PhoneBook::kMaxCardEntries));
        return {};
    }
    MessageBoxes::reportWrite(parent, result.write);
    const int skipped = result.skipped + int(entries.size() - checked.size());
    return QStringLiteral("%1 %2 importiert, %3 übersprungen.")
        .arg(result.imported)
        .arg(result.imported == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"))
        .arg(skipped);
}

QString chooseAndExportVCards(const PhoneBook &book, int shownCard, QWidget *parent)
{
    if (shownCard < 1 || shownCard > kCardCount)
        return {};
    const FileChoice choice = askForFile(parent, true, book.cardName(shownCard));
    if (choice.path.isEmpty())
        return {};
    QList<PhoneEntry> entries;
    for (int card = 1; card <= kCardCount; ++card)
        if (choice.allCards || card == shownCard)
            entries += book.entries(card);
    QSaveFile file(choice.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(vCardsFromEntries(entries)) < 0 || !file.commit()) {
        MessageBoxes::critical(parent, QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                           .arg(QDir::toNativeSeparators(choice.path), file.errorString()));
        return {};
    }
    return QStringLiteral("%1 %2 exportiert.")
        .arg(entries.size())
        .arg(entries.size() == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"));
}

} // namespace quirlanto
