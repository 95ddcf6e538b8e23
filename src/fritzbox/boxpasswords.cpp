#include "fritzbox/fritzboxlink.h"

#include "fritzbox/networkloader.h"

#include <QHash>
#include <QPointer>
#include <QTimer>

namespace quirlanto {

namespace {

QString keyOf(const FritzBoxSettings &box)
{
    return QStringLiteral("fritzbox:%1@%2").arg(box.user, box.host.trimmed());
}

} // namespace

struct BoxPasswords::Private {
    QString programDirectory;
    BoxPasswordPrompt *prompt = nullptr;
    QHash<QString, QString> kept; // for this run only
};

BoxPasswords::BoxPasswords(QString programDirectory, QObject *parent)
    : QObject(parent)
    , d(new Private{std::move(programDirectory), nullptr, {}})
{}

BoxPasswords::~BoxPasswords() = default;

void BoxPasswords::setPrompt(BoxPasswordPrompt *prompt)
{
    d->prompt = prompt;
}

bool BoxPasswords::canAsk() const
{
    return d->prompt;
}

void BoxPasswords::find(const FritzBoxSettings &box, bool wrongBefore,
                        std::function<void(bool found, const QString &password)> done)
{
    const QString key = keyOf(box);
    const auto ask = [this, key, wrongBefore, done] {
        if (!d->prompt) {
            done(false, {});
            return;
        }
        d->prompt->ask(wrongBefore, [this, key, done](bool given, const QString &password) {
            if (given)
                d->kept.insert(key, password);
            done(given, password);
        });
    };
    // After a 401 neither the kept nor the stored one is worth another try.
    if (wrongBefore) {
        d->kept.remove(key);
        QTimer::singleShot(0, this, ask);
        return;
    }
    if (d->kept.contains(key)) {
        QTimer::singleShot(0, this, [done, password = d->kept.value(key)] { done(true, password); });
        return;
    }
    QString problem;
    const NetworkFunctions *module = loadNetworkModule(d->programDirectory, &problem);
    if (!module) {
        QTimer::singleShot(0, this, ask);
        return;
    }
    QPointer<BoxPasswords> self(this);
    module->readPassword(
        key, [self, this, key, ask, done](network::KeyringResult result, const QString &password, const QString &) {
            if (!self)
                return;
            if (result != network::KeyringResult::Done) {
                ask();
                return;
            }
            d->kept.insert(key, password);
            done(true, password);
        });
}

void BoxPasswords::store(const FritzBoxSettings &box, const QString &password,
                         std::function<void(const QString &problem)> done)
{
    const QString key = keyOf(box);
    d->kept.insert(key, password);
    const QString forThisRun = QStringLiteral("Das Kennwort der FRITZ!Box bleibt nur bis zum Ende des Programms "
                                              "gespeichert: ");
    QString problem;
    const NetworkFunctions *module = loadNetworkModule(d->programDirectory, &problem);
    if (!module) {
        QTimer::singleShot(0, this, [done, problem = forThisRun + problem] { done(problem); });
        return;
    }
    module->writePassword(key, password, [done, forThisRun](network::KeyringResult result, const QString &problem) {
        if (result == network::KeyringResult::Done)
            done({});
        else if (result == network::KeyringResult::NoKeyring)
            done(forThisRun + QStringLiteral("Auf diesem Desktop antwortet kein Schlüsselbund."));
        else
            done(forThisRun + QStringLiteral("Der Schlüsselbund hat es nicht angenommen (%1).").arg(problem));
    });
}

} // namespace quirlanto
