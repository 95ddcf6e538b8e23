#include "dial/soundmodule.h"
#include "support/builtmodules.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;

class TestModuleLoader : public QObject {
    Q_OBJECT
private slots:
    void damagedModuleIsRefused_data()
    {
        QTest::addColumn<int>("cut");   // bytes cut off the end
        QTest::addColumn<bool>("flip"); // one bit of a byte in the middle
        QTest::newRow("intact") << 0 << false;
        QTest::newRow("cut short") << 4096 << false;
        QTest::newRow("byte flipped") << 0 << true;
    }
    void damagedModuleIsRefused()
    {
        QFETCH(int, cut);
        QFETCH(bool, flip);
        QFile built(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/") + QLatin1String(sound::kModuleFile));
        QVERIFY(built.open(QIODevice::ReadOnly));
        QByteArray bytes = built.readAll();
        bytes.chop(cut);
        if (flip)
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x40);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("lib")));
        const QString path = folder.filePath(QLatin1String(sound::kModuleFile));
        QFile copy(path);
        QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size());
        copy.close();

        const ModuleLoad load = loadModule(path, builtSoundModule(), {sound::kStartPcmSymbol});
        const bool intact = cut == 0 && !flip;
        QCOMPARE(load.damaged, !intact);
        QCOMPARE(load.functions.size(), intact ? 1 : 0);
        QCOMPARE(load.problem, intact ? QString()
                                      : QStringLiteral("Der Programmteil „%1“ ist beschädigt und wird nicht geladen. "
                                                       "Bitte installieren Sie Quirlanto neu.")
                                            .arg(path));
    }
};

QTEST_GUILESS_MAIN(TestModuleLoader)
#include "tst_moduleloader.moc"
