// A stand-in for the program in the single-instance tests: reports how its start went and,
// as the running copy, every argument list handed over to it.
#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

using namespace quirlanto;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int timeoutMs =
        qEnvironmentVariableIsSet("HELPER_TIMEOUT_MS") ? qEnvironmentVariableIntValue("HELPER_TIMEOUT_MS") : 3000;
    SingleInstance instance(qEnvironmentVariable("HELPER_SERVER"));
    switch (instance.start(app.arguments().mid(1), timeoutMs)) {
    case SingleInstance::Start::HandedOver:
        out << "handed-over\n";
        return 0;
    case SingleInstance::Start::NoAnswer:
        out << "no-answer\n";
        return 2;
    case SingleInstance::Start::TooLong:
        out << "too-long\n";
        return 4;
    case SingleInstance::Start::Failed:
        out << "failed: " << instance.errorString() << '\n';
        return 3;
    case SingleInstance::Start::Primary:
        break;
    }
    out << "primary\n";
    out.flush();
    QObject::connect(&instance, &SingleInstance::argumentsReceived, &app, [&](const QStringList &arguments) {
        out << "received:" << arguments.join(u'|') << '\n';
        out.flush();
        if (arguments == QStringList{QStringLiteral("quit")})
            app.quit();
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
