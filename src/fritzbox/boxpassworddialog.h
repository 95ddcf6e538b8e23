#pragma once

#include "fritzbox/fritzboxlink.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;

namespace quirlanto {

// "FRITZ!Box-Kennwort": the password of the router's user, when no keyring has it.
class BoxPasswordDialog final : public QDialog {
    Q_OBJECT
public:
    // `answer` runs once, when the dialog is closed in any way; `given` false when cancelled.
    BoxPasswordDialog(const FritzBoxSettings &box, bool wrongBefore,
                      std::function<void(bool given, const QString &password)> answer, QWidget *parent = nullptr);

private:
    void answerOnce(bool given);

    QLineEdit *m_password;
    std::function<void(bool, const QString &)> m_answer;
};

// Asks with BoxPasswordDialog over the window the user works in, for the router the
// settings name at the time of asking.
class BoxPasswordDialogPrompt final : public BoxPasswordPrompt {
public:
    // `fallbackParent` when no window of the program is active.
    BoxPasswordDialogPrompt(std::function<FritzBoxSettings()> box, QWidget *fallbackParent);
    void ask(bool wrongBefore, std::function<void(bool given, const QString &password)> answer) override;

private:
    std::function<FritzBoxSettings()> m_box;
    QPointer<QWidget> m_fallbackParent;
};

} // namespace quirlanto
