#include "fuzz/support/memory_platform.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "frame/entry.h"

namespace fuzz {

MemoryPlatform::MemoryPlatform() {
    SetQuiet(true);
}

std::string MemoryPlatform::DriverDir() {
    return "/fuzz/OVLADACE/KADEX2/";
}

void MemoryPlatform::Put(std::string_view name, std::string_view content) {
    memory.files[DriverDir() + std::string(name)] = std::string(content);
}

void MemoryPlatform::PutSampleDriverDir() {
    // Read once per process, not once per input.
    static const std::map<std::string, std::string> sample = [] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(LM_SAMPLE_DRIVER_DIR)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".BMP") {
                files[name] = "";
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            files[name].assign(std::istreambuf_iterator<char>(in), {});
        }
        return files;
    }();
    for (const auto& [name, content] : sample) Put(name, content);
}

}  // namespace fuzz

// The process-wide driver, when a target uses it, runs on files in memory too.
std::unique_ptr<lm::Platform> lm::MakeDefaultPlatform() {
    return std::make_unique<fuzz::MemoryPlatform>();
}
