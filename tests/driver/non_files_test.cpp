// What is named where the driver reads a file but is no file (a FIFO, a
// folder, a link that leads nowhere) is refused unopened, with the reaction
// the driver has for that file when it is missing; no host call waits on it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "base/cp1250.h"
#include "tests/support/driver_fixture.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lm::test {
namespace {

namespace fs = std::filesystem;

class NonFiles : public DriverFixture {};

enum class Kind { Fifo, Folder, DanglingLink };

void Make(Kind kind, const fs::path& at) {
    fs::remove(at);
    switch (kind) {
        case Kind::Folder:
            fs::create_directory(at);
            break;
        case Kind::DanglingLink:
#if !defined(_WIN32)
            fs::create_symlink("nowhere", at);
#endif
            break;
        case Kind::Fifo:
#if !defined(_WIN32)
            ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
#endif
            break;
    }
}

TEST_F(NonFiles, AreRefusedWithTheReactionToAMissingFile) {
    const std::string no_startup =
        "Startovacího soubor STARTUP.INI nebyl nalezen.\rBylo použito počáteční nastavení."_cp;
    struct Row {
        const char* name;
        Kind kind;
        std::uint16_t init_error;  // of init objects
        bool fewer_objects;        // than the sample's
        std::vector<std::string> boxes;
    };
    std::vector<Row> rows = {
        {"TOOLS.INI", Kind::Folder, 1, true, {}},
        {"ADD.DEF", Kind::Folder, 0, true, {}},
        // A folder cannot be replaced by the default file: error 1.
        {"STARTUP.INI", Kind::Folder, 1, true, {no_startup}},
        {"SETCOM.INI", Kind::Folder, 0, false, {"Nenalezen soubor SETCOM.INI"}},
#if !defined(_WIN32)
        {"TOOLS.INI", Kind::Fifo, 1, true, {}},
        {"TOOLS.INI", Kind::DanglingLink, 1, true, {}},
        {"ADD.DEF", Kind::Fifo, 0, true, {}},
        {"ADD.DEF", Kind::DanglingLink, 0, true, {}},
        // A FIFO is replaced by the default file, as a missing one is written.
        {"STARTUP.INI", Kind::Fifo, 0, false, {no_startup}},
        {"SETCOM.INI", Kind::Fifo, 0, false, {"Nenalezen soubor SETCOM.INI"}},
        {"LIB_IO.BMP", Kind::Fifo, 0, false, {}},
#endif
    };
    std::size_t sample_objects = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        UseSampleDriverDir();
        if (sample_objects == 0) {
            Load();
            PARAM_ENTRY init = Record(kInitObjects);
            Call(init);
            sample_objects = init.wparam1;
            Call(kUnloadDriver);
            fake_->boxes.clear();
        }
        const fs::path at = dir_.driver_dir() / row.name;
        Make(row.kind, at);
        PARAM_ENTRY init = Record(kInitObjects);
        std::future<void> done = std::async(std::launch::async, [&] {
            Load();
            Call(init);
        });
        if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the driver waits on it";
#if !defined(_WIN32)
            const int writer = ::open(at.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
#endif
        }
        done.wait();
        EXPECT_EQ(init.error, row.init_error);
        EXPECT_EQ(init.wparam1 < sample_objects, row.fewer_objects) << init.wparam1;
        std::vector<std::string> boxes;
        for (const auto& box : fake_->boxes) boxes.push_back(box.text);
        EXPECT_EQ(boxes, row.boxes);
        TearDown();
        fs::remove_all(at);
    }
}

}  // namespace
}  // namespace lm::test
