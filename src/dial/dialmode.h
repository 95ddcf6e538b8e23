#pragma once

#include <QObject>

namespace quirlanto {
// The namespace's one meta-object: a second Q_NAMESPACE for quirlanto would clash with it.
Q_NAMESPACE

// Which number a dial request means. Known to Qt by name: it travels in signals.
enum class DialMode { SelectedEntry = 0, Clipboard = 1, Redial = 2 };
Q_ENUM_NS(DialMode)

} // namespace quirlanto
