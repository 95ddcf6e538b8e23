#pragma once

namespace quirlanto {

// Which number a dial request means.
enum class DialMode { SelectedEntry = 0, Clipboard = 1, Redial = 2 };

} // namespace quirlanto
