#pragma once

#include "options/settings.h"
#include "register/phoneentry.h"

#include <QString>
#include <optional>

class QWidget;

namespace quirlanto {

class ProviderTable;

// What the dial command needs from the main window.
class DialHost {
public:
    virtual ~DialHost() = default;
    // The selected entry on the current card; nullopt when none is selected.
    virtual std::optional<PhoneEntry> selectedEntry() const = 0;
    virtual const Settings &settings() const = 0;
    virtual const ProviderTable &providerTable() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void showOptionsCard() = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace quirlanto
