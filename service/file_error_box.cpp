#include "frame/file_error_box.h"

#include <string>

namespace lm {

void ShowFileError(Platform& platform, std::string_view path, std::string_view action,
                   std::string_view reason) {
    std::string text = "Chyba I/O: soubor ";
    text += path;
    text += " nelze ";
    text += action;
    text += '.';
    if (!reason.empty()) {
        text += '\r';
        text += reason;
    }
    platform.ShowMessageBox(BoxKind::Error, text);
}

}  // namespace lm
