// The placed instances' records, one block each: every object of the sample
// driver directory copied as the library's own copy makes it, and removals
// that keep the list order and the other records where they are.
#include "instances/instance_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "library/object_library.h"
#include "library/objects.h"
#include "library/tools.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/library/library_test_support.h"

namespace lm {
namespace {

namespace fs = std::filesystem;
using test::RecordingLog;
using test::Text;

class InstanceRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(LM_SAMPLE_DRIVER_DIR)) {
            fs::copy_file(entry.path(), dir.driver_dir() / entry.path().filename());
        }
        const std::string driver_dir = dir.driver_dir_text();
        std::string error;
        ASSERT_TRUE(LOAD_TOOLS(platform.files(), driver_dir + "TOOLS.INI", driver_dir, library,
                               error, kMaxText, log))
            << error;
    }

    test::TempDir dir;
    test::FakePlatform platform;
    ObjectLibrary library{platform};
    RecordingLog log;
};

void ExpectSameItem(const dLM_DATAITEM& copy, const dLM_DATAITEM& expected) {
    SCOPED_TRACE(Text(expected.name));
    EXPECT_EQ(+copy.ident, +expected.ident);
    EXPECT_EQ(Text(copy.name), Text(expected.name));
    EXPECT_EQ(Text(copy.help), Text(expected.help));
    EXPECT_EQ(Text(copy.second_help), Text(expected.second_help));
    EXPECT_EQ(Text(copy.format), Text(expected.format));
    EXPECT_EQ(+copy.typ, +expected.typ);
    EXPECT_EQ(+copy.delka, +expected.delka);
    EXPECT_EQ(+copy.pos_x, +expected.pos_x);
    EXPECT_EQ(+copy.pos_y, +expected.pos_y);
    EXPECT_EQ(+copy.attributes, +expected.attributes);
    // The packed record's pointer read by name into a local.
    const dLM_DATAITEM_EXT* const ext = copy.ext;
    const dLM_DATAITEM_EXT* const expected_ext = expected.ext;
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(std::memcmp(ext, expected_ext, sizeof(dLM_DATAITEM_EXT)), 0)
        << "the extension, byte for byte";
}

TEST_F(InstanceRecordsTest, EveryLibraryObjectCopiedAsTheLibraryCopiesIt) {
    // The library objects' values edited: a copy starts from the defaults.
    for (dLM_OBJECT* object : library.objects.records()) {
        for (dLM_DATAITEM* head : ItemListsOf(*object)) {
            for (dLM_DATAITEM* item : Chain(head)) item->ext->value.assign("edited");
        }
    }
    ObjectList expected;
    InstanceRecords records;
    RecordingLog expected_log, copy_log;
    std::uint16_t instance = 1;
    for (const dLM_OBJECT* object : library.objects.records()) {
        const dLM_OBJECT* want = COPY_OBJECT(*object, expected, instance, expected_log);
        const dLM_OBJECT* copy = records.Append(*object, instance++, copy_log);
        SCOPED_TRACE(Text(object->name));
        const ObjectFields got = FieldsOf(*copy), fields = FieldsOf(*want);
        EXPECT_EQ(std::tie(got.level, got.ident, got.instance, got.name, got.title, got.inputs,
                           got.outputs, got.init_vars, got.vars, got.bm_lib, got.bm_desktop,
                           got.ver_high, got.ver_low, got.tool, got.attributes),
                  std::tie(fields.level, fields.ident, fields.instance, fields.name, fields.title,
                           fields.inputs, fields.outputs, fields.init_vars, fields.vars,
                           fields.bm_lib, fields.bm_desktop, fields.ver_high, fields.ver_low,
                           fields.tool, fields.attributes));
        const auto copy_lists = ItemListsOf(*copy), want_lists = ItemListsOf(*want);
        for (std::size_t l = 0; l < copy_lists.size(); ++l) {
            const dLM_DATAITEM *c = copy_lists[l], *w = want_lists[l];
            for (; c != nullptr && w != nullptr; c = c->next, w = w->next) ExpectSameItem(*c, *w);
            EXPECT_TRUE(c == nullptr && w == nullptr) << "list " << l << " of another length";
        }
    }
    EXPECT_EQ(records.size(), library.objects.size());
    EXPECT_EQ(copy_log.lines, expected_log.lines);
}

TEST_F(InstanceRecordsTest, RemovalKeepsTheOrderAndTheOtherRecordsInPlace) {
    struct Row {
        const char* what;
        std::vector<int> removed;  // by place of appending
        std::vector<int> left;
    };
    const Row rows[] = {
        {"the head", {0}, {1, 2, 3}},          {"the tail, then append", {3}, {0, 1, 2}},
        {"the middle", {1, 2}, {0, 3}},        {"all, head first", {0, 1, 2, 3}, {}},
        {"all, tail first", {3, 2, 1, 0}, {}},
    };
    const dLM_OBJECT& source = *library.objects.head();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        InstanceRecords records;
        std::vector<dLM_OBJECT*> made;
        for (int i = 0; i < 4; ++i) {
            made.push_back(records.Append(source, static_cast<std::uint16_t>(i + 1), log));
        }
        for (int r : row.removed) records.Remove(made[r]);
        std::vector<dLM_OBJECT*> want;
        for (int l : row.left) want.push_back(made[l]);
        // One more appended after the removals goes to the end.
        want.push_back(records.Append(source, 9, log));
        std::vector<dLM_OBJECT*> got;
        for (dLM_OBJECT* r = records.head(); r != nullptr; r = r->next) got.push_back(r);
        EXPECT_EQ(got, want);
        EXPECT_EQ(records.size(), want.size());
        for (std::size_t k = 0; k + 1 < want.size(); ++k) {
            EXPECT_EQ(+want[k]->instance, row.left[k] + 1) << "a record left, read in place";
        }
    }
}

}  // namespace
}  // namespace lm
