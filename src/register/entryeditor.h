#pragma once

#include "register/phoneentry.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quirlanto {

// "Telefonbuch": edits one entry and hands the boxes back; the caller changes the register.
class EntryEditor final : public QDialog {
    Q_OBJECT
public:
    explicit EntryEditor(QWidget *parent = nullptr);

    void setEntry(const PhoneEntry &entry);
    // The boxes as typed (not trimmed) and the zero flag.
    PhoneEntry entry() const;

    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *numberBox() const { return m_number; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_name;
    QLineEdit *m_number;
    QCheckBox *m_zeroFlag;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace quirlanto
