# cmake -DOUTPUT=<source> -DSOUND=<module> -DPHONENUMBERS=<module> -DNETWORK=<module> -P builtmodules.cmake
# Writes the modules' sizes and SHA-256 sums as the program's source (see builtmodules.h).
foreach(module SOUND PHONENUMBERS NETWORK)
  file(SIZE "${${module}}" ${module}_SIZE)
  file(SHA256 "${${module}}" ${module}_SHA256)
endforeach()
file(CONFIGURE OUTPUT "${OUTPUT}" @ONLY CONTENT [[
// Written by builtmodules.cmake from the modules as linked.
#include "support/builtmodules.h"

namespace quirlanto {

ModuleFingerprint builtSoundModule()
{
    return {@SOUND_SIZE@, "@SOUND_SHA256@"};
}

ModuleFingerprint builtPhoneNumberModule()
{
    return {@PHONENUMBERS_SIZE@, "@PHONENUMBERS_SHA256@"};
}

ModuleFingerprint builtNetworkModule()
{
    return {@NETWORK_SIZE@, "@NETWORK_SHA256@"};
}

} // namespace quirlanto
]])
