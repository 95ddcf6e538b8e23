#pragma once

#include <QFunctionPointer>
#include <QList>
#include <QString>

#include <initializer_list>

namespace quirlanto {

// A module's size and SHA-256 (lower-case hex) as linked (see builtmodules.h).
struct ModuleFingerprint {
    qint64 size = 0;
    const char *sha256Hex = "";
};

struct ModuleLoad {
    // The symbols' addresses in the order asked; empty unless all were found.
    QList<QFunctionPointer> functions;
    // The file is not the module as linked (an interrupted copy, a disk fault): it was not loaded.
    bool damaged = false;
    // Why not: for a damaged file a German message for the user, otherwise the system loader's.
    QString problem;
};

// Loads the module at `path` and resolves `symbols`, unless its bytes differ from those linked:
// the system loader may kill the program on a cut-short file instead of failing. A missing file
// is left to the loader to report. Each path is checked once per run.
ModuleLoad loadModule(const QString &path, const ModuleFingerprint &linked,
                      std::initializer_list<const char *> symbols);

} // namespace quirlanto
