#include "app/bottomrow.h"

#include "about/aboutwindow.h"
#include "support/helplinks.h"
#include "support/programlogo.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace quirlanto {

BottomRow::BottomRow(QWidget *owner, UrlOpener &urlOpener)
    : QObject(owner)
    , m_layout(new QHBoxLayout)
{
    auto button = [this, owner](const char *name, const QString &caption, const QString &tip, auto slot) {
        auto *b = new QPushButton(caption, owner);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        m_layout->addWidget(b);
        m_controls.push_back(b);
    };
    button("dialClipboardButton", QStringLiteral("&Wähle Nr. in Zwischenablage"),
           QStringLiteral("Wählt die Telefonnummer, die als Text in der Zwischenablage steht"),
           &BottomRow::dialClipboardClicked);
    button("callListButton", QStringLiteral("An&rufliste"),
           QStringLiteral("Zeigt die gewählten und eingegangenen Anrufe"), &BottomRow::callListClicked);
    // Same as the close box: minimised instead where no tray could bring the window back.
    button("hideButton", QStringLiteral("&Ausblenden"),
           QStringLiteral("Blendet das Fenster aus; das Programm läuft weiter"), &BottomRow::hideClicked);
    button("infoButton", QStringLiteral("&Info"), QString(),
           [owner, &urlOpener] { showAboutWindow(owner, urlOpener); });
    button("helpButton", QStringLiteral("&Hilfe"), QString(),
           [owner, &urlOpener] { openHelp(urlOpener, QString(), false, owner); });
    button("endButton", QStringLiteral("&Ende"), QStringLiteral("Beendet das Programm"), &BottomRow::endClicked);

    m_autostart = new QCheckBox(QStringLiteral("Auto&start"), owner);
    m_autostart->setObjectName(QStringLiteral("autostartCheckBox"));
    m_autostart->setToolTip(QStringLiteral("Quirlanto bei der Anmeldung ausgeblendet starten"));
    m_layout->addSpacing(8);
    m_layout->addWidget(m_autostart);
    m_controls.push_back(m_autostart);
    m_layout->addStretch();
    m_layout->addWidget(makerLogoLabel(programLogo(40, owner->devicePixelRatioF()), urlOpener, owner));
}

} // namespace quirlanto
