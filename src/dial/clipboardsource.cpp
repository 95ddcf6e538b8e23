#include "dial/clipboardsource.h"

#include <QGuiApplication>
#include <QMimeData>

namespace quirlanto {

bool QtClipboardSource::hasText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(m_mode);
    return data && data->hasText();
}

QString QtClipboardSource::text() const
{
    return QGuiApplication::clipboard()->text(m_mode);
}

bool QtClipboardSource::isOffered() const
{
    switch (m_mode) {
    case QClipboard::Clipboard:
        return true;
    case QClipboard::Selection:
        return QGuiApplication::clipboard()->supportsSelection();
    case QClipboard::FindBuffer:
        return QGuiApplication::clipboard()->supportsFindBuffer();
    }
    return false;
}

} // namespace quirlanto
