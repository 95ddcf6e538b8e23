#include "dial/clipboardsource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quirlanto {

bool QtClipboardSource::hasText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasText();
}

QString QtClipboardSource::text() const
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

} // namespace quirlanto
