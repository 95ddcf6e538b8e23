#include "dial/progresswindow.h"

#include "dial/modemlink.h"
#include "support/messagebox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirlanto {

QString resultWordText(const QString &word)
{
    for (const ModemResultWord &m : kModemResultWords) {
        if (word == QLatin1String(m.word))
            return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(m.text), word);
    }
    return word;
}

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent)
    , m_heading(new QLabel(QStringLiteral(" Anwahl läuft ... "), this))
    , m_name(new QLabel(this))
    , m_number(new QLabel(this))
    , m_result(new QLabel(this))
    , m_abort(new QPushButton(QStringLiteral("&Abbruch"), this))
{
    setObjectName(QStringLiteral("dialProgressWindow"));
    setWindowTitle(QStringLiteral("Anwahl"));
    setModal(true);

    m_heading->setObjectName(QStringLiteral("headingLabel"));
    m_name->setObjectName(QStringLiteral("nameLabel"));
    m_number->setObjectName(QStringLiteral("numberLabel"));
    m_result->setObjectName(QStringLiteral("resultLabel"));
    m_abort->setObjectName(QStringLiteral("abortButton"));

    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    QFont numberFont = m_number->font();
    numberFont.setPointSizeF(numberFont.pointSizeF() * 1.5);
    m_number->setFont(numberFont);
    for (QLabel *label : {m_heading, m_name, m_number, m_result}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
    }
    m_number->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setWordWrap(true);
    m_result->hide();

    m_abort->setDefault(true);
    connect(m_abort, &QPushButton::clicked, this, &ProgressWindow::abortRequested);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_name);
    layout->addWidget(m_number);
    layout->addWidget(m_result);
    layout->addSpacing(6);
    layout->addWidget(m_abort, 0, Qt::AlignHCenter);
    m_heading->setMinimumWidth(260);
    fixDialogFrame(this);
}

void ProgressWindow::setEntry(const QString &name, const QString &displayNumber)
{
    m_name->setText(name);
    m_number->setText(displayNumber);
}

void ProgressWindow::showResultWord(const QString &word)
{
    m_result->setText(resultWordText(word));
    m_result->show();
}

void ProgressWindow::finish()
{
    QDialog::done(QDialog::Accepted);
}

void ProgressWindow::reject()
{
    // Escape and the close box stop the dial like the button; the owner closes the window.
    emit abortRequested();
}

} // namespace quirlanto
