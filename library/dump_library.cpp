#include "library/dump_library.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "base/number_text.h"
#include "library/texts.h"

namespace lm {

namespace {

std::string SizeLine(std::string_view label, std::size_t size) {
    return Concat({label, RightAligned(static_cast<long long>(size), 5)});
}

void DumpItems(std::string_view label, dLM_DATAITEM* head, LogSink& log) {
    log.Write(Concat({label, HexAddress(head)}));
    for (const dLM_DATAITEM* item : Chain(head)) {
        log.Write(Concat({"   ", item->name, " at ", HexAddress(item)}));
    }
}

}  // namespace

void DumpLibrary(const ObjectList& objects, const ToolList& tools, LogSink& log) {
    if (!log.enabled()) return;
    log.Write("------------------");
    log.Write(SizeLine("sizeof(dLM_OBJECT)  =", sizeof(dLM_OBJECT)));
    log.Write(SizeLine("sizeof(dLMN_TOOL)   =", sizeof(dLMN_TOOL)));
    log.Write(SizeLine("sizeof(dLM_DATAITEM)=", sizeof(dLM_DATAITEM)));
    log.Write(SizeLine("sizeof(dLMN_CONNECT)=", sizeof(dLMN_CONNECT)));
    log.Write(SizeLine("sizeof(dLMN_NODE)   =", sizeof(dLMN_NODE)));
    log.Write(SizeLine("sizeof(dLMN_CONST)  =", sizeof(dLMN_CONST)));
    log.Write("INSTALLED OBJECTS:");
    for (const dLM_OBJECT* object : objects.records()) {
        log.Write(Concat({"object ", object->name, ", tool=", RightAligned(object->tool, 3), " at ",
                          HexAddress(object)}));
        DumpItems(" d_in    = ", object->d_in, log);
        DumpItems(" d_out   = ", object->d_out, log);
        DumpItems(" d_prom  = ", object->d_prom, log);
        DumpItems(" d_init  = ", object->d_init, log);
    }
    log.Write("INSTALLED TOOLS:");
    for (const dLMN_TOOL* tool : tools.records()) {
        log.Write(Concat(
            {tool->description, ", tool=", RightAligned(tool->id, 3), " at ", HexAddress(tool)}));
    }
    log.Write("");
}

void DumpLibrary(const ObjectLibrary& library, LogSink& log) {
    DumpLibrary(library.objects, library.tools, log);
}

}  // namespace lm
