#pragma once

#include "register/contactimport.h"
#include "register/phoneentry.h"
#include "register/registercard.h"
#include "register/registerdocument.h"

#include <QDialog>
#include <QList>
#include <QSet>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QTreeWidget;
class QWidget;

namespace quirlanto {

// "Kontakte importieren": the numbers of a vCard file, each with a check box and its card: the
// one its contact's group names, else the one chosen below the list; each row's card can be
// changed. Numbers their card holds already and doubtful ones start unticked.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    using NumbersOnCard = std::function<QSet<QString>(int card)>;
    ImportDialog(const QList<ImportCandidate> &candidates, const CardNames &cardNames, int shownCard,
                 NumbersOnCard numbersOnCard = {}, QWidget *parent = nullptr);
    // A line under the list on the cards of the file that were cut off and are missing.
    void setDamagedCards(int count);
    QList<RegisterDocument::CardEntry> checkedEntries() const;
    // The card chosen below the list.
    int targetCard() const;

private:
    void markNumbersOnCard(int row);
    void takeDefaultCard();

    QList<ImportCandidate> m_candidates;
    CardNames m_cardNames;
    std::array<QSet<QString>, kCardCount> m_numbersOnCard;
    QSet<int> m_onCard;  // rows whose number their card holds
    QSet<int> m_ownCard; // rows not following the card below: by group or by hand
    QTreeWidget *m_list = nullptr;
    QComboBox *m_card = nullptr;
    QLabel *m_damaged = nullptr;
};

// Each gives the text for the status bar, empty when there is none; messages are shown here.
struct ImportOutcome {
    QString status;
    std::optional<int> card; // where entries went
};
ImportOutcome chooseAndImportVCards(RegisterDocument &book, int shownCard, QWidget *parent);
ImportOutcome importVCardFile(RegisterDocument &book, int shownCard, const QString &path, QWidget *parent);
QString chooseAndExportVCards(const RegisterDocument &book, int shownCard, QWidget *parent);
// Writes the shown card, or all cards, to `path` as the register file is written.
QString exportVCardFile(const RegisterDocument &book, int shownCard, bool allCards, const QString &path,
                        QWidget *parent);

} // namespace quirlanto
