#pragma once

#include "options/settings.h"
#include "providers/providerfile.h"
#include "providers/providertable.h"
#include "register/registerformat.h"
#include "support/datapaths.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace quirlanto {

class SettingsStore;

// Outcome of loading at start-up; the windows word the messages.
struct LoadRegisterOutcome {
    enum class Kind {
        Loaded,        // read as it was
        LoadedDamaged, // read what could be used; `problem` says what, `preservedCopy` where the original is kept
        CreatedNew,    // missing file: defaults written (see writeResult), show the new-file message
        Incompatible,  // header mismatch: show the stop message and end, write nothing
        Unreadable     // exists but cannot be opened; `problem` says why, nothing written
    } kind = Kind::Loaded;
    QString problem; // German, from the reader or the file system
    QString preservedCopy;
    QString copyError;       // why there is no preservedCopy of a damaged file
    WriteResult writeResult; // of the new file, for CreatedNew
};

// The register document: settings, the four cards with their entries, the provider table and
// the files they live in. Every change writes its file at once and is announced, so windows
// only show what is here and hand changes back. Cards and provider rows are counted from 0.
class RegisterDocument : public QObject {
    Q_OBJECT
public:
    explicit RegisterDocument(const DataPaths &paths = {}, QObject *parent = nullptr);

    const DataPaths &paths() const { return m_paths; }
    void setPaths(const DataPaths &paths) { m_paths = paths; }

    // Reads the register file, or creates it with the defaults when it is missing; a damaged
    // file is read as far as it can be and its original kept in a copy. The contents are
    // replaced unless the outcome is Incompatible or Unreadable (nothing is written then).
    LoadRegisterOutcome loadRegister();
    // Reads the provider file when there is one; the table stays empty otherwise.
    LoadProviderResult loadProviders();
    // Takes over a table read or made elsewhere; nothing is written.
    void setProviders(const ProviderTable &table);

    const Settings &settings() const { return m_contents.settings; }
    const RegisterContents &contents() const { return m_contents; }
    QString cardName(int card) const { return m_contents.cards[card].cardName; }
    CardNames cardNames() const;
    const QList<PhoneEntry> &entries(int card) const { return m_contents.cards[card].entries; }
    const ProviderTable &providers() const { return m_providers; }

    // Writes the register file as it is; a failure leaves the memory as it is.
    WriteResult writeRegister();

    struct EntryChange {
        WriteResult write;
        int row = -1; // where the stored entry now stands, -1 when none was stored
    };
    // The entry editor's result: the replaced row (if any) goes, the edited entry goes to its
    // place in name order when it is usable (isUsableEntry), and the file is written either way.
    EntryChange storeEntry(int card, std::optional<int> replacedRow, const PhoneEntry &edited);
    WriteResult removeEntry(int card, int row);

    static constexpr int kMaxCardEntries = 32000;
    struct CardEntry {
        int card = 0;
        PhoneEntry entry;
    };
    struct ImportResult {
        WriteResult write;
        int imported = 0;
        std::array<int, kCardCount> importedOn{}; // by card
        int skipped = 0;                          // their number is on their card already, or they are unusable
        int refusedCard = -1;                     // it would hold more than kMaxCardEntries; nothing changed
    };
    // The numbers the card holds.
    QSet<QString> numbersOn(int card) const;
    // Adds the entries whose number their card does not hold yet, each name and number once per
    // card, and writes the file once; one step to take back, however many cards it filled.
    ImportResult importEntries(const QList<CardEntry> &entries);

    // "&Rückgängig": the entries' changes (added, changed, removed, imported) are taken back one
    // by one, the last first; settings and card names are not. Loading forgets them.
    static constexpr int kUndoSteps = 100;
    bool canUndo() const { return !m_undo.empty(); }
    struct Undone {
        bool done = false; // there was a change to take back
        WriteResult write;
        int card = -1; // where it was (the first card of an import)
        int row = -1;  // where an entry put back stands, -1 when none was
    };
    Undone undo();

    // Where the choice of the phone program is kept (it never goes into the register file).
    void setChoiceStore(SettingsStore *store) { m_choiceStore = store; }
    // "Anwahl ausführen über ...": the phone program when chosen, else the register's device.
    DialDevice dialDevice() const;
    WriteResult setDialDevice(DialDevice device);
    // The launcher id of the phone program chosen to dial through; empty when none is.
    QString phoneProgram() const;
    void setPhoneProgram(const QString &id);
    // "[FritzBox]" of the per-user settings; defaults without a store.
    FritzBoxSettings fritzBox() const;
    void setFritzBox(const FritzBoxSettings &settings);
    // What the options card hands back when it is left: settings and the four card names.
    WriteResult setOptions(const Settings &settings, const CardNames &cardNames);

    struct ProviderChange {
        WriteResult write;
        std::optional<int> row; // where the new row stands, none when none was added
        bool refused = false;   // the table was full
    };
    // The provider editor's result: the replaced row (if any) goes, `entry` (if any) is inserted
    // in sort order, and the provider file is written either way.
    ProviderChange storeProvider(std::optional<int> replacedRow, const std::optional<ProviderEntry> &entry);
    WriteResult removeProvider(int row);
    WriteResult setProvidersEnabled(bool enabled);
    // Sorting is a way of looking at the list: it is not written.
    void sortProviders(ProviderTable::Column column, bool ascending);

signals:
    // The whole register was replaced (loaded).
    void registerReset();
    // One card's list was replaced whole (an import, or taking one back).
    void cardAboutToBeReset(int card);
    void cardReset(int card);
    void entryAboutToBeInserted(int card, int row);
    void entryInserted(int card, int row);
    void entryAboutToBeRemoved(int card, int row);
    void entryRemoved(int card, int row);
    void cardNamesChanged();
    void settingsChanged();
    // "[FritzBox]" was stored anew.
    void fritzBoxChanged();
    void undoAvailableChanged(bool available);

    void providersAboutToBeReset();
    void providersReset();
    void providerAboutToBeRemoved(int row);
    void providerRemoved(int row);

private:
    // What a change did, enough to take it back.
    struct UndoStep {
        int card = -1;
        std::optional<PhoneEntry> removed; // an entry the change took out, from `removedRow`
        int removedRow = -1;
        std::optional<PhoneEntry> added;                            // an entry it put in
        std::vector<std::pair<int, QList<PhoneEntry>>> cardsBefore; // an import: the lists it replaced
    };
    void pushUndo(UndoStep step);
    void clearUndo();
    // At its place in name order; among equal names at `preferredRow` when that is one of theirs.
    int insertEntry(int card, const PhoneEntry &entry, int preferredRow = -1);
    int findEntry(int card, const PhoneEntry &entry) const;
    void eraseEntry(int card, int row);
    void replaceEntries(int card, QList<PhoneEntry> entries);
    void eraseProvider(int row);
    WriteResult writeProviders();

    DataPaths m_paths;
    SettingsStore *m_choiceStore = nullptr;
    RegisterContents m_contents;
    ProviderTable m_providers;
    std::vector<UndoStep> m_undo;
};

} // namespace quirlanto
