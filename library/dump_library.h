// The library dump written to the log at the end of init objects: the sizes
// of the host records, every library object with its item lists, every tool.
#pragma once

#include "base/log_sink.h"
#include "library/object_library.h"
#include "library/record_lists.h"

namespace lm {

// Writes the dump (nothing while logging is off). The objects' user item
// lists are not dumped.
void DumpLibrary(const ObjectList& objects, const ToolList& tools, LogSink& log);
void DumpLibrary(const ObjectLibrary& library, LogSink& log);

}  // namespace lm
