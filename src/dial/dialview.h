#pragma once

#include "register/phoneentry.h"

#include <QString>
#include <optional>

class QWidget;

namespace quirlanto {

// What the dialer shows, and where it finds the entry to dial.
class DialView {
public:
    virtual ~DialView() = default;
    // The selected entry on the current card; nullopt when none is selected.
    virtual std::optional<PhoneEntry> selectedEntry() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void showOptionsCard() = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace quirlanto
