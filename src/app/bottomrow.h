#pragma once

#include <QHBoxLayout>
#include <QObject>

#include <vector>

class QCheckBox;
class QWidget;

namespace quirlanto {

class UrlOpener;

// The main window's row of buttons under the cards, "Auto&start" and the maker's logo.
// "&Info" and "&Hilfe" open their windows themselves; the rest is the window's business.
class BottomRow final : public QObject {
    Q_OBJECT
public:
    BottomRow(QWidget *owner, UrlOpener &urlOpener);

    QHBoxLayout *layout() const { return m_layout; }
    QCheckBox *autostartCheckBox() const { return m_autostart; }
    // The controls in keyboard order.
    const std::vector<QWidget *> &controls() const { return m_controls; }

signals:
    void dialClipboardClicked();
    void callListClicked();
    void hideClicked();
    void endClicked();

private:
    QHBoxLayout *m_layout;
    QCheckBox *m_autostart = nullptr;
    std::vector<QWidget *> m_controls;
};

} // namespace quirlanto
