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
    ++depth_;
    log.Write("LumarDriver_Entry - START");
    log.DumpParams(*record);
    record->dlm_func = 0;
    bool result = Dispatch(*record);
    log.Write(result ? "ENTRY OUTPUT = TRUE" : "ENTRY OUTPUT = FALSE !");
    log.DumpParams(*record);
    --depth_;
    if (depth_ == 0 && unload_pending_) {
        unload_pending_ = false;
        log.Write("unload driver: the call under way has ended - window released");
        if (driver_) driver_->run().UnloadDriver();
        driver_.reset();
    }
    log.CloseFile();  // between host calls the file is free for everyone
    wide_.in_entry = outer_call;
    return result ? 1 : 0;
}

bool Entry::Unload(PARAM_ENTRY& record) {
    if (depth_ == 1) return UnloadDriver(record, wide_, driver_);
    // The host unloads from inside another call (a message box of an export,
    // say): that call's frames still use the window and its services, so
    // the window goes when the outermost call ends. Until then every call
    // is answered as without a window.
    wide_.log.Write("LM ENTRY: unload driver");
    wide_.log.Write("unload driver: a call is under way - the window goes when it ends");
    unload_pending_ = true;
    return true;
}

}  // namespace lm
