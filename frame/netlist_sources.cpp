#include "frame/netlist_sources.h"

namespace lm {

KomunSettings KomunSettingsOf(const online::TComSettings& s) {
    KomunSettings komun;
    komun.com_port = s.ComPort;
    komun.com_speed = s.ComSpeed;
    komun.address = s.Address;
    komun.retranslation = s.Retranslation;
    komun.rs485 = s.RS485;
    komun.timeout = s.TimeOut;
    komun.tcp = s.TCP;
    komun.tcp_ip = s.TCPIP;
    komun.tcp_port = s.TCPPort;
    return komun;
}

std::optional<KomunSettings> ReadKomunSettings(const ServiceContext& context) {
    online::TComSettings settings;
    if (!online::ReadComSettings(context.platform.files(), context.platform, context.driver_dir,
                                 settings, online::kMaxIpText, context.log)) {
        return std::nullopt;
    }
    return KomunSettingsOf(settings);
}

std::optional<double> ReadLineTimeout(const ServiceContext& context) {
    // The window's creation asks too, before anything was exported: a missing
    // file means the default time-out then, not a box.
    if (!context.platform.files().CanBeOpened(context.DriverFile(online::kSetComFileName))) {
        return std::nullopt;
    }
    online::TComSettings settings;
    if (!online::ReadComSettings(context.platform.files(), context.platform, context.driver_dir,
                                 settings, online::kMaxIpText, context.log)) {
        return std::nullopt;
    }
    return settings.TimeOut;
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
