#include "support/contextmenukey.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

namespace quirlanto {

namespace {

class ContextMenuKey final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        // Every window the key passes through sees it: only the focused control answers.
        QWidget *focus = QApplication::focusWidget();
        if (watched != focus)
            return false;
        const QRect cursor = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint at = cursor.isValid() ? cursor.center() : focus->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at), key->modifiers());
        QApplication::sendEvent(focus, &menu);
        return true;
    }
};

} // namespace

void installContextMenuKey(QCoreApplication *application)
{
    application->installEventFilter(new ContextMenuKey(application));
}

} // namespace quirlanto
