#include "frame/entry.h"
#include "platform/headless/headless_platform.h"

namespace lm {

std::unique_ptr<Platform> MakeDefaultPlatform() {
    return std::make_unique<HeadlessPlatform>();
}

}  // namespace lm
