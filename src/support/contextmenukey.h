#pragma once

class QCoreApplication;

namespace quirlanto {

// Shift+F10 opens the context menu of the focused control, as the Menu key does: keyboards
// without a Menu key have it, and screen reader users expect it.
void installContextMenuKey(QCoreApplication *application);

} // namespace quirlanto
