#pragma once

#include <QString>

namespace quirlanto {

// Qt's own texts (context menus of text boxes, standard buttons and dialogs) in German, from
// Qt's translations folder (Debian: qt6-translations-l10n). Without them the texts stay English
// and the program runs all the same. False when nothing could be loaded.
bool installGermanQtTexts(const QString &translationsFolder = {});

} // namespace quirlanto
