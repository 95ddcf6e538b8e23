// The session manager's request to save; the signals are shown with the real program.
#include "app/sessionend.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using namespace quirlanto;

class TestSessionEnd : public QObject {
    Q_OBJECT
private slots:
    void commitDataRequestAsksForASaveNotAnEnd()
    {
        SessionEnd session;
        QSignalSpy save(&session, &SessionEnd::saveRequested);
        QSignalSpy end(&session, &SessionEnd::endRequested);
        // No session manager runs here; the manager itself is not looked at.
        alignas(void *) char manager[64] = {};
        QVERIFY(QMetaObject::invokeMethod(qApp, "commitDataRequest", Qt::DirectConnection,
                                          QGenericArgument("QSessionManager&", manager)));
        QCOMPARE(save.count(), 1);
        QCOMPARE(end.count(), 0);
    }
};

QTEST_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
