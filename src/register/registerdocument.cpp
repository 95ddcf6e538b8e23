#include "register/registerdocument.h"

#include "register/nameorder.h"
#include "support/safefilereader.h"
#include "support/safefilewriter.h"
#include "support/settingsstore.h"
#include "support/textfields.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>

namespace quirlanto {

namespace {

// The lists show whole point sizes within the slider's range; that size is what gets stored.
double listFontSize(double pointSize)
{
    const double rounded = std::isfinite(pointSize) ? std::nearbyint(pointSize) : 12.0;
    return std::clamp(rounded, double(kMinEntryFontSize), double(kMaxEntryFontSize));
}

// What the file will hold, so that memory equals the file from the start.
void normalise(Settings &settings)
{
    if (settings.dialDevice != DialDevice::Loudspeaker)
        settings.dialDevice = DialDevice::Modem;
    settings.entryFontSize = listFontSize(settings.entryFontSize);
    quotesToApostrophes(settings.outsideLinePrefix);
    quotesToApostrophes(settings.internationalPrefix);
    quotesToApostrophes(settings.extraModemCommands);
    quotesToApostrophes(settings.handoverNumber);
}

const QString kDialDeviceKey = QStringLiteral("Dial/Device");
const QString kPhoneProgramChoice = QStringLiteral("phone-program");
const QString kFritzBoxChoice = QStringLiteral("fritzbox");
const QString kPhoneProgramKey = QStringLiteral("Dial/PhoneProgram");

} // namespace

RegisterDocument::RegisterDocument(const DataPaths &paths, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
{}

LoadRegisterOutcome RegisterDocument::loadRegister()
{
    // One running copy per user: a temporary file beside ours is a leftover of an interrupted save.
    removeWriteLeftovers(m_paths.registerPath);
    removeWriteLeftovers(m_paths.providerPath);
    LoadRegisterOutcome outcome;
    RegisterContents contents;
    struct stat info {};
    if (::lstat(QFile::encodeName(m_paths.registerPath).constData(), &info) != 0 && errno == ENOENT) {
        outcome.kind = LoadRegisterOutcome::Kind::CreatedNew;
        outcome.writeResult = quirlanto::writeRegister(contents, m_paths);
    } else {
        const DataFileRead file = readDataFile(m_paths.registerPath);
        if (!file.ok) {
            outcome.kind = LoadRegisterOutcome::Kind::Unreadable;
            outcome.problem = file.error;
            return outcome;
        }
        ReadRegisterResult read = readRegisterFile(file.bytes);
        if (!read.compatible) {
            outcome.kind = LoadRegisterOutcome::Kind::Incompatible;
            return outcome;
        }
        contents = std::move(read.contents);
        if (!read.problem.isEmpty()) {
            // What the next save would drop stays in a copy no save replaces.
            outcome.kind = LoadRegisterOutcome::Kind::LoadedDamaged;
            outcome.problem = std::move(read.problem);
            outcome.preservedCopy =
                preserveDamagedCopy(m_paths.registerPath, file.bytes, file.permissions, &outcome.copyError);
        }
    }
    for (RegisterCard &card : contents.cards) {
        if (card.entries.size() > 1) // the collator is not loaded for nothing
            NameOrder::german().sort(card.entries);
    }
    m_contents = std::move(contents);
    normalise(m_contents.settings);
    clearUndo();
    emit registerReset();
    emit cardNamesChanged();
    emit settingsChanged();
    return outcome;
}

LoadProviderResult RegisterDocument::loadProviders()
{
    emit providersAboutToBeReset();
    // Anything in the file's place is looked at, so that a pipe or a device is reported too.
    const LoadProviderResult result = loadProviderFile(m_paths.providerPath, m_providers);
    emit providersReset();
    return result;
}

void RegisterDocument::setProviders(const ProviderTable &table)
{
    emit providersAboutToBeReset();
    m_providers = table;
    emit providersReset();
}

CardNames RegisterDocument::cardNames() const
{
    CardNames names;
    for (int card = 0; card < kCardCount; ++card)
        names[card] = m_contents.cards[card].cardName;
    return names;
}

WriteResult RegisterDocument::writeRegister()
{
    return quirlanto::writeRegister(m_contents, m_paths);
}

int RegisterDocument::insertEntry(int card, const PhoneEntry &entry, int preferredRow)
{
    QList<PhoneEntry> &entries = m_contents.cards[card].entries;
    const auto [first, last] = NameOrder::german().equalRange(entries, entry.name);
    const int row = int(preferredRow >= first && preferredRow <= last ? preferredRow : last);
    emit entryAboutToBeInserted(card, row);
    entries.insert(row, entry);
    emit entryInserted(card, row);
    return row;
}

int RegisterDocument::findEntry(int card, const PhoneEntry &entry) const
{
    const QList<PhoneEntry> &list = entries(card);
    const auto [first, last] = NameOrder::german().equalRange(list, entry.name);
    for (qsizetype row = first; row < last; ++row)
        if (list[row] == entry)
            return int(row);
    return int(list.indexOf(entry));
}

void RegisterDocument::eraseEntry(int card, int row)
{
    emit entryAboutToBeRemoved(card, row);
    m_contents.cards[card].entries.removeAt(row);
    emit entryRemoved(card, row);
}

void RegisterDocument::replaceEntries(int card, QList<PhoneEntry> entries)
{
    emit cardAboutToBeReset(card);
    m_contents.cards[card].entries = std::move(entries);
    emit cardReset(card);
}

void RegisterDocument::pushUndo(UndoStep step)
{
    m_undo.push_back(std::move(step));
    if (m_undo.size() > size_t(kUndoSteps))
        m_undo.erase(m_undo.begin());
    if (m_undo.size() == 1)
        emit undoAvailableChanged(true);
}

void RegisterDocument::clearUndo()
{
    if (m_undo.empty())
        return;
    m_undo.clear();
    emit undoAvailableChanged(false);
}

RegisterDocument::EntryChange RegisterDocument::storeEntry(int card, std::optional<int> replacedRow,
                                                           const PhoneEntry &edited)
{
    EntryChange change;
    if (!isCardIndex(card))
        return change;
    UndoStep step;
    step.card = card;
    if (replacedRow && *replacedRow >= 0 && *replacedRow < entries(card).size()) {
        step.removed = entries(card).at(*replacedRow);
        step.removedRow = *replacedRow;
        eraseEntry(card, *replacedRow);
    }
    if (isUsableEntry(edited)) {
        step.added = makePhoneEntry(edited.name, edited.number, edited.zeroFlag);
        // An entry whose name stays keeps its place among equal names.
        change.row = insertEntry(card, *step.added, step.removedRow);
    }
    if (step.removed != step.added)
        pushUndo(std::move(step));
    change.write = writeRegister();
    return change;
}

WriteResult RegisterDocument::removeEntry(int card, int row)
{
    if (!isCardIndex(card) || row < 0 || row >= entries(card).size())
        return {};
    UndoStep step;
    step.card = card;
    step.removed = entries(card).at(row);
    step.removedRow = row;
    eraseEntry(card, row);
    pushUndo(std::move(step));
    return writeRegister();
}

QSet<QString> RegisterDocument::numbersOn(int card) const
{
    QSet<QString> numbers;
    for (const PhoneEntry &entry : entries(card))
        numbers.insert(entry.number);
    return numbers;
}

RegisterDocument::ImportResult RegisterDocument::importEntries(const QList<CardEntry> &entries)
{
    ImportResult result;
    std::array<QList<PhoneEntry>, kCardCount> added;
    std::array<std::optional<QSet<QString>>, kCardCount> numbers;
    std::array<QSet<QPair<QString, QString>>, kCardCount> taken; // name and number
    for (const CardEntry &candidate : entries) {
        const int card = candidate.card;
        const PhoneEntry stored =
            makePhoneEntry(candidate.entry.name, candidate.entry.number, candidate.entry.zeroFlag);
        if (!isCardIndex(card) || !isUsableEntry(stored)) {
            ++result.skipped;
            continue;
        }
        if (!numbers[card])
            numbers[card] = numbersOn(card);
        if (numbers[card]->contains(stored.number) || taken[card].contains({stored.name, stored.number})) {
            ++result.skipped;
            continue;
        }
        taken[card].insert({stored.name, stored.number});
        added[card].append(stored);
    }
    for (int card = 0; card < kCardCount; ++card) {
        if (this->entries(card).size() + added[card].size() > kMaxCardEntries) {
            result.refusedCard = card;
            result.skipped = 0;
            return result;
        }
    }
    UndoStep step;
    for (int card = 0; card < kCardCount; ++card) {
        if (added[card].isEmpty())
            continue;
        // Appended and sorted once: thousands of entries are not inserted one by one.
        QList<PhoneEntry> merged = this->entries(card) + added[card];
        NameOrder::german().sort(merged);
        step.cardsBefore.emplace_back(card, this->entries(card));
        replaceEntries(card, std::move(merged));
        result.importedOn[card] = int(added[card].size());
        result.imported += result.importedOn[card];
    }
    if (result.imported > 0) {
        step.card = step.cardsBefore.front().first;
        pushUndo(std::move(step));
        result.write = writeRegister();
    }
    return result;
}

RegisterDocument::Undone RegisterDocument::undo()
{
    Undone undone;
    if (m_undo.empty())
        return undone;
    UndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    if (m_undo.empty())
        emit undoAvailableChanged(false);
    undone.done = true;
    undone.card = step.card;
    for (auto &[card, before] : step.cardsBefore)
        replaceEntries(card, std::move(before));
    if (step.added) {
        const int row = findEntry(step.card, *step.added);
        if (row >= 0)
            eraseEntry(step.card, row);
    }
    if (step.removed)
        undone.row = insertEntry(step.card, *step.removed, step.removedRow);
    undone.write = writeRegister();
    return undone;
}

DialDevice RegisterDocument::dialDevice() const
{
    const QString choice = m_choiceStore ? m_choiceStore->value(kDialDeviceKey).toString() : QString();
    if (choice == kPhoneProgramChoice)
        return DialDevice::PhoneProgram;
    if (choice == kFritzBoxChoice)
        return DialDevice::FritzBox;
    return m_contents.settings.dialDevice;
}

WriteResult RegisterDocument::setDialDevice(DialDevice device)
{
    if (m_choiceStore) {
        if (device == DialDevice::PhoneProgram)
            m_choiceStore->setValue(kDialDeviceKey, kPhoneProgramChoice);
        else if (device == DialDevice::FritzBox)
            m_choiceStore->setValue(kDialDeviceKey, kFritzBoxChoice);
        else
            m_choiceStore->remove(kDialDeviceKey);
    }
    // The register file keeps "Modem" or "Lautsprecher" for other programs reading it.
    if (device == DialDevice::PhoneProgram || device == DialDevice::FritzBox
        || device == m_contents.settings.dialDevice)
        return {true, {}};
    m_contents.settings.dialDevice = device;
    return writeRegister();
}

QString RegisterDocument::phoneProgram() const
{
    return m_choiceStore ? m_choiceStore->value(kPhoneProgramKey).toString() : QString();
}

void RegisterDocument::setPhoneProgram(const QString &id)
{
    if (m_choiceStore)
        m_choiceStore->setValue(kPhoneProgramKey, id);
}

FritzBoxSettings RegisterDocument::fritzBox() const
{
    FritzBoxSettings box;
    if (!m_choiceStore)
        return box;
    box.host = m_choiceStore->value(QStringLiteral("FritzBox/Host"), box.host).toString().trimmed();
    box.user = m_choiceStore->value(QStringLiteral("FritzBox/User")).toString();
    box.phone = m_choiceStore->value(QStringLiteral("FritzBox/Phone")).toString();
    box.callMonitor = m_choiceStore->value(QStringLiteral("FritzBox/CallMonitor"), false).toBool();
    bool ok = false;
    const int port = m_choiceStore->value(QStringLiteral("FritzBox/MonitorPort"), box.monitorPort).toInt(&ok);
    if (ok && port > 0 && port < 65536)
        box.monitorPort = port;
    return box;
}

void RegisterDocument::setFritzBox(const FritzBoxSettings &box)
{
    if (!m_choiceStore)
        return;
    m_choiceStore->setValue(QStringLiteral("FritzBox/Host"), box.host.trimmed());
    m_choiceStore->setValue(QStringLiteral("FritzBox/User"), box.user);
    m_choiceStore->setValue(QStringLiteral("FritzBox/Phone"), box.phone);
    m_choiceStore->setValue(QStringLiteral("FritzBox/CallMonitor"), box.callMonitor);
    // An unusual port stays as the user wrote it; the usual one is not written.
    if (box.monitorPort != FritzBoxSettings{}.monitorPort)
        m_choiceStore->setValue(QStringLiteral("FritzBox/MonitorPort"), box.monitorPort);
    else
        m_choiceStore->remove(QStringLiteral("FritzBox/MonitorPort"));
    emit fritzBoxChanged();
}

WriteResult RegisterDocument::setOptions(const Settings &settings, const CardNames &cardNames)
{
    m_contents.settings = settings;
    normalise(m_contents.settings);
    for (int card = 0; card < kCardCount; ++card)
        m_contents.cards[card].cardName = cardNames[card];
    emit cardNamesChanged();
    emit settingsChanged();
    return writeRegister();
}

WriteResult RegisterDocument::writeProviders()
{
    return saveProviderFile(m_providers, m_paths.providerPath, m_paths.providerBackupPath);
}

void RegisterDocument::eraseProvider(int row)
{
    emit providerAboutToBeRemoved(row);
    m_providers.removeAt(row);
    emit providerRemoved(row);
}

RegisterDocument::ProviderChange RegisterDocument::storeProvider(std::optional<int> replacedRow,
                                                                 const std::optional<ProviderEntry> &entry)
{
    ProviderChange change;
    if (replacedRow && *replacedRow >= 0 && *replacedRow < m_providers.rowCount())
        eraseProvider(*replacedRow);
    if (entry) {
        // A refused row must not reset the views.
        if (m_providers.rowCount() >= ProviderTable::kMaxRows) {
            change.refused = true;
        } else {
            emit providersAboutToBeReset();
            change.row = m_providers.insertSorted(*entry);
            emit providersReset();
        }
    }
    change.write = writeProviders();
    return change;
}

WriteResult RegisterDocument::removeProvider(int row)
{
    if (row < 0 || row >= m_providers.rowCount())
        return {};
    eraseProvider(row);
    return writeProviders();
}

WriteResult RegisterDocument::setProvidersEnabled(bool enabled)
{
    m_providers.providersEnabled = enabled;
    return writeProviders();
}

void RegisterDocument::sortProviders(ProviderTable::Column column, bool ascending)
{
    // A reset is cheaper than reporting a permutation of every row.
    emit providersAboutToBeReset();
    m_providers.setSort(column, ascending);
    emit providersReset();
}

} // namespace quirlanto
