// A tray icon that keeps what it was given; the test says whether a tray is there.
#pragma once

#include "app/traycontroller.h"

#include <QIcon>

namespace quirlanto::test {

class FakeTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    void setIcon(const QIcon &i) override;
    void setToolTip(const QString &text) override;
    void show() override;
    void hide() override;
    bool isAvailable() const override;

    QIcon icon;
    QString toolTip;
    bool shown = false;
    bool available = true;
};

} // namespace quirlanto::test
