#include "fritzbox/boxpassworddialog.h"

#include "support/messagebox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirlanto {

BoxPasswordDialog::BoxPasswordDialog(const FritzBoxSettings &box, bool wrongBefore,
                                     std::function<void(bool, const QString &)> answer, QWidget *parent)
    : QDialog(parent)
    , m_answer(std::move(answer))
{
    setObjectName(QStringLiteral("boxPasswordDialog"));
    setWindowTitle(QStringLiteral("FRITZ!Box-Kennwort"));

    auto *layout = new QVBoxLayout(this);
    if (wrongBefore) {
        auto *wrong = new QLabel(QStringLiteral("Das Kennwort war falsch. Bitte erneut eingeben."), this);
        wrong->setObjectName(QStringLiteral("wrongPasswordLabel"));
        QFont bold = wrong->font();
        bold.setBold(true);
        wrong->setFont(bold);
        layout->addWidget(wrong);
    }
    const QString who = box.user.isEmpty() ? box.host : box.user + QLatin1Char('@') + box.host;
    auto *intro = new QLabel(
        QStringLiteral("Kennwort für %1 an der FRITZ!Box. Es wird bis zum Programmende behalten.").arg(who), this);
    intro->setObjectName(QStringLiteral("passwordIntroLabel"));
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    intro->setMinimumWidth(fontMetrics().averageCharWidth() * 48); // a fixed-size dialog would wrap it narrow
    layout->addWidget(intro);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("boxPasswordBox"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(QStringLiteral("Kennwort für %1").arg(who));
    m_password->setMinimumWidth(fontMetrics().averageCharWidth() * 32);
    auto *label = new QLabel(QStringLiteral("&Kennwort"), this);
    label->setBuddy(m_password);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_password, 1);
    layout->addLayout(row);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(this, &QDialog::finished, this, [this](int result) { answerOnce(result == QDialog::Accepted); });
    fixDialogFrame(this);
}

void BoxPasswordDialog::answerOnce(bool given)
{
    if (auto answer = std::exchange(m_answer, nullptr))
        answer(given, given ? m_password->text() : QString());
}

BoxPasswordDialogPrompt::BoxPasswordDialogPrompt(std::function<FritzBoxSettings()> box, QWidget *fallbackParent)
    : m_box(std::move(box))
    , m_fallbackParent(fallbackParent)
{}

void BoxPasswordDialogPrompt::ask(bool wrongBefore, std::function<void(bool, const QString &)> answer)
{
    // Over what the user looks at: the set-up dialog, "Anwahl" or the main window.
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    if (!parent)
        parent = m_fallbackParent;
    auto *dialog = new BoxPasswordDialog(m_box(), wrongBefore, std::move(answer), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace quirlanto
