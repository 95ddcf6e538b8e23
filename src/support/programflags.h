#pragma once

namespace quirlanto {

// True while loadFiles runs, so controls set from stored values do not save again.
inline bool loading = false;
// True while one of the program's modal windows is open.
inline bool modalBusy = false;

} // namespace quirlanto
