#include "support/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quirlanto {

bool installGermanQtTexts(const QString &translationsFolder)
{
    const QString folder =
        translationsFolder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : translationsFolder;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"), folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace quirlanto
