// NETLIST.TXT and LMKOMUN.INI of the sample project (samples/demo-project.txt,
// its blocks, stored lines, wires and constants), byte for byte: CP1250 with
// CR LF. LM_UPDATE_GOLDEN=1 writes the golden files anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/unit/exports/exports_test_support.h"

namespace lm {
namespace {

namespace fs = std::filesystem;

fs::path SourceRoot() {
    return fs::path(LM_SAMPLE_DRIVER_DIR).parent_path();
}

void ExpectGolden(const std::string& actual, const std::string& name) {
    const fs::path golden = SourceRoot() / "tests" / "golden" / name;
    if (std::getenv("LM_UPDATE_GOLDEN") != nullptr) test::WriteFile(golden, actual);
    const std::string expected = test::ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << golden << " is missing (LM_UPDATE_GOLDEN=1 writes it)";
    EXPECT_EQ(actual, expected) << "differs from " << golden;
}

TEST(NetlistGolden, TheSampleProject) {
    const std::string project = test::ReadFile(SourceRoot() / "samples" / "demo-project.txt");
    ASSERT_FALSE(project.empty());
    constexpr std::uint32_t kChecksum = 305419896;
    test::Scenario listing(project);
    ExpectGolden(listing.Text(NetListMode::Listing, kChecksum), "NETLIST.TXT");
    test::Scenario komun(project);
    ExpectGolden(komun.Text(NetListMode::Komun, kChecksum), "LMKOMUN.INI");
}

}  // namespace
}  // namespace lm
