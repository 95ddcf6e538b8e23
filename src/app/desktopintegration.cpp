#include "app/desktopintegration.h"

#include "app/firstpaintprobe.h"
#include "app/mainwindow.h"
#include "app/singleinstance.h"
#include "app/startargumenthandler.h"
#include "app/startup.h"
#include "app/traycontroller.h"
#include "numbers/tellink.h"
#include "support/messagebox.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

namespace quirlanto {

DesktopIntegration::DesktopIntegration(const QStringList &arguments, QObject *parent)
    : QObject(parent)
    , m_arguments(arguments)
    , m_startArguments(new StartArgumentHandler(this))
{
    // A message before the first paint (a new register file, a tel: question) has the icon too.
    MessageBoxes::setBeforeEachMessage(giveProgramIcon);
}

DesktopIntegration::~DesktopIntegration() = default;

namespace {

// The PNGs are the SVG rendered at their sizes, pixel for pixel. Reading one of them is much
// cheaper than loading the SVG renderer, so the SVG is only loaded for other sizes and modes.
class ApplicationIconEngine final : public QIconEngine {
public:
    QIconEngine *clone() const override { return new ApplicationIconEngine(*this); }
    // Like the SVG's: none, so window systems pick their own sizes.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return prerendered(size, mode, state) ? size : scalable().actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (prerendered(size, mode, state)) {
            // Asking every image plugin whether it wants the file would load them all.
            QImageReader reader(QStringLiteral(":/icons/quirlanto-%1.png").arg(size.width()), "png");
            reader.setAutoDetectImageFormat(false);
            const QImage image = reader.read();
            if (!image.isNull())
                return QPixmap::fromImage(image);
        }
        return scalable().pixmap(size, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        scalable().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    static bool prerendered(const QSize &size, QIcon::Mode mode, QIcon::State state)
    {
        // Other modes get the style's treatment from the SVG engine.
        if (mode != QIcon::Normal || state != QIcon::Off || size.width() != size.height())
            return false;
        const int sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
        return std::find(std::begin(sizes), std::end(sizes), size.width()) != std::end(sizes);
    }

    QIcon &scalable()
    {
        if (m_scalable.isNull())
            m_scalable = QIcon(QStringLiteral(":/icons/quirlanto.svg"));
        return m_scalable;
    }

    QIcon m_scalable;
};

} // namespace

QIcon DesktopIntegration::applicationIcon()
{
    return QIcon(new ApplicationIconEngine);
}

QIcon DesktopIntegration::giveProgramIcon()
{
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(applicationIcon());
    return QApplication::windowIcon();
}

bool DesktopIntegration::claimSingleInstance()
{
    m_instance = new SingleInstance(QString(), this);
    switch (m_instance->start(m_arguments)) {
    case SingleInstance::Start::Primary:
        connect(m_instance, &SingleInstance::argumentsReceived, m_startArguments,
                &StartArgumentHandler::handleLaterStart);
        return true;
    case SingleInstance::Start::HandedOver:
        m_exitCode = 0;
        return false;
    case SingleInstance::Start::NoAnswer:
        MessageBoxes::critical(nullptr, m_instance->errorString());
        m_exitCode = 1;
        return false;
    case SingleInstance::Start::TooLong:
        MessageBoxes::information(nullptr, isTelLink(commandLine(m_arguments)) ? telLinkTooLongMessage()
                                                                               : m_instance->errorString());
        m_exitCode = 1;
        return false;
    case SingleInstance::Start::Failed:
        // Without the socket later starts cannot be handed over; running is still better
        // than not starting at all.
        qWarning("quirlanto: %s", qPrintable(m_instance->errorString()));
        return true;
    }
    return true;
}

void DesktopIntegration::attach(MainWindow &window, TrayIcon *icon)
{
    m_window = &window;
    if (!icon)
        icon = new SystemTrayIcon(this);
    m_tray = new TrayController(icon, &window, this);
    m_startArguments->setDialogParent(&window);
}

void DesktopIntegration::afterStart()
{
    if (m_tray) {
        // A hidden start has nothing but the icon; a shown window is painted before the icon is set
        // up. The program's icon (the window's too) comes then as well: handing it to the window
        // system means decoding it in several sizes, which would delay the first paint.
        const auto install = [tray = m_tray] { tray->install(giveProgramIcon()); };
        if (!m_window || m_window->startedHidden())
            install();
        else
            new AfterFirstPaint(m_window, m_tray, install, 500); // a paint may never come
    }
    if (m_window && m_window->startedHidden() && !m_window->isVisible() && !m_tray->trayAvailable()) {
        // An X11 window manager iconifies only a window on screen; one minimised before it is
        // mapped comes up normal. So: on screen first, minimised once painted.
        m_window->show();
        new AfterFirstPaint(m_window, m_window, [window = m_window] {
            if (window)
                window->showMinimized();
        }, 500);
    }
    // Once the event loop runs, so the window is on screen behind the question.
    QTimer::singleShot(0, m_startArguments, [this] { m_startArguments->handleOwnStart(m_arguments); });
}

void DesktopIntegration::showNotice(const QString &summary, const QString &body)
{
    if (m_tray && m_tray->trayAvailable())
        m_tray->showMessage(summary, body);
    else if (m_window)
        m_window->setStatusText(summary);
}

} // namespace quirlanto
