#include "frame/entry.h"

#include "base/cp1250.h"
#include "base/number_text.h"
#include "frame/driver_texts.h"
#include "frame/error_texts.h"

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
    wide_.in_entry = true;
    log.Write("LumarDriver_Entry - START");
    log.DumpParams(*record);
    record->dlm_func = 0;
    bool result = Dispatch(*record);
    log.Write(result ? "ENTRY OUTPUT = TRUE" : "ENTRY OUTPUT = FALSE !");
    log.DumpParams(*record);
    log.CloseFile();  // between host calls the file is free for everyone
    wide_.in_entry = false;
    return result ? 1 : 0;
}

bool Entry::Identify(PARAM_ENTRY& record) {
    bool accepted = record.wparam1 >= 3 && record.lparam1 >= 34;
    record.string1 = const_cast<char*>(texts::kDescription);
    record.string2 = const_cast<char*>(texts::kShortName);
    record.data1 = const_cast<char*>(texts::kIdentify);
    record.error = kErrOk;
    record.wparam1 = accepted ? 1 : 0;
    wide_.log.Write(accepted ? "LM ENTRY: identify" : "LM ENTRY: identify failed / LM-version !!!");
    return true;
}

bool Entry::LoadDriver(PARAM_ENTRY& record) {
    // A second load without an unload keeps the window the host already has.
    if (!driver_) driver_ = std::make_unique<Driver>(wide_);
    record.lparam1 = 0;
    record.wparam1 = 1;
    record.error = kErrOk;
    driver_->form()["lBase"].text.clear();
    driver_->Refresh();
    wide_.log.Write("LM ENTRY: load driver");
    return true;
}

bool Entry::UnloadDriver(PARAM_ENTRY&) {
    wide_.log.Write("LM ENTRY: unload driver");
    if (driver_->menu != 0) platform_->DestroyMenu(driver_->menu);
    driver_.reset();
    return true;
}

bool Entry::ErrText(PARAM_ENTRY& record) {
    // The text goes out zero-terminated, so it keeps at most 254 characters.
    std::string text = ErrorText(record.wparam1).substr(0, kMaxText - 1);
    record.string1 = const_cast<char*>(wide_.message_buffer.Store(text));
    wide_.log.WriteWith([&] { return "LM ENTRY: errtext=" + text; });
    return true;
}

bool Entry::Unknown(PARAM_ENTRY& record) {
    record.error = kErrUnknownFunction;
    wide_.log.WriteWith([&] { return "Neznama funkce: " + RightAligned(record.lmd_func, 3); });
    return false;
}

bool Entry::WithoutWindow(PARAM_ENTRY& record) {
    // Before load driver or after unload driver there is no window and no state
    // to work on: the call is refused as an unsupported one and nothing is touched.
    record.error = kErrUnknownFunction;
    wide_.log.WriteWith(
        [&] { return "Funkce bez okna ovladace: " + RightAligned(record.lmd_func, 3); });
    return false;
}

}  // namespace lm
