#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QLabel;
class QPixmap;
class QWidget;

namespace quirlanto {

// The maker's web site; the only address the program opens.
inline constexpr auto kMakerWebAddress = "https://www.moltara.example/";

enum class ShowMode { Normal, Maximized };

// Hands a file or address to the desktop's default application; tests record the calls instead.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when the desktop could not start anything for the address.
    virtual bool openUrl(const QUrl &url, ShowMode mode) = 0;
};

// The desktop's opener (xdg-open); the desktop decides the browser window's size, so the mode is
// only a wish. When the opener ends with a failure (no browser set up), the warning comes then.
class DesktopUrlOpener final : public UrlOpener {
public:
    explicit DesktopUrlOpener(const QString &program = QStringLiteral("xdg-open"));
    bool openUrl(const QUrl &url, ShowMode mode) override;

private:
    QString m_program;
};

// "Der Standard-Browser konnte nicht gestartet werden." with the page and what to check.
QString browserFailureMessage(const QString &shownAs);

// The program-wide opener for the real program.
UrlOpener &desktopUrlOpener();

// The eight help start pages under the program folder, in the order they are tried.
QStringList helpFileCandidates();
// The first candidate that is an existing file, or "" when there is none.
QString findHelpFile();

// Opens the given help page, or the one findHelpFile() finds when it is empty or missing.
// Returns false (after telling the user) when no page exists or the browser cannot be started.
bool openHelp(UrlOpener &opener, const QString &helpFile = {}, bool confirm = false, QWidget *parent = nullptr);
// The maker's web site in a maximised browser window where the desktop allows it.
bool openMakerWebPage(UrlOpener &opener, QWidget *parent = nullptr);

// The maker's logo: its tool tip, a hand cursor, and a click opens the maker's page.
QLabel *makerLogoLabel(const QPixmap &pixmap, UrlOpener &opener, QWidget *parent);

} // namespace quirlanto
