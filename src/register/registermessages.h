#pragma once

#include "register/registerdocument.h"
#include "support/datapaths.h"

#include <QString>

class QWidget;

namespace quirlanto {

// What the windows tell about loading the register.
QString newRegisterMessage();
QString incompatibleRegisterMessage();
// The message for an outcome other than Loaded.
QString registerLoadMessage(const LoadRegisterOutcome &outcome, const DataPaths &paths);

// Has the document read (or create) the register file and then the provider file, and tells
// the user what came of it. Incompatible or Unreadable: the program must end; nothing has been
// written and the provider file is not read.
LoadRegisterOutcome::Kind loadDocument(RegisterDocument &book, QWidget *parent);

} // namespace quirlanto
