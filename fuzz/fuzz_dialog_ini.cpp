// Reads arbitrary bytes as DIALOG.INI in both its layouts: the start-up
// options (three flags) when the first byte is even, the string table of the
// text dialog when it is odd. What is read stays within its limits, and what
// is written back reads as it was written.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "dialogs/dialog_ini.h"
#include "dialogs/dlg_str.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"

namespace {

using fuzz::Check;

void StartupLayout(fuzz::MemoryPlatform& platform) {
    const std::optional<lm::dialogs::StartupOptions> read =
        lm::dialogs::ReadStartupDialogFile(platform.memory, platform.DriverDir());
    Check(read.has_value());
    Check(lm::dialogs::WriteStartupDialogFile(platform.memory, platform.DriverDir(), *read).ok);
    Check(lm::dialogs::ReadStartupDialogFile(platform.memory, platform.DriverDir()) == read);
}

void StringTableLayout(fuzz::MemoryPlatform& platform) {
    namespace d = lm::dialogs;
    const std::optional<d::StringTable> read =
        d::ReadStringTable(platform.memory, platform.DriverDir());
    Check(read.has_value());
    Check(read->title.size() <= d::kMaxTableTitle);
    Check(read->maximum >= 0 && read->maximum <= d::kMaxRuler);
    Check(!read->rows.empty() && read->rows.size() <= d::kMaxTextRows);
    for (const d::TextRow& row : read->rows) {
        Check(row.name.size() <= d::kMaxRowText && row.text.size() <= d::kMaxRowText);
    }
    Check(d::Ruler(read->maximum).size() <= static_cast<std::size_t>(d::kMaxRuler));

    Check(d::WriteStringTable(platform.memory, platform.DriverDir(), *read).ok);
    const std::optional<d::StringTable> again =
        d::ReadStringTable(platform.memory, platform.DriverDir());
    Check(again.has_value() && again->title == read->title && again->maximum == read->maximum &&
          again->rows == read->rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::MemoryPlatform platform;
    platform.Put(lm::dialogs::kDialogFileName,
                 std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    if (data[0] % 2 == 0) {
        StartupLayout(platform);
    } else {
        StringTableLayout(platform);
    }
    return 0;
}
