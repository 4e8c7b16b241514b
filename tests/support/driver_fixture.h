// A driver behind LumarDriver_Entry on the fake platform, in a temporary
// working folder, as the host sees it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/host_records.h"
#include "frame/entry.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace lm::test {

// The driver directory starts with the sample's SETCOM.INI.
class DriverFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A record for a call of `code`, everything else zero.
    static PARAM_ENTRY Record(std::uint16_t code);
    int Call(PARAM_ENTRY& record) { return LumarDriver_Entry(&record); }
    int Call(std::uint16_t code);
    // identify + load driver, as the host starts.
    void Load();
    // Copies the sample driver directory into the test's driver directory.
    void UseSampleDriverDir();
    // identify, load driver and init objects on the sample driver directory.
    void LoadSampleLibrary();
    // Turns logging on as the user does, with the log check box.
    void EnableLog();
    Driver& driver();
    ui::Form& window();
    std::string LogFile() const;
    std::vector<std::string> LogLines() const;  // the messages of the log file (without date-time)
    const std::vector<std::string>& MemoLines();

    TempDir dir_;
    FakePlatform* fake_ = nullptr;  // owned by the process-wide entry
};

}  // namespace lm::test
