#include "frame/driver_lifecycle.h"

#include "base/number_text.h"
#include "frame/driver_texts.h"
#include "frame/error_texts.h"

namespace lm {

bool Identify(PARAM_ENTRY& record, Log& log) {
    bool accepted = record.wparam1 >= 3 && record.lparam1 >= 34;
    record.string1 = const_cast<char*>(texts::kDescription);
    record.string2 = const_cast<char*>(texts::kShortName);
    record.data1 = const_cast<char*>(texts::kIdentify);
    record.error = kErrOk;
    record.wparam1 = accepted ? 1 : 0;
    log.Write(accepted ? "LM ENTRY: identify" : "LM ENTRY: identify failed / LM-version !!!");
    return true;
}

bool LoadDriver(PARAM_ENTRY& record, DriverWide& wide, std::unique_ptr<Driver>& driver) {
    // A second load without an unload keeps the window the host already has.
    if (!driver) driver = std::make_unique<Driver>(wide);
    record.lparam1 = 0;
    record.wparam1 = 1;
    record.error = kErrOk;
    driver->form()["lBase"].text.clear();
    driver->window().Refresh();
    wide.log.Write("LM ENTRY: load driver");
    return true;
}

bool UnloadDriver(PARAM_ENTRY&, DriverWide& wide, std::unique_ptr<Driver>& driver) {
    wide.log.Write("LM ENTRY: unload driver");
    driver->run().UnloadDriver();  // in run mode the communication program is told to close
    driver.reset();                // the menu, the library, the instances, then the window
    return true;
}

bool ErrText(PARAM_ENTRY& record, DriverWide& wide) {
    // The text goes out zero-terminated, so it keeps at most 254 characters.
    std::string text = ErrorText(record.wparam1).substr(0, kMaxText - 1);
    record.string1 = const_cast<char*>(wide.message_buffer.Store(text));
    wide.log.WriteWith([&] { return "LM ENTRY: errtext=" + text; });
    return true;
}

bool UnknownFunction(PARAM_ENTRY& record, Log& log) {
    record.error = kErrUnknownFunction;
    log.WriteWith([&] { return "Neznama funkce: " + RightAligned(record.lmd_func, 3); });
    return false;
}

bool WithoutWindow(PARAM_ENTRY& record, Log& log) {
    // Before load driver or after unload driver there is no window and no state
    // to work on: the call is refused as an unsupported one and nothing is touched.
    record.error = kErrUnknownFunction;
    log.WriteWith([&] { return "Funkce bez okna ovladace: " + RightAligned(record.lmd_func, 3); });
    return false;
}

}  // namespace lm
