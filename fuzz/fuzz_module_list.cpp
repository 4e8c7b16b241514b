// Reads arbitrary bytes as cai_modul.cfg: at most 51 modules, each with its
// description of at most 45 columns and a range of two finite numbers (the
// first module's range is never shown), and a bad line that the file has.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dialogs/module_list.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fuzz::Check;
    namespace d = lm::dialogs;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const d::ModuleList list = d::ParseModuleList(text);

    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    Check(list.modules.size() <= d::kMaxModules);
    Check(!list.too_many || list.modules.size() == d::kMaxModules);
    Check(list.bad_line >= 0 && static_cast<std::size_t>(list.bad_line) <= lines);
    for (std::size_t i = 0; i < list.modules.size(); ++i) {
        const d::Module& module = list.modules[i];
        Check(module.description.size() == d::kModuleTextColumns);
        Check(module.description.find('\0') == std::string_view::npos);
        Check(module.code() != ';');
        if (i > 0) Check(std::isfinite(module.min) && std::isfinite(module.max));
        Check(module.shown().size() == d::kModuleTextColumns - 2);
    }
    return 0;
}
