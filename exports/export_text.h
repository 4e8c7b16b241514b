// The text of an export file while it is built: CP1250 lines, each ended by
// CR LF, in one buffer that is written whole when complete.
#pragma once

#include <string>
#include <string_view>

namespace lm {

// The separator line of NETLIST.TXT.
inline constexpr std::string_view kListingSeparator = "-------------------------------------------";

class ExportText {
public:
    void Line(std::string_view line) {
        text_ += line;
        text_ += "\r\n";
    }
    const std::string& text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace lm
