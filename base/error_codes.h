// The error codes the driver answers in the host's parameter record; the host
// fetches their Czech texts with errtext.
#pragma once

#include <cstdint>

namespace lm {

enum ErrorCode : std::uint16_t {
    kErrOk = 0,
    kErrInitObjects = 1,
    kErrRunMode = 2,
    kErrObjectUnknown = 3,
    kErrInstance = 4,
    kErrIntegerExpected = 5,
    kErrStringExpected = 6,
    kErrBinToStr = 7,
    kErrStrToBin = 8,
    kErrStringNotStandard = 9,
    kErrTargetUser = 10,
    kErrUnknownSubtype = 11,
    kErrOnlyToLong = 12,
    kErrOnlyFromLong = 13,
    kErrUnknownFunction = 14,
    kErrGateLimit = 15,
    // The driver's own: the confirmation of "&Překlad" could not be shown, so
    // nothing was exported.
    kErrNotExported = 16,
};

}  // namespace lm
