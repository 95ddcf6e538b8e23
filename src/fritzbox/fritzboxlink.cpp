#include "fritzbox/fritzboxlink.h"

#include "fritzbox/networkloader.h"
#include "fritzbox/tr064.h"

#include <QHash>
#include <QPointer>
#include <QTimer>

namespace quirlanto {

namespace {

using network::HttpAnswer;
using network::HttpFailure;
using Kind = BoxProblem::Kind;

// Phones the router can name; a router answering without end must not keep the list growing.
constexpr int kMaxPhones = 64;

const QString kAccessForApps = QStringLiteral("\n\nSchalten Sie in der FRITZ!Box „Zugriff für Anwendungen“ ein: "
                                              "Heimnetz › Netzwerk › Netzwerkeinstellungen.");

QString withCode(QString message, int code)
{
    return code ? message + QStringLiteral(" (UPnP-Fehler %1)").arg(code) : message;
}

BoxProblem problemOf(Kind kind, QString message, int code = 0)
{
    return {kind, withCode(std::move(message), code), code};
}

QString shownHost(const FritzBoxSettings &box)
{
    return box.host.trimmed();
}

// Where the answer says nothing came back: the name, the connection, the time.
BoxProblem transportProblem(const FritzBoxSettings &box, const QUrl &base, const HttpAnswer &answer, int timeoutMs)
{
    const QString host = shownHost(box);
    switch (answer.failure) {
    case HttpFailure::HostNotFound:
        return problemOf(Kind::Unreachable,
                         QStringLiteral("Die FRITZ!Box „%1“ ist nicht erreichbar: Der Name „%2“ lässt sich nicht "
                                        "auflösen.\n\nPrüfen Sie die Adresse unter „Einrichten …“.")
                             .arg(host, base.host()));
    case HttpFailure::ConnectionRefused:
        return problemOf(
            Kind::NoTr64,
            QStringLiteral("Die FRITZ!Box „%1“ nimmt auf Port %2 keine Verbindung an.").arg(host).arg(base.port())
                + kAccessForApps);
    case HttpFailure::Timeout:
        return problemOf(Kind::Unreachable,
                         QStringLiteral("Die FRITZ!Box „%1“ ist nicht erreichbar: Es kam keine Antwort innerhalb von "
                                        "%2 Sekunden.\n\nPrüfen Sie die Adresse unter „Einrichten …“.")
                             .arg(host)
                             .arg(timeoutMs / 1000));
    case HttpFailure::Unauthorized:
        return problemOf(Kind::Unauthorized,
                         QStringLiteral("Die FRITZ!Box „%1“ hat die Anmeldung %2 abgelehnt: Benutzer oder Kennwort "
                                        "sind falsch, oder dem Benutzer fehlen Rechte.\n\nPrüfen Sie Benutzer und "
                                        "Kennwort unter „Einrichten …“. In den Benutzereinstellungen der FRITZ!Box "
                                        "(System › FRITZ!Box-Benutzer) braucht der Benutzer die Rechte „FRITZ!Box "
                                        "Einstellungen“ und „Sprachnachrichten, Faxnachrichten, FRITZ!App Fon und "
                                        "Anrufliste“.")
                             .arg(host, box.user.isEmpty() ? QStringLiteral("ohne Benutzernamen")
                                                           : QStringLiteral("als „%1“").arg(box.user)));
    case HttpFailure::None:
    case HttpFailure::Other:
        break;
    }
    return problemOf(Kind::Unreachable,
                     QStringLiteral("Die FRITZ!Box „%1“ ist nicht erreichbar: %2").arg(host, answer.problem));
}

BoxProblem dialingHelpOff(int code)
{
    return problemOf(Kind::Fault,
                     QStringLiteral("Die FRITZ!Box hat die Anwahl abgelehnt: Die Wählhilfe ist ausgeschaltet oder hat "
                                    "kein Telefon.\n\nSchalten Sie sie in der FRITZ!Box ein: Telefonie › Anrufe › "
                                    "Wählhilfe, „Wählhilfe verwenden“, und wählen Sie dort ein Telefon."),
                     code);
}

BoxProblem unknownPhone(const QString &phone, int code = 0)
{
    return problemOf(Kind::UnknownPhone,
                     QStringLiteral("Das Telefon „%1“ steht nicht in der Liste der FRITZ!Box.\n\nWählen Sie unter "
                                    "„Einrichten …“ eines der Telefone der FRITZ!Box.")
                         .arg(phone),
                     code);
}

BoxProblem noPhone()
{
    return problemOf(Kind::NoPhone, QStringLiteral("Es ist kein Telefon gewählt, das klingeln soll.\n\nWählen Sie es "
                                                   "auf der Karte Optionen unter „Einrichten …“ neben „FRITZ!Box“."));
}

const QString kPhoneName = QStringLiteral("NewX_AVM-DE_PhoneName");

} // namespace

constexpr int kAnswerTimeoutMs = 10000;

struct FritzBoxLink::Private {
    FritzBoxLink *q;
    QString programDirectory;
    QPointer<network::HttpClient> http;
    quint64 call = 0;                     // tells answers of an abandoned call from the current one
    QHash<QString, QString> controlPaths; // by base URL, from the last description
    int timeoutMs = kAnswerTimeoutMs;

    using Answered = std::function<void(const BoxProblem &, const tr064::Answer &)>;

    // Every answer of one call passes here: an abandoned call hears nothing more.
    template <typename F>
    auto guarded(quint64 c, F f)
    {
        return [this, c, f = std::move(f)](auto &&...args) {
            if (c == call)
                f(std::forward<decltype(args)>(args)...);
        };
    }

    void later(quint64 c, std::function<void()> f) { QTimer::singleShot(0, q, guarded(c, std::move(f))); }

    bool client(BoxProblem *problem)
    {
        if (http)
            return true;
        QString why;
        const NetworkFunctions *module = loadNetworkModule(programDirectory, &why);
        if (!module) {
            *problem = problemOf(Kind::ModuleMissing, why);
            return false;
        }
        http = module->createHttpClient(q);
        return true;
    }

    // The description tells whether the router offers the dialing help at all, and where.
    void describe(quint64 c, const BoxAccess &access,
                  std::function<void(const BoxProblem &, const QUrl &base, const QString &controlPath)> done)
    {
        const tr064::BoxAddress address = tr064::parseBoxAddress(access.settings.host);
        BoxProblem problem;
        if (!address.problem.isEmpty())
            problem = problemOf(Kind::Unreachable, address.problem);
        if (!problem.ok() || !client(&problem)) {
            later(c, [done, problem] { done(problem, {}, {}); });
            return;
        }
        network::HttpRequest request;
        request.method = "GET";
        request.url = address.base.resolved(QUrl(QStringLiteral("/tr64desc.xml")));
        request.timeoutMs = timeoutMs;
        http->send(request, guarded(c, [this, access, base = address.base, done](const HttpAnswer &answer) {
                       if (answer.failure != HttpFailure::None) {
                           done(transportProblem(access.settings, base, answer, timeoutMs), base, {});
                           return;
                       }
                       const QString path = answer.status == 200 ? tr064::voipControlPath(answer.body) : QString();
                       if (path.isEmpty()) {
                           done(problemOf(Kind::NoTr64, QStringLiteral("Die FRITZ!Box „%1“ bietet über TR-064 "
                                                                       "keinen Dienst X_VoIP an.")
                                                                .arg(shownHost(access.settings))
                                                            + kAccessForApps),
                                base, {});
                           return;
                       }
                       controlPaths.insert(base.toString(), path);
                       done({}, base, path);
                   }));
    }

    // One action; a fault comes back as the answer with an ok problem.
    void soap(quint64 c, const BoxAccess &access, const QUrl &base, const QString &controlPath, const QString &action,
              const tr064::Arguments &arguments, Answered done)
    {
        network::HttpRequest request;
        request.url = base.resolved(QUrl(controlPath));
        request.headers = {{"SOAPACTION", tr064::soapAction(action)}, {"Content-Type", R"(text/xml; charset="utf-8")"}};
        request.body = tr064::envelope(action, arguments);
        request.user = access.settings.user;
        request.password = access.password;
        request.timeoutMs = timeoutMs;
        http->send(request, guarded(c, [this, access, base, action, done](const HttpAnswer &answer) {
                       if (answer.failure != HttpFailure::None) {
                           done(transportProblem(access.settings, base, answer, timeoutMs), {});
                           return;
                       }
                       const tr064::Answer parsed = tr064::parseAnswer(answer.body);
                       if (!parsed.valid || (answer.status != 200 && !parsed.fault)) {
                           done(problemOf(Kind::Other, QStringLiteral("Die FRITZ!Box hat auf %1 unverständlich "
                                                                      "geantwortet (HTTP-Status %2).")
                                                           .arg(action)
                                                           .arg(answer.status)),
                                parsed);
                           return;
                       }
                       done({}, parsed);
                   }));
    }

    void collectPhones(quint64 c, const BoxAccess &access, const QUrl &base, const QString &path, QStringList phones,
                       std::function<void(const QStringList &, const BoxProblem &)> done)
    {
        soap(c, access, base, path, QStringLiteral("X_AVM-DE_GetPhonePort"),
             {{QStringLiteral("NewIndex"), QString::number(phones.size() + 1)}},
             [this, c, access, base, path, phones, done](const BoxProblem &problem,
                                                         const tr064::Answer &answer) mutable {
                 if (!problem.ok()) {
                     done({}, problem);
                     return;
                 }
                 // The first index the router does not know ends the list.
                 if (answer.fault || phones.size() >= kMaxPhones) {
                     done(phones, {});
                     return;
                 }
                 phones.append(answer.values.value(kPhoneName));
                 collectPhones(c, access, base, path, phones, done);
             });
    }
};

FritzBoxLink::FritzBoxLink(QString programDirectory, QObject *parent)
    : QObject(parent)
    , d(new Private{this, std::move(programDirectory), {}, 0, {}, kAnswerTimeoutMs})
{}

FritzBoxLink::~FritzBoxLink()
{
    ++d->call;
    if (d->http)
        d->http->abortAll();
}

void FritzBoxLink::abort()
{
    ++d->call;
}

void FritzBoxLink::listPhones(const BoxAccess &access,
                              std::function<void(const QStringList &, const BoxProblem &)> done)
{
    const quint64 c = ++d->call;
    d->describe(c, access, [this, c, access, done](const BoxProblem &problem, const QUrl &base, const QString &path) {
        if (!problem.ok())
            done({}, problem);
        else
            d->collectPhones(c, access, base, path, {}, done);
    });
}

void FritzBoxLink::check(const BoxAccess &access, std::function<void(const BoxCheckLine &)> line,
                         std::function<void(const BoxProblem &)> done)
{
    const quint64 c = ++d->call;
    const QString host = shownHost(access.settings);
    const QString reachable = QStringLiteral("Adresse „%1“ erreichbar").arg(host);
    const QString tr64 = QStringLiteral("TR-064 mit dem Dienst X_VoIP");
    const QString login = access.settings.user.isEmpty()
                              ? QStringLiteral("Anmeldung ohne Benutzernamen")
                              : QStringLiteral("Anmeldung als „%1“").arg(access.settings.user);
    const QString help = QStringLiteral("Wählhilfe");
    const QString phone = QStringLiteral("Telefon „%1“ in der Liste der FRITZ!Box").arg(access.settings.phone);
    const auto passed = [line](const QString &step, const QString &result = QStringLiteral("in Ordnung")) {
        line({step + QStringLiteral(": ") + result, true});
    };
    const auto failed = [line, done](const QString &step, const BoxProblem &problem) {
        line({step + QStringLiteral(": ") + problem.message, false});
        done(problem);
    };
    d->describe(c, access, [=, this](const BoxProblem &problem, const QUrl &base, const QString &path) {
        if (problem.kind == Kind::Unreachable || problem.kind == Kind::ModuleMissing)
            return failed(reachable, problem);
        passed(reachable);
        if (!problem.ok())
            return failed(tr64, problem);
        passed(tr64);
        d->soap(c, access, base, path, QStringLiteral("X_AVM-DE_DialGetConfig"), {},
                [=, this](const BoxProblem &problem, const tr064::Answer &answer) {
                    if (problem.kind == Kind::Unauthorized)
                        return failed(login, problem);
                    if (!problem.ok())
                        return failed(help, problem);
                    passed(login);
                    if (answer.fault)
                        return failed(help, dialingHelpOff(answer.errorCode));
                    const QString current = answer.values.value(kPhoneName);
                    passed(help, current.isEmpty() ? QStringLiteral("eingeschaltet")
                                                   : QStringLiteral("eingeschaltet, zurzeit mit „%1“").arg(current));
                    if (access.settings.phone.isEmpty())
                        return failed(QStringLiteral("Klingelndes Telefon"), noPhone());
                    d->collectPhones(c, access, base, path, {},
                                     [=](const QStringList &phones, const BoxProblem &problem) {
                                         if (!problem.ok())
                                             return failed(phone, problem);
                                         if (!phones.contains(access.settings.phone))
                                             return failed(phone, unknownPhone(access.settings.phone));
                                         passed(phone);
                                         done({});
                                     });
                });
    });
}

void FritzBoxLink::dial(const BoxAccess &access, const QString &digits, std::function<void(const BoxProblem &)> done)
{
    const quint64 c = ++d->call;
    const QString phone = access.settings.phone;
    if (phone.isEmpty()) {
        d->later(c, [done] { done(noPhone()); });
        return;
    }
    const auto dialNumber = [this, c, access, digits, done](const QUrl &base, const QString &path) {
        d->soap(c, access, base, path, QStringLiteral("X_AVM-DE_DialNumber"),
                {{QStringLiteral("NewX_AVM-DE_PhoneNumber"), digits}},
                [done](const BoxProblem &problem, const tr064::Answer &answer) {
                    done(!problem.ok() ? problem : answer.fault ? dialingHelpOff(answer.errorCode) : BoxProblem{});
                });
    };
    d->describe(c, access, [=, this](const BoxProblem &problem, const QUrl &base, const QString &path) {
        if (!problem.ok())
            return done(problem);
        d->soap(c, access, base, path, QStringLiteral("X_AVM-DE_DialGetConfig"), {},
                [=, this](const BoxProblem &problem, const tr064::Answer &answer) {
                    if (!problem.ok())
                        return done(problem);
                    if (answer.fault)
                        return done(dialingHelpOff(answer.errorCode));
                    // Another program may have chosen another phone since.
                    if (answer.values.value(kPhoneName) == phone)
                        return dialNumber(base, path);
                    d->soap(c, access, base, path, QStringLiteral("X_AVM-DE_DialSetConfig"), {{kPhoneName, phone}},
                            [=](const BoxProblem &problem, const tr064::Answer &answer) {
                                if (!problem.ok())
                                    return done(problem);
                                if (answer.fault)
                                    return done(unknownPhone(phone, answer.errorCode));
                                dialNumber(base, path);
                            });
                });
    });
}

void FritzBoxLink::setTimeoutMs(int ms)
{
    d->timeoutMs = ms;
}

void FritzBoxLink::hangup(const BoxAccess &access)
{
    const quint64 c = ++d->call;
    const tr064::BoxAddress address = tr064::parseBoxAddress(access.settings.host);
    BoxProblem problem;
    if (!address.problem.isEmpty() || !d->client(&problem))
        return;
    const QString path =
        d->controlPaths.value(address.base.toString(), QString::fromLatin1(tr064::kDefaultControlPath));
    d->soap(c, access, address.base, path, QStringLiteral("X_AVM-DE_DialHangup"), {},
            [](const BoxProblem &, const tr064::Answer &) {});
    // The hang-up is not a call to wait for: the next one must not abandon it.
    ++d->call;
}

} // namespace quirlanto
