#include "dial/modemlink.h"

#include "support/messagebox.h"
#include "support/settingsstore.h"

#include <QComboBox>

#include <algorithm>
#include <string>

#include <sys/ioctl.h>
#include <termios.h>

namespace quirlanto {

namespace {
constexpr qsizetype kLongestResultWord = [] {
    qsizetype longest = 0;
    for (const ModemResultWord &result : kModemResultWords)
        longest = std::max<qsizetype>(longest, std::char_traits<char>::length(result.word));
    return longest;
}();
} // namespace

QString portDevice(int comPort, const SettingsStore &store)
{
    const QString configured = store.value(QStringLiteral("Ports/COM%1").arg(comPort)).toString().trimmed();
    if (!configured.isEmpty())
        return configured;
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
}

QString portFailureText(const QString &device, QSerialPort::SerialPortError error, const QString &systemText)
{
    QString reason;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        reason = QStringLiteral("Das Gerät gibt es nicht.");
        break;
    case QSerialPort::PermissionError:
        reason = QStringLiteral("Zugriff verweigert. Nehmen Sie Ihr Benutzerkonto in die Gruppe „dialout“ auf "
                                "(sudo usermod -aG dialout $USER) und melden Sie sich neu an.");
        break;
    case QSerialPort::OpenError:
        reason = QStringLiteral("Das Gerät ist schon geöffnet.");
        break;
    default:
        reason = systemText.isEmpty() ? QStringLiteral("Das Gerät antwortet nicht.") : systemText;
        break;
    }
    return QStringLiteral("Gerät %1: %2").arg(device, reason);
}

void setPortToolTips(QComboBox *portList, const SettingsStore &store)
{
    for (int i = 0; i < portList->count(); ++i)
        portList->setItemData(i, portDevice(i + 1, store), Qt::ToolTipRole);
    portList->setToolTip(portList->currentData(Qt::ToolTipRole).toString());
}

void showPortDevicesAsToolTips(QComboBox *portList, const SettingsStore &store)
{
    setPortToolTips(portList, store);
    QObject::connect(portList, &QComboBox::currentIndexChanged, portList,
                     [portList] { portList->setToolTip(portList->currentData(Qt::ToolTipRole).toString()); });
}

ModemLink::ModemLink(const SettingsStore &ports, QObject *parent)
    : QObject(parent)
    , m_ports(ports)
{
    connect(&m_port, &QSerialPort::readyRead, this, &ModemLink::readAnswer);
    connect(&m_port, &QSerialPort::errorOccurred, this, &ModemLink::handleError);
}

ModemLink::~ModemLink()
{
    closePort(0);
}

// Closing a serial port waits in the kernel until its output has left; a modem that holds CTS
// low (switched off, cable loose) would freeze the program for half a minute. Output beyond what
// may still go out is dropped instead.
void ModemLink::closePort(int mayStillSend)
{
    if (!m_port.isOpen())
        return;
    int pending = 0;
    if (m_port.bytesToWrite() > 0 || ::ioctl(m_port.handle(), TIOCOUTQ, &pending) != 0 || pending > mayStillSend)
        m_port.clear(QSerialPort::Output);
    m_port.close();
}

bool ModemLink::dial(const QString &commandLine, int comPort)
{
    m_answer.clear();
    closePort(0);

    m_port.setPortName(portDevice(comPort, m_ports));
    m_port.setBaudRate(QSerialPort::Baud2400);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::HardwareControl);
    m_failure.clear();
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_failure = portFailureText(m_port.portName(), m_port.error(), m_port.errorString());
        return false;
    }

    const QByteArray line = commandLine.toLatin1();
    if (m_port.write(line) != line.size()) {
        m_failure = portFailureText(m_port.portName(), m_port.error(), m_port.errorString());
        closePort(0);
        return false;
    }
    // Hand the line to the driver now rather than on the next turn of the event loop.
    m_port.flush();
    return m_port.isOpen();
}

void ModemLink::abort()
{
    if (!m_port.isOpen())
        return;
    m_port.write("\r", 1);
    m_port.flush();
    closePort(1);
}

void ModemLink::readAnswer()
{
    if (!m_port.isOpen())
        return;
    const QByteArray received = m_port.readAll();
    if (received.isEmpty())
        return;
    const qsizetype previousLength = m_answer.size();
    m_answer += QString::fromLatin1(received).toUpper();

    if (m_answer.contains(QLatin1String("OK"))) {
        m_port.close();
        emit answeredOk();
    } else {
        scanResultWords(previousLength);
    }
    if (m_answer.size() > kMaxAnswerLength)
        m_answer = m_answer.right(kMaxAnswerLength);
}

// Reports the newest result word completed by the characters just received.
void ModemLink::scanResultWords(qsizetype previousLength)
{
    const qsizetype from = qMax<qsizetype>(0, previousLength - (kLongestResultWord - 1));
    qsizetype bestAt = -1;
    QString best;
    for (const ModemResultWord &result : kModemResultWords) {
        const QLatin1String w(result.word);
        qsizetype at = m_answer.lastIndexOf(w);
        if (at >= from && at + w.size() > previousLength && at > bestAt) {
            bestAt = at;
            best = w;
        }
    }
    if (bestAt >= 0)
        emit resultWordReceived(best);
}

void ModemLink::handleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // pin-out calls on a pseudo-terminal
    case QSerialPort::TimeoutError:
        return;
    default:
        break;
    }
    if (!m_port.isOpen())
        return;
    // Without this a vanished USB modem keeps the read notifier firing.
    m_port.close();
    emit deviceLost();
}

void ModemLink::showModemAnswer(QWidget *parent) const
{
    // The placeholder is only shown: a later answer must not be read after it.
    MessageBoxes::informationWithDetails(
        parent, QStringLiteral("Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:"),
        m_answer.isEmpty() ? QStringLiteral("(keine Rückmeldung)") : m_answer);
}

} // namespace quirlanto
