#include "frame/netlist_sources.h"

namespace lm {

std::optional<settings::TComSettings> ReadActiveSettings(const ServiceContext& context) {
    settings::TComSettings active;
    if (!settings::ReadComSettings(context.platform.files(), context.platform, context.driver_dir,
                                   active, settings::kMaxIpText, context.log)) {
        return std::nullopt;
    }
    return active;
}

std::optional<double> ReadLineTimeout(const ServiceContext& context) {
    // The window's creation asks too, before anything was exported: a missing
    // file means the default time-out then, not a box.
    if (!context.platform.files().CanBeOpened(context.DriverFile(settings::kSetComFileName))) {
        return std::nullopt;
    }
    const std::optional<settings::TComSettings> active = ReadActiveSettings(context);
    if (!active) return std::nullopt;
    return active->TimeOut;
}

KomunWindow KomunWindowOf(WindowHandle handle, const ui::Form& form) {
    KomunWindow window;
    window.handle = handle;
    window.left = form.left;
    window.top = form.top;
    window.height = form.height;
    return window;
}

}  // namespace lm
