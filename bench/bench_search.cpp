// Search and import figures with 10,000 entries: key to repaint in the search field, and
// choosing a 10,000-contact vCard file to the shown dialog "Kontakte importieren".
#include "benchsupport.h"

#include "register/namesearch.h"
#include "register/phonebook.h"
#include "register/vcard.h"
#include "register/vcardtransfer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

#include <cstdio>

using namespace quirlanto;
using quirlanto::bench::median;
using quirlanto::bench::medianMs;

namespace {

constexpr int kEntries = 10000;

QList<PhoneEntry> generatedEntries()
{
    static const char *const kNames[] = {"Müller",   "Schmidt, Anna",     "Bäckerei Groß", "Dr. Weiß",
                                         "Zahnarzt", "Meier-Lüdenscheid", "Oma",           "Renée Café"};
    QList<PhoneEntry> entries;
    quint32 x = 4711;
    for (int i = 0; i < kEntries; ++i) {
        x = x * 1103515245u + 12345u;
        entries.append({QString::fromUtf8(kNames[(x >> 8) % 8]) + QLatin1Char(' ') + QString::number(i),
                        QStringLiteral("4989") + QString::number(100000 + (x >> 4) % 9000000), true});
    }
    return entries;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    PhoneBook book(DataPaths::inDirectory(dir.path() + QLatin1Char('/')));
    book.loadRegister();
    const QList<PhoneEntry> entries = generatedEntries();
    for (int card = 1; card <= kCardCount; ++card)
        book.importEntries(card, entries.mid((card - 1) * kEntries / kCardCount, kEntries / kCardCount));

    NameSearch search(book);
    search.resize(600, 400);
    search.open();
    QApplication::processEvents();
    std::vector<double> keys;
    const QString typed = QStringLiteral("muller 1");
    for (int round = 0; round < 5; ++round) {
        search.field()->clear();
        for (const QChar c : typed) {
            QElapsedTimer timer;
            timer.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(search.field(), &press);
            search.hitList()->viewport()->repaint();
            search.field()->repaint();
            keys.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("search: %d entries on 4 cards, %zu keys typed\n", kEntries, keys.size());
    std::printf("  key to repaint (median)          %8.2f ms  (goal <= 16 ms)\n", median(keys));
    std::printf("  key to repaint (slowest)         %8.2f ms\n", *std::max_element(keys.begin(), keys.end()));

    QList<PhoneEntry> contacts;
    for (const PhoneEntry &entry : entries)
        contacts.append({entry.name, entry.number, true});
    const QString file = dir.filePath(QStringLiteral("kontakte.vcf"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(vCardsFromEntries(contacts)) < 0)
        return 1;
    out.close();
    const double import = medianMs(5, [&] {
        const VCardReadResult read = readVCardFile(file);
        ImportDialog dialog(entriesFromContacts(read.contacts, book.settings()), book.cardNames(), 1);
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
    });
    std::printf("import: %d contacts, %lld bytes\n", kEntries, static_cast<long long>(QFileInfo(file).size()));
    std::printf("  file chosen to dialog shown      %8.2f ms  (goal <= 1000 ms)\n", import);
    return 0;
}
