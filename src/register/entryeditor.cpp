#include "register/entryeditor.h"

#include "support/textlimits.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirlanto {

EntryEditor::EntryEditor(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("EntryEditor"));
    setWindowTitle(QStringLiteral("Telefonbuch"));
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("Eintrag aufnehmen/bearbeiten"), this);
    auto *nameLabel = new QLabel(QStringLiteral("Name des Teilnehmers (Nachname zuerst):"), frame);
    m_name = new QLineEdit(frame);
    m_name->setObjectName(QStringLiteral("NameBox"));
    m_name->setMaxLength(int(kMaxNameLength)); // longer would read as damage next time
    nameLabel->setBuddy(m_name);
    auto *numberLabel = new QLabel(QStringLiteral("Internationale Telefonnummer des Teilnehmers:"), frame);
    m_number = new QLineEdit(frame);
    m_number->setObjectName(QStringLiteral("NumberBox"));
    m_number->setMaxLength(int(kMaxNumberLength));
    m_number->setPlaceholderText(QStringLiteral("z. B. 49 89 1234567"));
    numberLabel->setBuddy(m_number);
    m_zeroFlag =
        new QCheckBox(QStringLiteral("Bei Anruf im gleichen Land der Vorwahlnummer eine Null voranstellen"), frame);
    m_zeroFlag->setObjectName(QStringLiteral("ZeroFlagChk"));

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(nameLabel);
    frameLayout->addWidget(m_name);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(numberLabel);
    frameLayout->addWidget(m_number);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(m_zeroFlag);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    // Enter in the boxes moves on instead of closing; only a focused button takes Enter.
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    m_name->installEventFilter(this);
    m_number->installEventFilter(this);
    setTabOrder(m_name, m_number);
    setTabOrder(m_number, m_zeroFlag);
    setTabOrder(m_zeroFlag, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_name->setFocus();
    setMinimumWidth(420);
}

void EntryEditor::setEntry(const PhoneEntry &entry)
{
    m_name->setText(entry.name);
    m_number->setText(entry.number);
    m_zeroFlag->setChecked(entry.zeroFlag != 0);
    m_name->setFocus();
}

PhoneEntry EntryEditor::entry() const
{
    return {m_name->text(), m_number->text(), m_zeroFlag->isChecked() ? 1 : 0};
}

bool EntryEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_name)
                m_number->setFocus(Qt::TabFocusReason);
            else if (watched == m_number)
                m_ok->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quirlanto
