#include "tests/support/driver_fixture.h"

#include <filesystem>

namespace lm::test {

void DriverFixture::SetUp() {
    auto fake = std::make_unique<FakePlatform>();
    fake->current_directory = dir_.path().string();
    fake->separator = static_cast<char>(std::filesystem::path::preferred_separator);
    fake_ = fake.get();
    InstallPlatform(std::move(fake));
    // The window shows the communication settings as it is created; without
    // them it would beep and tell so. Tests of that remove the file.
    std::filesystem::copy_file(std::filesystem::path(LM_SAMPLE_DRIVER_DIR) / "SETCOM.INI",
                               dir_.driver_dir() / "SETCOM.INI",
                               std::filesystem::copy_options::overwrite_existing);
}

void DriverFixture::TearDown() {
    ReleaseTheEntry();
}

PARAM_ENTRY DriverFixture::Record(std::uint16_t code) {
    PARAM_ENTRY record{};
    record.lmd_func = code;
    return record;
}

int DriverFixture::Call(std::uint16_t code) {
    PARAM_ENTRY record = Record(code);
    return Call(record);
}

void DriverFixture::Load() {
    PARAM_ENTRY identify = Record(kIdentify);
    identify.wparam1 = 3;
    identify.lparam1 = 34;
    ASSERT_EQ(Call(identify), 1);
    ASSERT_EQ(Call(kLoadDriver), 1);
    ASSERT_NE(TheEntry().driver(), nullptr);
}

void DriverFixture::UseSampleDriverDir() {
    for (const auto& entry : std::filesystem::directory_iterator(LM_SAMPLE_DRIVER_DIR)) {
        std::filesystem::copy(entry.path(), dir_.driver_dir() / entry.path().filename(),
                              std::filesystem::copy_options::overwrite_existing);
    }
}

void DriverFixture::LoadSampleLibrary() {
    UseSampleDriverDir();
    Load();
    PARAM_ENTRY init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    ASSERT_EQ(init.error, 0);
    ASSERT_GT(init.wparam1, 0);
}

void DriverFixture::EnableLog() {
    window()["CheckLog"].checked = true;
    window().Fire("CheckLog", ui::Event::Click);
}

Driver& DriverFixture::driver() {
    return *TheEntry().driver();
}
ui::Form& DriverFixture::window() {
    return driver().form();
}

std::string DriverFixture::LogFile() const {
    return (dir_.driver_dir() / "LMDRIVER.LOG").string();
}

std::vector<std::string> DriverFixture::LogLines() const {
    std::vector<std::string> messages;
    const std::string prefix = fake_->date_time + " | ";
    for (const auto& line : SplitCrLf(ReadFile(LogFile()))) {
        EXPECT_EQ(line.substr(0, prefix.size()), prefix) << line;
        messages.push_back(line.substr(prefix.size()));
    }
    return messages;
}

const std::vector<std::string>& DriverFixture::MemoLines() {
    return window()["Memo1"].items;
}

}  // namespace lm::test
