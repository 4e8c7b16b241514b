#include "frame/entry.h"
#include "platform/win32/win32_platform.h"

namespace lm {

std::unique_ptr<Platform> MakeDefaultPlatform() {
    return std::make_unique<Win32Platform>();
}

}  // namespace lm
