#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace quirlanto {

struct WriteResult;

enum class MessageIcon { None, Information, Warning, Critical, Question };

// A dialog whose controls are laid out once: its size follows the layout, and the window has a
// title and a close button but no minimise or maximise button. Call after the layout is set.
void fixDialogFrame(QWidget *dialog);

// Every message of the program goes through here: title "Quirlanto", German button texts.
// Tests queue answers instead of clicking; each message is recorded either way.
class MessageBoxes {
public:
    static QMessageBox::StandardButton show(QWidget *parent, MessageIcon icon, const QString &text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::Ok);
    // The same with a caption of its own instead of "Quirlanto".
    static QMessageBox::StandardButton showTitled(QWidget *parent, const QString &title, MessageIcon icon,
                                                  const QString &text,
                                                  QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                  QMessageBox::StandardButton defaultButton = QMessageBox::Ok);
    static void information(QWidget *parent, const QString &text);
    // Shows the message without waiting for it to be read (OK only).
    static void notify(QWidget *parent, MessageIcon icon, const QString &text);
    static void critical(QWidget *parent, const QString &text);
    // The reason of a failed write, as critical(); returns whether the write succeeded.
    static bool reportWrite(QWidget *parent, const WriteResult &result);
    // An information whose `details` may be long and come from outside: they scroll in a box
    // that never outgrows the screen. Recorded as text, blank line, details.
    static void informationWithDetails(QWidget *parent, const QString &text, const QString &details);
    // Ja/Nein with Nein as default; true for Ja.
    static bool askYesNo(QWidget *parent, const QString &text, MessageIcon icon = MessageIcon::Question);
    static bool askYesNoTitled(QWidget *parent, const QString &title, const QString &text);

    // Runs before every message, answered by a test or not: the program gives itself its icon
    // here when a message comes before its window has been painted.
    static void setBeforeEachMessage(std::function<void()> hook);

    // Test seam: while answers are queued (or auto-answer is on) no box is shown.
    static void queueAnswer(QMessageBox::StandardButton answer);
    static void setAutoAnswer(bool on); // answers with the default button
    struct Shown {
        MessageIcon icon;
        QString text;
        QString title = QString::fromLatin1("Quirlanto");
    };
    static const QList<Shown> &shown();
    static void clearShown();
};

} // namespace quirlanto
