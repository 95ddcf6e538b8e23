// The password keeper from the command line, for keyring_test.sh: "store <host> <user> <password>"
// prints "stored" or why it is kept for the run only; "find <host> <user>" prints "found <password>"
// when the keyring has it.
#include "fritzbox/fritzboxlink.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace quirlanto;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const FritzBoxSettings box{a.value(2), a.value(3), {}};
    BoxPasswords passwords(QStringLiteral(QUIRLANTO_PROGRAM_DIR));
    const auto print = [](const QString &line) { QTextStream(stdout) << line << '\n', QCoreApplication::exit(); };
    if (a.value(1) == QLatin1String("store"))
        passwords.store(box, a.value(4),
                        [&](const QString &problem) { print(problem.isEmpty() ? "stored" : problem); });
    else
        passwords.find(box, false,
                       [&](bool found, const QString &password) { print(found ? "found " + password : ""); });
    return app.exec();
}
