#include "fritzbox/fritzboxdial.h"

#include "dial/modemcommand.h"

namespace quirlanto {

namespace {

bool showOptionsFor(BoxProblem::Kind kind)
{
    using Kind = BoxProblem::Kind;
    return kind == Kind::Unreachable || kind == Kind::Unauthorized || kind == Kind::NoPhone
           || kind == Kind::UnknownPhone;
}

} // namespace

FritzBoxDial::FritzBoxDial(FritzBoxLink &link, BoxPasswords &passwords, std::function<FritzBoxSettings()> settings,
                           int holdMs, QObject *parent)
    : DialBackend(parent)
    , m_link(link)
    , m_passwords(passwords)
    , m_settings(std::move(settings))
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(holdMs);
    connect(&m_hold, &QTimer::timeout, this, [this] { end({}); });
}

void FritzBoxDial::start(const DialRequest &request)
{
    const quint64 dial = ++m_dial;
    m_running = true;
    m_sent = false;
    m_access = {m_settings(), {}};
    m_digits = lineDigits(request.prepared);
    // Asking for a password is pointless while no phone could ring.
    if (m_access.settings.phone.trimmed().isEmpty()) {
        m_link.dial(m_access, m_digits, [this, dial](const BoxProblem &problem) {
            if (dial == m_dial)
                end(DialResult::failed(problem.message, false, true));
        });
        return;
    }
    // A locked keyring or a slow box can take seconds: the window says what it waits for.
    emit progress(QStringLiteral("Verbindung zur FRITZ!Box …"));
    m_passwords.find(m_access.settings, false, [this, dial](bool found, const QString &password) {
        if (dial != m_dial)
            return;
        if (found)
            attempt(dial, password);
        else if (m_passwords.canAsk())
            end(DialResult::cancelled());
        else
            end(DialResult::failed(QStringLiteral("Das Kennwort der FRITZ!Box ist weder im Schlüsselbund noch für "
                                                  "diesen Programmlauf bekannt.\n\nGeben Sie es unter „Einrichten "
                                                  "…“ neben „FRITZ!Box“ auf der Karte Optionen ein."),
                                   false, true));
    });
}

void FritzBoxDial::attempt(quint64 dial, const QString &password)
{
    m_access.password = password;
    m_sent = true;
    m_link.dial(m_access, m_digits, [this, dial](const BoxProblem &problem) {
        if (dial != m_dial)
            return;
        if (problem.kind == BoxProblem::Kind::Unauthorized) {
            m_sent = false;
            askAgain(dial, problem);
        } else if (!problem.ok()) {
            m_sent = false;
            end(DialResult::failed(problem.message, false, showOptionsFor(problem.kind)));
        } else {
            emit lineReached();
            emit progress(QStringLiteral("Das Telefon „%1“ klingelt. Bitte nehmen Sie den Hörer ab: Dann wählt die "
                                         "FRITZ!Box die Nummer.")
                              .arg(m_access.settings.phone));
            m_hold.start();
        }
    });
}

void FritzBoxDial::askAgain(quint64 dial, const BoxProblem &refused)
{
    // Each password the user gives gets one try; without a prompt the refusal stands.
    m_passwords.find(m_access.settings, true, [this, dial, refused](bool found, const QString &password) {
        if (dial != m_dial)
            return;
        if (found)
            attempt(dial, password);
        else
            end(DialResult::failed(refused.message, false, true));
    });
}

void FritzBoxDial::cancel()
{
    if (!m_running)
        return;
    if (m_sent)
        m_link.hangup(m_access);
    else
        m_link.abort();
    end(DialResult::cancelled());
}

void FritzBoxDial::end(const DialResult &result)
{
    ++m_dial;
    m_running = false;
    m_sent = false;
    m_hold.stop();
    m_access.password.clear();
    emit finished(result);
}

} // namespace quirlanto
