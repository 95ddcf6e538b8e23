// A tray icon that keeps what it was given; the test says whether a tray is there.
#pragma once

#include "app/traycontroller.h"

#include <QIcon>
#include <QStringList>

namespace quirlanto::test {

class FakeTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    void setIcon(const QIcon &i) override;
    void setToolTip(const QString &text) override;
    void show() override;
    void hide() override;
    bool isAvailable() const override;
    void showMessage(const QString &title, const QString &body) override { messages.append(title + u'\n' + body); }

    QIcon icon;
    QString toolTip;
    bool shown = false;
    bool available = true;
    QStringList messages;
};

} // namespace quirlanto::test
