#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace quirlanto {

class UrlOpener;

// "Quirlanto - Info": name, version and purpose, and the way to the maker's web site.
// Shown without modality; deletes itself when closed.
class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(UrlOpener &opener, QWidget *parent = nullptr);

    // The text of the label: first line, blank line, the paragraph about the maker.
    static QString labelText();
    // Top-left on screens of 640 x 480 pixels or less, centred otherwise.
    void placeOnScreen();
    static QPoint positionOn(const QRect &screenArea, const QSize &frame);

private:
    UrlOpener &m_opener;
};

// Shows the one About window, building it only when none is open; returns it.
AboutWindow *showAboutWindow(QWidget *parent, UrlOpener &opener);

} // namespace quirlanto
