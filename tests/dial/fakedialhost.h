// The dial command's view of the window, for tests and benchmarks: what is selected and which
// settings hold are set directly; status texts and trips to the options card are recorded.
#pragma once

#include "dial/dialhost.h"
#include "providers/providertable.h"

#include <QStringList>

namespace quirlanto::test {

class FakeDialHost final : public DialHost {
public:
    std::optional<PhoneEntry> selectedEntry() const override { return selected; }
    const Settings &settings() const override { return options; }
    const ProviderTable &providerTable() const override { return providers; }
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void showOptionsCard() override { ++optionsCardShown; }
    QWidget *dialogParent() override { return nullptr; }

    std::optional<PhoneEntry> selected;
    Settings options;
    ProviderTable providers;
    QStringList statusTexts;
    int optionsCardShown = 0;
};

} // namespace quirlanto::test
