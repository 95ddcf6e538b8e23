#pragma once

namespace quirlanto {

enum DialMode { SelectedEntry = 0, Clipboard = 1, Redial = 2 };

} // namespace quirlanto
