#include "exports/komun_header.h"

#include "base/bounded_text.h"
#include "values/number_texts.h"

namespace lm {

void WriteKomunHeader(ExportText& out, const settings::TComSettings& s, std::uint32_t firmware_low,
                      std::uint32_t firmware_high, const KomunWindow& window) {
    using std::to_string;
    if (s.TCP) {
        out.Line("tcp " + Bounded(s.TCPIP) + " " + to_string(s.TCPPort));
    } else {
        out.Line("port " + to_string(s.ComPort) + " " + to_string(s.ComSpeed));
        out.Line(s.RS485 ? "rs485" : "rs232");
    }
    out.Line("address " + to_string(s.Address));
    out.Line("retranslation " + to_string(s.Retranslation));
    out.Line("TIMEOUT " + REAL_TEXT(s.TimeOut, 3, 1));
    out.Line("FIRMWARE " + to_string(firmware_low) + " " + to_string(firmware_high));
    out.Line("HWND " + to_string(window.handle) + " " + to_string(window.left) + " " +
             to_string(window.top) + " " + to_string(window.height));
}

}  // namespace lm
