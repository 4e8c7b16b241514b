#include "platform/system_files.h"

#include "base/cp1250.h"

namespace lm {

FileStatus CheckPathShape(const std::string& path, std::size_t max_length) {
    if (path.empty()) return FileStatus::Failed("Cesta k souboru je prázdná."_cp);
    if (path.find('\0') != std::string::npos) {
        return FileStatus::Failed("Cesta k souboru obsahuje nulový znak."_cp);
    }
    if (path.size() > max_length) {
        return FileStatus::Failed("Cesta k souboru je delší než "_cp + std::to_string(max_length) +
                                  " znaků."_cp);
    }
    return FileStatus::Ok();
}

}  // namespace lm
