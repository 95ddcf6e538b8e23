#pragma once

#include "dial/clipboardsource.h"
#include "dial/dialmode.h"
#include "options/settings.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

namespace quirlanto {

class RegisterDocument;

// The launcher's actions and a key bound by the user: dial the marked text, the clipboard, again;
// show the call list.
inline constexpr auto kMarkedSwitch = "/MARKIERUNG";
inline constexpr auto kClipboardSwitch = "/ZWISCHENABLAGE";
inline constexpr auto kRedialSwitch = "/WAHLWIEDERHOLUNG";
inline constexpr auto kCallListSwitch = "/ANRUFLISTE";

// What the arguments of a start ask of the running program: a tel: link or the marked text is
// shown and dialed only after the user said yes; either can come from any web page.
class StartArgumentHandler : public QObject {
    Q_OBJECT
public:
    explicit StartArgumentHandler(QObject *parent = nullptr);

    void setDialogParent(QWidget *parent) { m_parent = parent; }
    // The register: its own country and area code read a link, its entries name the number
    // asked about. Read at each link; must outlive this.
    void setRegister(const RegisterDocument *book) { m_book = book; }
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // While `busy` holds (a dial runs) or a modal window is open, later starts wait; resume()
    // handles them in order. The end of a modal window is noticed by itself.
    void setWaitWhile(std::function<bool()> busy) { m_busy = std::move(busy); }
    // A later start handed its arguments over: "/AUTOSTART" does nothing, a tel: link and
    // "/MARKIERUNG" are offered for dialing, "/ZWISCHENABLAGE" and "/WAHLWIEDERHOLUNG" dial as the
    // tray menu does, "/ANRUFLISTE" shows the call list, a vCard file is imported, anything else
    // shows the main window.
    void handleLaterStart(const QStringList &arguments);
    void resume();
    // This copy's own command line: only a tel: link, a vCard file and the dial switches need
    // more than the start-up.
    void handleOwnStart(const QStringList &arguments);
    // Shows the window, asks, and dials on "Ja". False when nothing was dialed.
    bool offerTelLink(const QString &uri);
    // The same for the marked text, read with the clipboard's rules; the clipboard where the
    // session has no marked text.
    bool offerMarkedNumber();

    // The vCard file an argument names ("Öffnen mit" hands a path or a file: URL), or the pipe,
    // device or folder it names in its place; empty for none.
    static QString vCardFileArgument(const QStringList &arguments);
    // A later start runs elsewhere: its file arguments must not depend on its working folder.
    static QStringList withAbsoluteFiles(const QStringList &arguments);

signals:
    void showWindowRequested();
    // The user said yes: a number in international form, to be dialed with an empty name.
    void dialNumberRequested(const QString &internationalNumber);
    // "/ZWISCHENABLAGE", "/WAHLWIEDERHOLUNG"
    void dialRequested(quirlanto::DialMode mode);
    void vCardFileRequested(const QString &path);
    // "/ANRUFLISTE": the window "Anrufliste".
    void callListRequested();

private:
    void act(const QStringList &arguments);
    // The dial switches; false for any other command line.
    bool actOnSwitch(const QString &line);
    bool askToDial(const QString &internationalNumber, const Settings &settings, const QString &note = {});
    QString question(const QString &internationalNumber, const Settings &settings) const;

    QPointer<QWidget> m_parent;
    const RegisterDocument *m_book = nullptr;
    std::function<void()> m_beep;
    bool m_asking = false;
    std::function<bool()> m_busy;
    QList<QStringList> m_waiting;
    QTimer *m_recheck = nullptr; // runs only while starts wait
    QtClipboardSource m_marked{QClipboard::Selection};
    QtClipboardSource m_clipboard;
};

} // namespace quirlanto
