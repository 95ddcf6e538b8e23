// The password keeper from the command line, for keyring_test.sh:
//   boxpassword store <host> <user> <password>   prints "stored" or why it is kept for the run only
//   boxpassword find <host> <user>               prints "found <password>" or "asked"
#include "fritzbox/fritzboxlink.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace quirlanto;

namespace {

struct Refusing final : BoxPasswordPrompt {
    void ask(bool, std::function<void(bool, const QString &)> answer) override
    {
        QTextStream(stdout) << "asked\n";
        answer(false, {});
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 4)
        return 2;
    FritzBoxSettings box;
    box.host = a[2];
    box.user = a[3];
    BoxPasswords passwords(QStringLiteral(QUIRLANTO_PROGRAM_DIR));
    Refusing prompt;
    passwords.setPrompt(&prompt);
    if (a[1] == QLatin1String("store") && a.size() == 5) {
        passwords.store(box, a[4], [](const QString &problem) {
            QTextStream(stdout) << (problem.isEmpty() ? QStringLiteral("stored") : problem) << '\n';
            QCoreApplication::exit(problem.isEmpty() ? 0 : 1);
        });
    } else {
        passwords.find(box, false, [](bool found, const QString &password) {
            if (found)
                QTextStream(stdout) << "found " << password << '\n';
            QCoreApplication::exit(0);
        });
    }
    return app.exec();
}
