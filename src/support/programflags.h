#pragma once

namespace quirlanto {

// True while loadFiles runs, so controls set from stored values do not save again.
inline bool loading = false;
// True while one of the program's modal windows is open.
inline bool modalBusy = false;

// Sets modalBusy for the lifetime of a modal window and puts back what was there before,
// so nested windows do not clear it early.
class ModalBusyScope {
public:
    ModalBusyScope()
        : m_previous(modalBusy)
    {
        modalBusy = true;
    }
    ~ModalBusyScope() { modalBusy = m_previous; }
    ModalBusyScope(const ModalBusyScope &) = delete;
    ModalBusyScope &operator=(const ModalBusyScope &) = delete;

private:
    bool m_previous;
};

} // namespace quirlanto
