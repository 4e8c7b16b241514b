#include "service/file_error_box.h"

namespace lm {
namespace {

std::string Composed(std::string_view opening, std::string_view path, std::string_view action,
                     std::string_view after, std::string_view reason) {
    std::string text(opening);
    text += path;
    text += " nelze ";
    text += action;
    text += after;
    text += reason;
    return text;
}

}  // namespace

std::string FileErrorText(std::string_view path, std::string_view action, std::string_view after,
                          std::string_view reason) {
    return Composed("Soubor ", path, action, after, reason);
}

std::string IoFileErrorText(std::string_view path, std::string_view action,
                            std::string_view reason) {
    return Composed("Chyba I/O: soubor ", path, action, reason.empty() ? "." : ".\r", reason);
}

void ShowFileError(Platform& platform, std::string_view path, std::string_view action,
                   std::string_view reason) {
    platform.ShowMessageBox(BoxKind::Error, IoFileErrorText(path, action, reason));
}

}  // namespace lm
