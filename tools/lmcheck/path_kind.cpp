#include "tools/lmcheck/path_kind.h"

#include <filesystem>
#include <system_error>

#include "base/cp1250.h"

namespace lmcheck {

PathKind KindOfPath(const std::string& path) {
    std::error_code error;
#if defined(_WIN32)
    const std::u16string wide = lm::Cp1250ToUtf16(path);
    const std::filesystem::file_status status = std::filesystem::status(
        std::filesystem::path(std::wstring(wide.begin(), wide.end())), error);
#else
    const std::filesystem::file_status status = std::filesystem::status(path, error);
#endif
    switch (status.type()) {
        case std::filesystem::file_type::not_found:
        case std::filesystem::file_type::none:
            return PathKind::Missing;
        case std::filesystem::file_type::regular:
            return PathKind::File;
        case std::filesystem::file_type::directory:
            return PathKind::Folder;
        default:
            return PathKind::Other;
    }
}

}  // namespace lmcheck
