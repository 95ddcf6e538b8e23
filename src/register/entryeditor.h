#pragma once

#include "options/settings.h"
#include "register/phoneentry.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quirlanto {

class StoredFormHint;

// "Telefonbuch": edits one entry and hands it back as it will be stored; the caller changes
// the register. Under each box a hint shows the stored form while it differs from the typed one.
class EntryEditor final : public QDialog {
    Q_OBJECT
public:
    // `settings` give the own country and area code for numbers typed in national form.
    explicit EntryEditor(const Settings &settings, QWidget *parent = nullptr);

    void setEntry(const PhoneEntry &entry);
    // The name as the file holds it, the number in international form (an unchanged number
    // stays as it was), the zero flag; not trimmed yet.
    PhoneEntry entry() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Settings m_settings;
    QLineEdit *m_name;
    QLineEdit *m_number;
    StoredFormHint *m_nameHint;
    StoredFormHint *m_numberHint;
    QCheckBox *m_zeroFlag;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace quirlanto
