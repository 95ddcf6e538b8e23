#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <array>

class QComboBox;
class QWidget;

namespace quirlanto {

class SettingsStore;

// The modem's failure words and what the window "Anwahl" tells the user about them.
struct ModemResultWord {
    const char *word;
    const char *text;
};
inline constexpr auto kModemResultWords = std::to_array<ModemResultWord>({
    {"ERROR", "Das Modem meldet einen Fehler"},
    {"NO DIALTONE", "Kein Wählton"},
    {"BUSY", "Besetzt"},
    {"NO CARRIER", "Keine Verbindung"},
    {"NO ANSWER", "Keine Antwort"},
});

// COMn is /dev/ttyS(n-1) unless the settings store names another device in "Ports/COMn".
QString portDevice(int comPort, const SettingsStore &store);

// "Gerät /dev/ttyS0: <reason>" for a port that could not be used, in German.
QString portFailureText(const QString &device, QSerialPort::SerialPortError error, const QString &systemText);

// Each item "COMn" of the port list gets its device as tooltip; so does the box for its current item.
void showPortDevicesAsToolTips(QComboBox *portList, const SettingsStore &store);
// The same once more, after a device was assigned.
void setPortToolTips(QComboBox *portList, const SettingsStore &store);

// The modem on a serial line: opens the port, sends one command line, collects the answer.
// Everything runs on the GUI thread through the port's signals; nothing here blocks.
class ModemLink : public QObject {
    Q_OBJECT
public:
    // A noisy line must not grow the answer without limit; the newest characters are kept.
    static constexpr qsizetype kMaxAnswerLength = 4096;

    explicit ModemLink(const SettingsStore &ports, QObject *parent = nullptr);
    ~ModemLink() override;

    // Clears the answer, (re)opens COMn at 2400 8N1 with RTS/CTS and sends the line in one write.
    // False when the port cannot be opened or written; the port is closed then.
    bool dial(const QString &commandLine, int comPort);
    // One carriage return stops a modem that is still dialing; then the port is closed.
    void abort();
    bool isOpen() const { return m_port.isOpen(); }
    // Why the last dial could not use its port (portFailureText), "" when it could.
    const QString &failure() const { return m_failure; }

    // The answer of the last dial in a message box; "(keine Rückmeldung)" when there was none.
    void showModemAnswer(QWidget *parent) const;

signals:
    // "OK" arrived; the port is closed already.
    void answeredOk();
    // A result word other than OK arrived (ERROR, NO DIALTONE, BUSY, NO CARRIER, NO ANSWER).
    void resultWordReceived(const QString &word);
    // The device went away or failed during the dial; the port is closed already.
    void deviceLost();

private:
    void readAnswer();
    void handleError(QSerialPort::SerialPortError error);
    void scanResultWords(qsizetype previousLength);
    void closePort(int mayStillSend);

    const SettingsStore &m_ports;
    QSerialPort m_port;
    QString m_answer;
    QString m_failure;
};

} // namespace quirlanto
