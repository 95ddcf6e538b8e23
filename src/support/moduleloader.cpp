#include "support/moduleloader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLibrary>
#include <QMutex>

namespace quirlanto {

namespace {

bool matches(const QString &path, const ModuleFingerprint &linked)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // missing or unreadable: the loader says so
    // A cut-short copy, the usual damage, shows in the size without reading the file.
    if (file.size() != linked.size)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) && hash.result().toHex() == linked.sha256Hex;
}

bool checkedIntact(const QString &path, const ModuleFingerprint &linked)
{
    static QMutex mutex;
    static QHash<QString, bool> checked;
    const QMutexLocker lock(&mutex);
    auto found = checked.constFind(path);
    if (found == checked.cend())
        found = checked.insert(path, matches(path, linked));
    return *found;
}

} // namespace

ModuleLoad loadModule(const QString &path, const ModuleFingerprint &linked, std::initializer_list<const char *> symbols)
{
    ModuleLoad load;
    if (!checkedIntact(path, linked)) {
        load.damaged = true;
        load.problem = QStringLiteral("Der Programmteil „%1“ ist beschädigt und wird nicht geladen. "
                                      "Bitte installieren Sie Quirlanto neu.")
                           .arg(QDir::toNativeSeparators(path));
        return load;
    }
    QLibrary module(path);
    for (const char *symbol : symbols) {
        const QFunctionPointer function = module.resolve(symbol);
        if (!function) {
            load.functions.clear();
            load.problem = module.errorString();
            break;
        }
        load.functions.append(function);
    }
    return load;
}

} // namespace quirlanto
