#include "frame/entry.h"

#include "frame/driver_lifecycle.h"

namespace lm {
namespace {

std::unique_ptr<Entry>& EntrySlot() {
    static std::unique_ptr<Entry> entry;
    return entry;
}

}  // namespace

Entry& TheEntry() {
    auto& slot = EntrySlot();
    if (!slot) slot = std::make_unique<Entry>(MakeDefaultPlatform());
    return *slot;
}

void ReleaseTheEntry() {
    EntrySlot().reset();
}

void InstallPlatform(std::unique_ptr<Platform> platform) {
    auto& slot = EntrySlot();
    slot.reset();
    slot = std::make_unique<Entry>(std::move(platform));
}

Entry::Entry(std::unique_ptr<Platform> platform)
    : platform_(std::move(platform)), wide_(*platform_) {}

Entry::~Entry() {
    driver_.reset();
}

int Entry::Call(PARAM_ENTRY* record) {
    if (record == nullptr) return 0;  // nothing to read or answer
    Log& log = wide_.log;
    // A host call made while another is under way (from a window the driver
    // sent a message to) must not end the outer call's mark.
    const bool outer_call = wide_.in_entry;
    wide_.in_entry = true;
    log.Write("LumarDriver_Entry - START");
    log.DumpParams(*record);
    record->dlm_func = 0;
    bool result = Dispatch(*record);
    log.Write(result ? "ENTRY OUTPUT = TRUE" : "ENTRY OUTPUT = FALSE !");
    log.DumpParams(*record);
    log.CloseFile();  // between host calls the file is free for everyone
    wide_.in_entry = outer_call;
    return result ? 1 : 0;
}

}  // namespace lm
