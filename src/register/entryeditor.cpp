#include "register/entryeditor.h"

#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "support/messagebox.h"
#include "support/storedformhint.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirlanto {

EntryEditor::EntryEditor(const Settings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("entryEditor"));
    setWindowTitle(QStringLiteral("Telefonbuch"));
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("Eintrag aufnehmen/bearbeiten"), this);
    auto *nameLabel = new QLabel(QStringLiteral("Name des Teilnehmers (Nachname zuerst):"), frame);
    m_name = new QLineEdit(frame);
    m_name->setObjectName(QStringLiteral("nameBox"));
    m_name->setMaxLength(int(kMaxNameLength)); // longer would read as damage next time
    nameLabel->setBuddy(m_name);
    auto *numberLabel = new QLabel(QStringLiteral("Internationale Telefonnummer des Teilnehmers:"), frame);
    m_number = new QLineEdit(frame);
    m_number->setObjectName(QStringLiteral("numberBox"));
    m_number->setMaxLength(int(kMaxNumberLength));
    m_number->setPlaceholderText(QStringLiteral("z. B. +49 89 1234567 oder 089 1234567"));
    m_nameHint = new StoredFormHint(
        m_name, [](const QString &text) { return storedForm(text.trimmed()); }, frame);
    m_nameHint->setObjectName(QStringLiteral("nameHint"));
    m_numberHint = new StoredFormHint(
        m_number,
        [this](const QString &text) {
            return storedForm(internationalFromTyped(text, m_settings, &ForeignNumbers::shared()));
        },
        frame);
    m_numberHint->setObjectName(QStringLiteral("numberHint"));
    m_numberHint->setShownForm(
        [this](const QString &stored) { return readableNumber(stored, m_settings, &ForeignNumbers::shared()); });
    numberLabel->setBuddy(m_number);
    m_zeroFlag =
        new QCheckBox(QStringLiteral("Bei Anruf im gleichen Land der Vorwahlnummer eine Null voranstellen"), frame);
    m_zeroFlag->setObjectName(QStringLiteral("zeroFlagCheckBox"));

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(nameLabel);
    frameLayout->addWidget(m_name);
    frameLayout->addWidget(m_nameHint);
    frameLayout->addWidget(numberLabel);
    frameLayout->addWidget(m_number);
    frameLayout->addWidget(m_numberHint);
    frameLayout->addWidget(m_zeroFlag);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
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
    frame->setMinimumWidth(400);
    fixDialogFrame(this);
}

void EntryEditor::setEntry(const PhoneEntry &entry)
{
    m_name->setText(entry.name);
    m_number->setText(entry.number);
    m_numberHint->setOriginal(entry.number);
    m_zeroFlag->setChecked(entry.zeroFlag);
    m_name->setFocus();
}

PhoneEntry EntryEditor::entry() const
{
    return {m_nameHint->storedText(), m_numberHint->storedText(), m_zeroFlag->isChecked()};
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
