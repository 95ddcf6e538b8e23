#pragma once

#include "register/phoneentry.h"

#include <QDialog>
#include <QList>
#include <functional>

class QComboBox;
class QTreeWidget;
class QWidget;

namespace quirlanto {

class PhoneBook;

// "Kontakte importieren": the numbers of a vCard file, each with a check box, and the target card.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(const QList<PhoneEntry> &entries, const QStringList &cardNames, int shownCard,
                 QWidget *parent = nullptr);
    QList<PhoneEntry> checkedEntries() const;
    int targetCard() const;

private:
    QList<PhoneEntry> m_entries;
    QTreeWidget *m_list = nullptr;
    QComboBox *m_card = nullptr;
};

struct FileChoice {
    QString path; // empty: cancelled
    bool allCards = false;
};
// Test seam: tests answer the file dialogs; `save` asks for the export file.
using FileChooser = std::function<FileChoice(QWidget *parent, bool save)>;
void setFileChooser(FileChooser chooser);

// Each returns the text for the status bar, empty when there is none; messages are shown here.
QString chooseAndImportVCards(PhoneBook &book, int shownCard, QWidget *parent);
QString importVCardFile(PhoneBook &book, int shownCard, const QString &path, QWidget *parent);
QString chooseAndExportVCards(const PhoneBook &book, int shownCard, QWidget *parent);

} // namespace quirlanto
