#include "about/aboutwindow.h"

#include "support/helplinks.h"
#include "support/programlogo.h"
#include "support/version.h"
#include "support/windowplacement.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

constexpr auto kDescription = "Macht das Telefonieren leichter.";
constexpr int kSmallScreenWidth = 640;
constexpr int kSmallScreenHeight = 480;

QPointer<AboutWindow> &theWindow()
{
    static QPointer<AboutWindow> window;
    return window;
}

} // namespace

QString AboutWindow::labelText()
{
    QString firstLine = QString::fromLatin1(kProductName) + bracketedVersionText() + QStringLiteral(" –");
    firstLine += QLatin1Char(' ') + QString::fromUtf8(kDescription);
    return firstLine + QStringLiteral("\n\n")
           + QStringLiteral("Quirlanto gehört zu einer Reihe kleiner Helfer für den Alltag am PC, "
                            "die MOLTARA Software mit viel Sorgfalt entwickelt: Jedes Programm nimmt Ihnen "
                            "eine lästige Kleinigkeit ab und bleibt dabei so einfach wie möglich. "
                            "Welche Helfer es außerdem gibt, erfahren Sie auf unseren Internetseiten – "
                            "ein Klick auf „MOLTARA besuchen“ bringt Sie direkt dorthin.");
}

AboutWindow::AboutWindow(UrlOpener &opener, QWidget *parent)
    : QDialog(parent)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("aboutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(kProductName) + QStringLiteral(" - Info"));

    QLabel *logo = makerLogoLabel(programLogo(64, devicePixelRatioF()), m_opener, this);
    logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *label = new QLabel(labelText(), this);
    label->setObjectName(QStringLiteral("descriptionLabel"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    label->setFixedWidth(label->fontMetrics().averageCharWidth() * 52);
    label->setMinimumHeight(label->heightForWidth(label->width()));

    auto *visit = new QPushButton(QStringLiteral("MOLTARA besuchen"), this);
    visit->setObjectName(QStringLiteral("visitMakerButton"));
    visit->setToolTip(QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ")
                      + QString::fromLatin1(kMakerWebAddress));
    connect(visit, &QPushButton::clicked, this, [this] { openMakerWebPage(m_opener, this); });

    auto *closeButton = new QPushButton(QStringLiteral("&Schliessen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setToolTip(QStringLiteral("... bringt Sie zurück zum Programm"));
    closeButton->setDefault(true);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addWidget(label, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(visit);
    buttons->addWidget(closeButton);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->setSpacing(16);
    outer->addLayout(top);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(closeButton, visit);
    closeButton->setFocus();
}

void AboutWindow::placeOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    winId(); // lets the platform report the frame before the first show
    move(positionOn(screen->geometry(), frameGeometry().size()));
}

QPoint AboutWindow::positionOn(const QRect &screenArea, const QSize &frame)
{
    if (screenArea.width() <= kSmallScreenWidth || screenArea.height() <= kSmallScreenHeight)
        return screenArea.topLeft();
    return centredPosition(screenArea, frame);
}

AboutWindow *showAboutWindow(QWidget *parent, UrlOpener &opener)
{
    QPointer<AboutWindow> &window = theWindow();
    if (!window) {
        window = new AboutWindow(opener, parent);
        window->adjustSize();
        window->placeOnScreen();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace quirlanto
