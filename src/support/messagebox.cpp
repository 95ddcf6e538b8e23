#include "support/messagebox.h"

#include "support/safefilewriter.h"
#include "support/version.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace quirlanto {

namespace {
QList<QMessageBox::StandardButton> g_answers;
bool g_autoAnswer = false;
std::function<void()> g_beforeEachMessage;
QList<MessageBoxes::Shown> g_shown;

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
// Frame, default button and German button texts.
void prepare(QMessageBox &box, QMessageBox::StandardButton defaultButton)
{
    fixDialogFrame(&box);
    box.setDefaultButton(defaultButton);
    const std::pair<QMessageBox::StandardButton, const char *> german[] = {{QMessageBox::Ok, "&OK"},
                                                                           {QMessageBox::Cancel, "&Abbrechen"},
                                                                           {QMessageBox::Yes, "&Ja"},
                                                                           {QMessageBox::No, "&Nein"}};
    for (const auto &[button, label] : german) {
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf8(label));
    }
}

} // namespace

void fixDialogFrame(QWidget *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (dialog->layout())
        dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QMessageBox::StandardButton MessageBoxes::show(QWidget *parent, MessageIcon icon, const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return showTitled(parent, QString::fromLatin1(kProductName), icon, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBoxes::showTitled(QWidget *parent, const QString &title, MessageIcon icon,
                                                     const QString &text, QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    if (g_beforeEachMessage)
        g_beforeEachMessage();
    g_shown.append({icon, text, title});
    if (!g_answers.isEmpty())
        return g_answers.takeFirst();
    if (g_autoAnswer)
        return defaultButton;

    QMessageBox box(qtIcon(icon), title, text, buttons, parent);
    prepare(box, defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

void MessageBoxes::notify(QWidget *parent, MessageIcon icon, const QString &text)
{
    if (g_beforeEachMessage)
        g_beforeEachMessage();
    g_shown.append({icon, text, QString::fromLatin1(kProductName)});
    if (!g_answers.isEmpty()) {
        g_answers.removeFirst();
        return;
    }
    if (g_autoAnswer)
        return;
    auto *box = new QMessageBox(qtIcon(icon), QString::fromLatin1(kProductName), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    prepare(*box, QMessageBox::Ok);
    box->open();
}

void MessageBoxes::information(QWidget *parent, const QString &text)
{
    show(parent, MessageIcon::Information, text);
}

void MessageBoxes::informationWithDetails(QWidget *parent, const QString &text, const QString &details)
{
    if (g_beforeEachMessage)
        g_beforeEachMessage();
    g_shown.append({MessageIcon::Information, text + QStringLiteral("\n\n") + details});
    if (!g_answers.isEmpty()) {
        g_answers.takeFirst();
        return;
    }
    if (g_autoAnswer)
        return;

    QDialog box(parent);
    box.setObjectName(QStringLiteral("DetailsMessage"));
    box.setWindowTitle(QString::fromLatin1(kProductName));
    auto *label = new QLabel(text, &box);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto *view = new QPlainTextEdit(&box);
    view->setReadOnly(true);
    view->setPlainText(details);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    // The information icon a message box would show, at the size it would show it.
    auto *icon = new QLabel(&box);
    icon->setObjectName(QStringLiteral("messageIcon"));
    const int iconSize = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, &box).pixmap(iconSize));
    auto *textColumn = new QVBoxLayout;
    textColumn->addWidget(label);
    textColumn->addWidget(view, 1);
    auto *message = new QHBoxLayout;
    message->addWidget(icon, 0, Qt::AlignTop);
    message->addLayout(textColumn, 1);
    auto *layout = new QVBoxLayout(&box);
    layout->addLayout(message, 1);
    layout->addWidget(buttons);
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(800, 600);
    box.setMaximumSize(available * 3 / 4);
    box.resize(QSize(520, 320).boundedTo(available * 3 / 4));
    box.exec();
}

void MessageBoxes::critical(QWidget *parent, const QString &text)
{
    show(parent, MessageIcon::Critical, text);
}

bool MessageBoxes::reportWrite(QWidget *parent, const WriteResult &result)
{
    if (!result.ok)
        critical(parent, result.error);
    return result.ok;
}

bool MessageBoxes::askYesNo(QWidget *parent, const QString &text, MessageIcon icon)
{
    return show(parent, icon, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxes::askYesNoTitled(QWidget *parent, const QString &title, const QString &text)
{
    return showTitled(parent, title, MessageIcon::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

void MessageBoxes::queueAnswer(QMessageBox::StandardButton answer)
{
    g_answers.append(answer);
}

void MessageBoxes::setBeforeEachMessage(std::function<void()> hook)
{
    g_beforeEachMessage = std::move(hook);
}

void MessageBoxes::setAutoAnswer(bool on)
{
    g_autoAnswer = on;
}

const QList<MessageBoxes::Shown> &MessageBoxes::shown()
{
    return g_shown;
}

void MessageBoxes::clearShown()
{
    g_shown.clear();
    g_answers.clear();
}

} // namespace quirlanto
