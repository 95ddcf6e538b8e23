#include "app/startargumenthandler.h"

#include "app/startup.h"
#include "dial/handoffecho.h"
#include "dial/numberpreparation.h"
#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "numbers/tellink.h"
#include "numbers/writtennumber.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace quirlanto {

namespace {

// Link text comes from anywhere: keep it short and never let it pass as markup.
QString displayable(const QString &text)
{
    constexpr qsizetype kMaxShown = 80;
    QString shown = text.size() > kMaxShown ? text.left(kMaxShown) + QChar(0x2026) : text;
    shown.replace(u'<', QChar(0x2039)).replace(u'>', QChar(0x203A));
    for (QChar &c : shown) {
        if (!c.isPrint())
            c = u' ';
    }
    return shown;
}

} // namespace

StartArgumentHandler::StartArgumentHandler(QObject *parent)
    : QObject(parent)
    , m_beep([] { QApplication::beep(); })
    , m_recheck(new QTimer(this))
{
    // No signal tells when a modal window has closed: look again a moment later.
    m_recheck->setSingleShot(true);
    m_recheck->setInterval(200);
    connect(m_recheck, &QTimer::timeout, this, &StartArgumentHandler::resume);
}

QString StartArgumentHandler::question(const QString &internationalNumber, const Settings &settings) const
{
    QString shown = readableNumber(internationalNumber, settings, &ForeignNumbers::shared());
    // A web page does not say whom the link calls; the register may know.
    for (int card = 0; m_book && card < kCardCount; ++card) {
        const QList<PhoneEntry> &entries = m_book->entries(card);
        const auto known = std::find_if(entries.cbegin(), entries.cend(), [&](const PhoneEntry &entry) {
            return filterDialChars(entry.number) == internationalNumber;
        });
        if (known != entries.cend()) {
            shown += QStringLiteral(" (%1)").arg(displayable(known->name));
            break;
        }
    }
    return QStringLiteral("Soll die Nummer %1 gewählt werden?").arg(shown);
}

QString StartArgumentHandler::vCardFileArgument(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return {};
    const QUrl url(arguments.first());
    const QString path = url.isLocalFile() ? url.toLocalFile() : arguments.first();
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.exists())
        return {};
    // A pipe, a device or a folder is never read here: the import says why it takes none.
    if (!info.isFile())
        return path;
    if (path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".vcard"), Qt::CaseInsensitive))
        return path;
    // "Öffnen mit" also hands over contacts whose file name says nothing.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray head = file.read(256);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    return head.trimmed().toUpper().startsWith("BEGIN:VCARD") ? path : QString();
}

QStringList StartArgumentHandler::withAbsoluteFiles(const QStringList &arguments)
{
    QStringList result;
    for (const QString &argument : arguments)
        result.append(QFileInfo::exists(argument) ? QFileInfo(argument).absoluteFilePath() : argument);
    return result;
}

void StartArgumentHandler::handleLaterStart(const QStringList &arguments)
{
    // A second link while the question about the first is open: refused audibly.
    const QString line = commandLine(arguments);
    if (m_asking && (isTelLink(line) || line.compare(QLatin1String(kMarkedSwitch), Qt::CaseInsensitive) == 0)) {
        m_beep();
        return;
    }
    m_waiting.append(arguments);
    resume();
}

void StartArgumentHandler::resume()
{
    // A dial resumes by its end. Under an open modal window the card or the entry it acts on
    // must not change, so nothing is handled before it has closed.
    if (m_waiting.isEmpty() || (m_busy && m_busy()))
        return;
    if (QApplication::activeModalWidget()) {
        m_recheck->start();
        return;
    }
    act(m_waiting.takeFirst());
    // The next one waits for the windows this one opens, some of them only queued.
    if (!m_waiting.isEmpty())
        m_recheck->start();
}

void StartArgumentHandler::act(const QStringList &arguments)
{
    if (isAutostartCommandLine(arguments))
        return;
    if (const QString path = vCardFileArgument(arguments); !path.isEmpty()) {
        emit showWindowRequested();
        emit vCardFileRequested(path);
        return;
    }
    const QString line = commandLine(arguments);
    if (isTelLink(line)) {
        offerTelLink(line);
        return;
    }
    if (!actOnSwitch(line))
        emit showWindowRequested();
}

bool StartArgumentHandler::actOnSwitch(const QString &line)
{
    const auto is = [&line](const char *name) { return line.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is(kMarkedSwitch))
        offerMarkedNumber();
    else if (is(kClipboardSwitch))
        emit dialRequested(DialMode::Clipboard);
    else if (is(kRedialSwitch))
        emit dialRequested(DialMode::Redial);
    else if (is(kCallListSwitch))
        emit callListRequested();
    else
        return false;
    return true;
}

void StartArgumentHandler::handleOwnStart(const QStringList &arguments)
{
    if (const QString path = vCardFileArgument(arguments); !path.isEmpty()) {
        emit vCardFileRequested(path);
        return;
    }
    const QString line = commandLine(arguments);
    if (isTelLink(line))
        offerTelLink(line);
    else
        actOnSwitch(line);
}

bool StartArgumentHandler::offerTelLink(const QString &uri)
{
    // A second link while the first question is open waits for nobody: refuse it audibly.
    if (m_asking) {
        m_beep();
        return false;
    }
    emit showWindowRequested();
    const TelLink link = parseTelLink(uri);
    switch (link.status) {
    case TelLink::Status::Ok:
        break;
    case TelLink::Status::Undialable:
        MessageBoxes::information(m_parent, QStringLiteral("Die Nummer „%1“ enthält Zeichen wie * oder #, "
                                                           "die Quirlanto nicht wählen kann.")
                                                .arg(displayable(link.numberText)));
        return false;
    case TelLink::Status::TooLong:
        MessageBoxes::information(m_parent, telLinkTooLongMessage());
        return false;
    case TelLink::Status::LocalToDomain:
        MessageBoxes::information(m_parent, displayable(telLinkLocalToDomainMessage(link)));
        return false;
    case TelLink::Status::NoNumber:
    case TelLink::Status::NotTelLink:
        MessageBoxes::information(m_parent,
                                  QStringLiteral("Der Link „%1“ enthält keine Telefonnummer.").arg(displayable(uri)));
        return false;
    }

    const Settings settings = m_book ? m_book->settings() : Settings();
    const QString number = internationalFromTelLink(link, settings, &ForeignNumbers::shared());
    // Our own hand-off coming back: asked again, every "Ja" would hand it over once more.
    if (HandOffEcho::shared().isEcho(number)) {
        MessageBoxes::show(m_parent, MessageIcon::Warning,
                           QStringLiteral("Der Link kommt von Quirlanto selbst zurück: Das eingerichtete "
                                          "Telefon-Programm ist Quirlanto. Bitte richten Sie ein anderes "
                                          "Telefon-Programm ein."));
        return false;
    }
    return askToDial(number, settings);
}

bool StartArgumentHandler::offerMarkedNumber()
{
    if (m_asking) {
        m_beep();
        return false;
    }
    emit showWindowRequested();
    // The selection is read here, in the running copy: a later start only hands the switch over.
    const bool marked = m_marked.isOffered();
    const ClipboardSource &source = marked ? static_cast<const ClipboardSource &>(m_marked) : m_clipboard;
    if (!source.hasText()) {
        // The clipboard's message would send the user to the wrong place.
        MessageBoxes::information(m_parent, marked ? QStringLiteral("Es ist kein Text markiert.")
                                                   : QStringLiteral("In der Zwischenablage befindet sich kein Text."));
        return false;
    }
    const QString text = source.text();
    if (const QString refusal = clipboardNumberRefusal(filterDialChars(text), marked); !refusal.isEmpty()) {
        MessageBoxes::information(m_parent, refusal);
        return false;
    }
    const Settings settings = m_book ? m_book->settings() : Settings();
    const QString number = internationalFromClipboard(text, settings, &ForeignNumbers::shared());
    return askToDial(number, settings,
                     marked
                         ? QString()
                         : QStringLiteral("Es gibt hier keine Markierung; die Nummer stammt aus der Zwischenablage."));
}

bool StartArgumentHandler::askToDial(const QString &internationalNumber, const Settings &settings, const QString &note)
{
    QString text = question(internationalNumber, settings);
    if (!note.isEmpty())
        text = note + u'\n' + text;
    m_asking = true;
    const bool yes = MessageBoxes::askYesNo(m_parent, text);
    m_asking = false;
    if (!yes)
        return false;
    emit dialNumberRequested(internationalNumber);
    return true;
}

} // namespace quirlanto
