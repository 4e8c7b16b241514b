#include "online/rozid7_start.h"

namespace lm {

int StartRozid7(Platform& platform, const std::string& driver_dir, Rozid7Start how) {
    // The run-mode line carries a 16-bit value in four hexadecimal digits,
    // always 0.
    const char* parameters = "/DDE 0000";
    ShowMode show = ShowMode::Minimized;
    if (how == Rozid7Start::Keyboard) {
        parameters = "/K";
        show = ShowMode::Normal;
    } else if (how == Rozid7Start::ReadAll) {
        parameters = "/READALL";
        show = ShowMode::Normal;
    } else if (how == Rozid7Start::Translate) {
        parameters = "";
        show = ShowMode::Show;
    }
    return platform.ShellOpen(driver_dir + "ROZID7.EXE", parameters, std::string(), show);
}

}  // namespace lm
