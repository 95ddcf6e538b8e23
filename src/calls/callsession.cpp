#include "calls/callsession.h"

#include "calls/calllistmodel.h"
#include "calls/calllistwindow.h"
#include "calls/callstore.h"
#include "numbers/internationalform.h"
#include "register/numberindex.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"

namespace quirlanto {

namespace {

// Notifications kept answerable after their call: far more than a desktop shows at once.
constexpr int kRememberedNotices = 64;

} // namespace

CallSession::CallSession(RegisterDocument &book, const QString &callListPath,
                         CallMonitor::ConnectionFactory connections, CallNotifier::Fallback fallback,
                         QWidget *dialogParent, QObject *parent)
    : QObject(parent)
    , m_book(book)
    , m_callListPath(callListPath)
    , m_monitor(new CallMonitor(std::move(connections), this))
    , m_fallback(std::move(fallback))
    , m_dialogParent(dialogParent)
    , m_index(std::make_unique<NumberIndex>(book))
{
    connect(m_monitor, &CallMonitor::callUpdated, this, &CallSession::callUpdated);
}

CallSession::~CallSession()
{
    delete m_window;
}

QString CallSession::deviceName(DialDevice device)
{
    switch (device) {
    case DialDevice::Modem:
        return QStringLiteral("Modem");
    case DialDevice::Loudspeaker:
        return QStringLiteral("Lautsprecher");
    case DialDevice::PhoneProgram:
        return QStringLiteral("Telefon-Programm");
    case DialDevice::FritzBox:
        return QStringLiteral("FRITZ!Box");
    }
    return {};
}

QString CallSession::ringingSummary(const QString &caller, const QString &name)
{
    if (!name.isEmpty())
        return QStringLiteral("Anruf von ") + name;
    return caller.isEmpty() ? QStringLiteral("Anruf mit unterdrückter Nummer") : QStringLiteral("Anruf von ") + caller;
}

QString CallSession::missedSummary(const QString &caller, const QString &name)
{
    if (!name.isEmpty())
        return QStringLiteral("Verpasster Anruf von ") + name;
    return caller.isEmpty() ? QStringLiteral("Verpasster Anruf mit unterdrückter Nummer")
                            : QStringLiteral("Verpasster Anruf von ") + caller;
}

CallListWindow *CallSession::callListWindow() const
{
    return m_window;
}

CallStore &CallSession::store()
{
    if (!m_store) {
        m_store = new CallStore(m_callListPath, this);
        connect(m_store, &CallStore::problem, this, [this](const QString &message) {
            MessageBoxes::notify(m_dialogParent, MessageIcon::Warning, message);
        });
    }
    return *m_store;
}

CallNotifier &CallSession::notifier()
{
    if (!m_notifier) {
        m_notifier = new CallNotifier(m_fallback, this);
        connect(m_notifier, &CallNotifier::actionInvoked, this, &CallSession::actionInvoked);
    }
    return *m_notifier;
}

void CallSession::startMonitor()
{
    if (m_monitorStarted)
        return;
    m_monitorStarted = true;
    connect(&m_book, &RegisterDocument::fritzBoxChanged, this, &CallSession::followSetting);
    followSetting();
}

void CallSession::followSetting()
{
    const FritzBoxSettings settings = m_book.fritzBox();
    if (!settings.callMonitor) {
        m_monitor->stop();
    } else if (!m_monitor->isRunning() || settings.host != m_applied.host
               || settings.monitorPort != m_applied.monitorPort) {
        m_monitor->start(settings.host, settings.monitorPort);
    }
    m_applied = settings;
}

void CallSession::recordDial(const QDateTime &time, const QString &internationalNumber, const QString &name,
                             DialDevice device)
{
    store().add({0, time, CallRecord::Kind::Dialed, internationalNumber, name, deviceName(device), 0});
}

QStringList CallSession::actionsFor(const Caller &caller) const
{
    QStringList actions{QStringLiteral("default"), QStringLiteral("Anrufliste")};
    if (caller.international.isEmpty())
        return actions;
    actions << QStringLiteral("callback") << QStringLiteral("Zurückrufen");
    if (caller.name.isEmpty())
        actions << QStringLiteral("register") << QStringLiteral("Ins Register …");
    return actions;
}

void CallSession::callUpdated(const CallUpdate &update)
{
    const IncomingCall &call = update.call;
    switch (update.kind) {
    case CallUpdate::Kind::Ringing: {
        Caller caller{++m_lastKey, call.caller, internationalFromCaller(call.caller, m_book.settings()), {}, {}};
        QString body =
            QStringLiteral("Angerufen: ") + (call.ownNumber.isEmpty() ? QStringLiteral("–") : call.ownNumber);
        if (const std::optional<NumberIndex::Match> match = m_index->find(caller.international)) {
            caller.name = match->name;
            caller.cardLine = QStringLiteral("\nKarte „%1“").arg(m_book.cardName(match->card));
            body += caller.cardLine;
        }
        m_ringing.insert(call.connection, caller);
        m_notified.insert(caller.key, caller);
        if (m_notified.size() > kRememberedNotices)
            m_notified.remove(caller.key - kRememberedNotices);
        notifier().show(caller.key, ringingSummary(caller.written, caller.name), body, actionsFor(caller), false);
        return;
    }
    case CallUpdate::Kind::Answered:
        if (const auto found = m_ringing.constFind(call.connection); found != m_ringing.cend())
            notifier().close(found->key);
        return;
    case CallUpdate::Kind::Ended: {
        const Caller caller = m_ringing.take(call.connection);
        if (caller.key == 0)
            return;
        const auto kind = call.answered ? CallRecord::Kind::Answered : CallRecord::Kind::Missed;
        store().add({0, call.time, kind, caller.international, caller.name, {}, call.seconds});
        if (!call.answered)
            notifier().show(caller.key, missedSummary(caller.written, caller.name),
                            QStringLiteral("Angerufen: ")
                                + (call.ownNumber.isEmpty() ? QStringLiteral("–") : call.ownNumber)
                                + call.time.toString(QStringLiteral(", dd.MM.yyyy 'um' HH:mm 'Uhr'")) + caller.cardLine,
                            actionsFor(caller), true);
        return;
    }
    }
}

void CallSession::actionInvoked(int key, const QString &action)
{
    if (action == QLatin1String("default")) {
        showCallList();
        return;
    }
    const auto found = m_notified.constFind(key);
    if (found == m_notified.cend() || found->international.isEmpty())
        return;
    if (action == QLatin1String("callback"))
        emit callBackRequested(found->international, found->name);
    else if (action == QLatin1String("register"))
        emit addToRegisterRequested(found->international);
}

void CallSession::showCallList()
{
    if (!m_window) {
        if (!m_model)
            m_model = new CallListModel(
                store(), [this] { return m_book.settings(); }, this);
        m_model->setNameLookup([this](const QString &number) {
            const std::optional<NumberIndex::Match> match = m_index->find(number);
            return match ? match->name : QString();
        });
        m_model->setNamedNumbers([this](const QString &folded) {
            return m_index->numbersWhere(
                [&folded](const QString &name) { return CallStore::searchFold(name).contains(folded); });
        });
        for (auto changed : {&RegisterDocument::entryInserted, &RegisterDocument::entryRemoved})
            connect(&m_book, changed, m_model, &CallListModel::namesChanged);
        connect(&m_book, &RegisterDocument::cardReset, m_model, &CallListModel::namesChanged);
        connect(&m_book, &RegisterDocument::registerReset, m_model, &CallListModel::namesChanged);
        m_model->reload();
        m_window = new CallListWindow(*m_model);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &CallListWindow::callBackRequested, this, &CallSession::callBackRequested);
        connect(m_window, &CallListWindow::addToRegisterRequested, this, &CallSession::addToRegisterRequested);
        connect(m_window, &CallListWindow::removeRequested, this, [this](qint64 id) { store().remove(id); });
        connect(m_window, &CallListWindow::clearRequested, this, [this] { store().clear(); });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace quirlanto
