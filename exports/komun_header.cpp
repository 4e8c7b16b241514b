#include "exports/komun_header.h"

#include "base/bounded_text.h"
#include "values/number_texts.h"

namespace lm {

void WriteKomunHeader(ExportText& out, const settings::TComSettings& s, std::uint32_t firmware_low,
                      std::uint32_t firmware_high, const KomunWindow& window) {
    if (s.TCP) {
        out.LineOf("tcp ", std::string_view(s.TCPIP).substr(0, kMaxText), ' ', s.TCPPort);
    } else {
        out.LineOf("port ", s.ComPort, ' ', s.ComSpeed);
        out.Line(s.RS485 ? "rs485" : "rs232");
    }
    out.LineOf("address ", s.Address);
    out.LineOf("retranslation ", s.Retranslation);
    out.LineOf("TIMEOUT ", REAL_TEXT(s.TimeOut, 3, 1));
    out.LineOf("FIRMWARE ", firmware_low, ' ', firmware_high);
    out.LineOf("HWND ", window.handle, ' ', window.left, ' ', window.top, ' ', window.height);
}

}  // namespace lm
