#pragma once

#include "support/moduleloader.h"

// The program's modules as linked, written by builtmodules.cmake after the link.
namespace quirlanto {

ModuleFingerprint builtSoundModule();
ModuleFingerprint builtPhoneNumberModule();
ModuleFingerprint builtNetworkModule();

} // namespace quirlanto
