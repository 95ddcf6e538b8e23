#pragma once

#include "fritzbox/fritzboxlink.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quirlanto {

// "FRITZ!Box": address, user, password and the phone that rings, with the phone list and
// "Verbindung prüfen" asked of the router itself. Hands its values back; the owner stores them.
class FritzBoxDialog final : public QDialog {
    Q_OBJECT
public:
    // `programDirectory` as for FritzBoxLink.
    FritzBoxDialog(const FritzBoxSettings &settings, const QString &password, const QString &programDirectory = {},
                   QWidget *parent = nullptr);

    BoxAccess values() const;
    // A password found after the dialog opened fills the field, unless the user has typed one.
    void offerPassword(const QString &password);
    // The phone list or the check is running.
    bool isBusy() const { return m_busy; }

signals:
    // The phone list or the check has ended.
    void idle();

private:
    void fetchPhones();
    void showPhones(const QStringList &phones, const BoxProblem &problem);
    void runCheck();
    void addResult(const QString &text, bool ok);
    void setBusy(bool busy);

    FritzBoxSettings m_settings;
    FritzBoxLink *m_link;
    QLineEdit *m_host;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QComboBox *m_phone;
    QPushButton *m_fetch;
    QCheckBox *m_callMonitor;
    QPushButton *m_check;
    QListWidget *m_results;
    QDialogButtonBox *m_buttons;
    bool m_busy = false;
    bool m_passwordTyped = false;
};

} // namespace quirlanto
