// The headless platform with its files in memory, for fuzz targets that drive
// a whole driver: nothing a fuzz input makes the driver write reaches the disk.
// The working folder is "/fuzz"; the driver directory below it can be filled
// from the sample driver directory, read from disk once.
#pragma once

#include <string>
#include <string_view>

#include "platform/headless/headless_platform.h"
#include "tests/support/memory_files.h"

namespace fuzz {

class MemoryPlatform : public lm::HeadlessPlatform {
public:
    MemoryPlatform();

    lm::Files& files() override { return memory; }
    std::string CurrentDirectory() override { return "/fuzz"; }
    std::string DateTimeText() override { return "8.12.2026 10:00:00"; }

    // The driver directory as the driver names it: "/fuzz/OVLADACE/KADEX2/".
    static std::string DriverDir();
    void Put(std::string_view name, std::string_view content);
    // Every file of the sample driver directory (its bitmaps as empty files).
    void PutSampleDriverDir();

    lm::test::MemoryFiles memory;
};

}  // namespace fuzz
