// What a dial needs around it, for tests and benchmarks: a register document in a folder of its
// own, and a view that records what the dialer shows.
#pragma once

#include "dial/dialview.h"
#include "register/registerdocument.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

namespace quirlanto::test {

class FakeDialView final : public DialView {
public:
    std::optional<PhoneEntry> selectedEntry() const override { return selected; }
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void showOptionsCard() override { ++optionsCardShown; }
    QWidget *dialogParent() override { return &parent; }

    std::optional<PhoneEntry> selected;
    QStringList statusTexts;
    int optionsCardShown = 0;
    QWidget parent;
};

// A document with the default settings (own country 49, area 89) over a fresh folder.
struct DialDocument {
    QTemporaryDir folder;
    RegisterDocument book{DataPaths::inDirectory(folder.path() + QLatin1Char('/'))};

    DialDocument() { book.loadRegister(); }
    // Changes the settings as the options card would.
    void set(const std::function<void(Settings &)> &change)
    {
        Settings s = book.settings();
        change(s);
        book.setOptions(s, book.cardNames());
    }
};

} // namespace quirlanto::test
