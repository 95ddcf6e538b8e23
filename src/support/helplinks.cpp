#include "support/helplinks.h"

#include "support/datadirectory.h"
#include "support/desktopopen.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace quirlanto {

QString browserFailureMessage(const QString &shownAs)
{
    return QStringLiteral("Der Standard-Browser konnte nicht gestartet werden.\n\n%1\n\n"
                          "Bitte prüfen Sie, ob in Ihrer Arbeitsumgebung ein Browser als "
                          "Standardanwendung für Webseiten eingestellt ist.")
        .arg(shownAs);
}

DesktopUrlOpener::DesktopUrlOpener(const QString &program)
    : m_program(program)
{}

bool DesktopUrlOpener::openUrl(const QUrl &url, ShowMode)
{
    // xdg-open tells only by its exit code that no browser is set up: the warning comes later.
    const QString shownAs = url.isLocalFile() ? url.toLocalFile() : url.toString();
    openWithDesktop(m_program, url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded),
                    [shownAs](bool handedOver) {
                        if (!handedOver)
                            MessageBoxes::show(nullptr, MessageIcon::Warning, browserFailureMessage(shownAs));
                    });
    return true;
}

UrlOpener &desktopUrlOpener()
{
    static DesktopUrlOpener opener;
    return opener;
}

QStringList helpFileCandidates()
{
    const QString base = resourceDirectory();
    QStringList candidates;
    for (const char *folder : {"", "hilfe/"}) {
        for (const char *name : {"index", "hilfe"}) {
            for (const char *ending : {".htm", ".html"})
                candidates << base + QLatin1String(folder) + QLatin1String(name) + QLatin1String(ending);
        }
    }
    return candidates;
}

QString findHelpFile()
{
    const QStringList candidates = helpFileCandidates();
    for (const QString &candidate : candidates) {
        if (fileExists(candidate))
            return candidate;
    }
    return {};
}

namespace {

bool openTarget(UrlOpener &opener, const QUrl &url, ShowMode mode, const QString &shownAs, QWidget *parent)
{
    if (opener.openUrl(url, mode))
        return true;
    MessageBoxes::show(parent, MessageIcon::Warning, browserFailureMessage(shownAs));
    return false;
}

} // namespace

bool openHelp(UrlOpener &opener, const QString &helpFile, bool confirm, QWidget *parent)
{
    QString file = helpFile;
    if (file.isEmpty() || !fileExists(file)) {
        file = findHelpFile();
        if (file.isEmpty()) {
            MessageBoxes::information(parent,
                                      QStringLiteral("Die Online-Hilfe konnte leider nicht gefunden werden ..."));
            return false;
        }
    }
    if (!openTarget(opener, QUrl::fromLocalFile(file), ShowMode::Normal, file, parent))
        return false;
    if (confirm)
        MessageBoxes::information(parent, QStringLiteral("HTML-Hilfetext wurde an den Standard-Browser geschickt ..."));
    return true;
}

bool openMakerWebPage(UrlOpener &opener, QWidget *parent)
{
    const QString address = QString::fromLatin1(kMakerWebAddress);
    return openTarget(opener, QUrl(address), ShowMode::Maximized, address, parent);
}

namespace {

// Answers a click like a button.
class MakerLogoLabel final : public QLabel {
public:
    MakerLogoLabel(UrlOpener &opener, QWidget *parent)
        : QLabel(parent)
        , m_opener(opener)
    {}

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            openMakerWebPage(m_opener, window());
        QLabel::mouseReleaseEvent(event);
    }

private:
    UrlOpener &m_opener;
};

} // namespace

QLabel *makerLogoLabel(const QPixmap &pixmap, UrlOpener &opener, QWidget *parent)
{
    auto *logo = new MakerLogoLabel(opener, parent);
    logo->setObjectName(QStringLiteral("makerLogo"));
    logo->setPixmap(pixmap);
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(
        QStringLiteral("Klicken Sie hier, um noch mehr interessante MOLTARA-Programme kennenzulernen ..."));
    return logo;
}

} // namespace quirlanto
