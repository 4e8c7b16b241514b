#include "exports/komun_header.h"

#include "base/bounded_text.h"
#include "values/number_texts.h"

namespace lm {

void WriteKomunHeader(ExportText& out, const KomunSettings& s, std::uint32_t firmware_low,
                      std::uint32_t firmware_high, const KomunWindow& window) {
    using std::to_string;
    if (s.tcp) {
        out.Line("tcp " + Bounded(s.tcp_ip) + " " + to_string(s.tcp_port));
    } else {
        out.Line("port " + to_string(s.com_port) + " " + to_string(s.com_speed));
        out.Line(s.rs485 ? "rs485" : "rs232");
    }
    out.Line("address " + to_string(s.address));
    out.Line("retranslation " + to_string(s.retranslation));
    out.Line("TIMEOUT " + REAL_TEXT(s.timeout, 3, 1));
    out.Line("FIRMWARE " + to_string(firmware_low) + " " + to_string(firmware_high));
    out.Line("HWND " + to_string(window.handle) + " " + to_string(window.left) + " " +
             to_string(window.top) + " " + to_string(window.height));
}

}  // namespace lm
