// The host's conversion services: the data item service, the general
// conversions of standard types, the LONG check and the USER/LONG conversion.
// The items are the library's own records, found by object and item ident.
#pragma once

#include "base/host_records.h"
#include "library/object_library.h"
#include "service/service_context.h"
#include "values/conversion_buffers.h"

namespace lm {

class ConversionService {
public:
    ConversionService(const ServiceContext& context, ObjectLibrary& library)
        : context_(context), library_(library) {}

    bool AkceItemCall(PARAM_ENTRY& record);
    bool BinToStrCall(PARAM_ENTRY& record);
    bool StrToBinCall(PARAM_ENTRY& record);
    bool LongCheckCall(PARAM_ENTRY& record);
    bool UserLongCall(PARAM_ENTRY& record);

private:
    const ServiceContext& context_;
    ObjectLibrary& library_;
    ConversionBuffers buffers_;  // the binary and text buffers handed to the host
};

}  // namespace lm
