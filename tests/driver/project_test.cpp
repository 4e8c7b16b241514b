// init objects, instances and the project lines, as the host drives them.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1250.h"
#include "instances/lookups.h"
#include "library/record_lists.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

// A library of two objects: 7 with user items A, B (a string) and C and a
// help index item; 8 with one user item and no help index.
constexpr const char kTools[] =
    "FIRMWARE 2 3\r\n"
    "TOOL ID 1 POPIS \"Test\" OBJECTS SEVEN.DEF EIGHT.DEF END_OBJECTS END_TOOL\r\n";
constexpr const char kSeven[] =
    "OBJECT IDENT 7 JMENO \"SEVEN\" NAZEV \"Sedm\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"IN\" TYP WORD DEFAULT \"3\" ITEM_END D_IN_END\r\n"
    "D_PROM ITEM IDENT 9999 JMENO \"HELPINDEX\" TYP WORD DEFAULT \"707\" HELP2 \"SEVEN.HLP\" "
    "ITEM_END D_PROM_END\r\n"
    "DATA_USER\r\n"
    " ITEM IDENT 10 JMENO \"A\" TYP WORD FORMAT \"#####\" DEFAULT \"1\" ITEM_END\r\n"
    " ITEM IDENT 11 JMENO \"B\" TYP USER SUBTYP STRING FORMAT \"??????????\" DEFAULT \"ab\" "
    "ITEM_END\r\n"
    " ITEM IDENT 12 JMENO \"C\" TYP LONG DEFAULT \"-5\" ITEM_END\r\n"
    "DATA_USER_END OBJECT_END\r\n";
constexpr const char kEight[] =
    "OBJECT IDENT 8 JMENO \"EIGHT\" NAZEV \"Osm\"\r\n"
    "DATA_USER ITEM IDENT 20 JMENO \"ONLY\" TYP BYTE DEFAULT \"9\" ITEM_END DATA_USER_END\r\n"
    "OBJECT_END\r\n";

// A value unlike any default: "v<n> x".
std::string TestValue(int n) {
    std::string value = "v";
    value += std::to_string(n);
    value += " x";
    return value;
}

class Project : public DriverFixture {
protected:
    void WriteTestLibrary(bool with_startup = true) {
        WriteFile(dir_.driver_dir() / "TOOLS.INI", kTools);
        WriteFile(dir_.driver_dir() / "SEVEN.DEF", kSeven);
        WriteFile(dir_.driver_dir() / "EIGHT.DEF", kEight);
        if (with_startup) WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE OFF\r\n");
    }
    void LoadTestLibrary() {
        WriteTestLibrary();
        Load();
        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        ASSERT_EQ(init.error, 0);
    }
    PARAM_ENTRY Create(std::uint16_t ident, std::uint16_t instance) {
        PARAM_ENTRY r = Record(kCreateObject);
        r.wparam1 = ident;
        r.wparam2 = instance;
        EXPECT_EQ(Call(r), 1);
        return r;
    }
    // One SaveLine call: the line (empty when none), wparam1 and the result.
    struct Saved {
        std::string line;
        std::uint16_t more;
        int result;
    };
    Saved Save(std::uint16_t ident, std::uint16_t instance) {
        PARAM_ENTRY r = Record(kSaveLine);
        r.wparam1 = ident;
        r.wparam2 = instance;
        int result = Call(r);
        const char* text = r.string1;
        return {text != nullptr ? std::string(text) : std::string(), r.wparam1, result};
    }
    std::uint16_t LoadLine(std::uint16_t ident, std::uint16_t instance, const char* line) {
        PARAM_ENTRY r = Record(kLoadLine);
        r.wparam1 = ident;
        r.wparam2 = instance;
        r.string1 = const_cast<char*>(line);
        EXPECT_EQ(Call(r), 1);
        return r.wparam1;
    }
    std::string Value(std::uint16_t ident, std::uint16_t instance, std::uint16_t item) {
        dLM_DATAITEM* found = driver().instances().FindItem(ident, instance, item);
        return found == nullptr ? "<none>" : std::string(found->ext->value.view());
    }
};

TEST_F(Project, InitObjectsHandsTheLibraryToTheHostAndShowsTheFirmware) {
    WriteTestLibrary();
    WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE ON\r\n");
    Load();
    PARAM_ENTRY errtext = Record(kErrText);
    errtext.wparam1 = 1;
    ASSERT_EQ(Call(errtext), 1);
    ASSERT_NE(TheEntry().wide().message_buffer.view(), "");
    PARAM_ENTRY init = Record(kInitObjects);
    init.error = 77;
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 0);
    EXPECT_EQ(TheEntry().wide().message_buffer.view(), "") << "a clean load leaves no error text";
    EXPECT_EQ(init.wparam1, 2);
    auto* first = static_cast<dLM_OBJECT*>(init.pointer1);
    auto* tool = static_cast<dLMN_TOOL*>(init.pointer2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(first->ident, 7);
    EXPECT_EQ(first->next->ident, 8);
    EXPECT_STREQ(tool->description, "Test");
    EXPECT_EQ(window()["lBase"].text, "Pro firmware: 2.000 až 3.000"_cp);
    auto log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "pocet objektu :   2"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "INSTALLED OBJECTS:"), log.end());
    auto count_line = std::find(log.begin(), log.end(), "pocet objektu :   2");
    EXPECT_NE(std::find(count_line, log.end(), "LM ENTRY: init objects - END OK"), log.end());
    EXPECT_FALSE(fake_->busy_cursor());

    // A second init objects loads nothing and answers error 1.
    PARAM_ENTRY again = Record(kInitObjects);
    ASSERT_EQ(Call(again), 1);
    EXPECT_EQ(again.error, 1);
    EXPECT_EQ(driver().library().objects.size(), 2u);
    log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "LM ENTRY: init objects - END ERROR"), log.end());
}

TEST_F(Project, InitObjectsWithoutStartupIniWritesTheDefaultsAndSaysSo) {
    WriteTestLibrary(false);
    Load();
    PARAM_ENTRY init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 0);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(
        fake_->boxes[0].text,
        "Startovacího soubor STARTUP.INI nebyl nalezen.\rBylo použito počáteční nastavení."_cp);
    EXPECT_EQ(ReadFile(dir_.driver_dir() / "STARTUP.INI"),
              "HIDE_DIALOG OFF\r\nLOGFILE OFF\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n");
}

TEST_F(Project, InitObjectsWithoutToolsIniAnswersError1) {
    Load();
    PARAM_ENTRY init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 1);
    EXPECT_TRUE(init.pointer1 == nullptr);
}

TEST_F(Project, StartupOptionsAreAppliedToTheWindow) {
    struct Row {
        const char* startup;
        bool visible, log, status_open;
        const char* box;
        const char* box_end = "";  // after the path
    };
    const Row rows[] = {
        {"LOGFILE ON", true, true, false, nullptr},
        {"STATUS_DIALOG ON HIDE_DIALOG OFF", true, false, true, nullptr},
        {"HIDE_DIALOG ON", false, false, false, nullptr},
        {"HIDE_DIALOG on", true, false, false, "Chyba startovacího souboru\r"},
        // A comment never closed swallowed the options after it: told where it opens.
        {"HIDE_DIALOG ON\r\n  {LOGFILE ON\r\n", true, false, false, "Chyba startovacího souboru\r",
         ":2:3\rNeukončená poznámka, chybí }"},
    };
    for (const Row& row : rows) {
        SetUp();
        WriteTestLibrary();
        WriteFile(dir_.driver_dir() / "STARTUP.INI", row.startup);
        Load();
        ASSERT_EQ(Call(kInitObjects), 1);
        EXPECT_EQ(window().visible, row.visible) << row.startup;
        EXPECT_EQ(window().state == ui::WindowState::Minimized, !row.visible) << row.startup;
        EXPECT_EQ(TheEntry().wide().log.enabled(), row.log) << row.startup;
        EXPECT_EQ(window()["CheckLog"].checked, row.log) << row.startup;
        if (row.visible) {
            EXPECT_EQ(window().height, row.status_open ? 375 : 161) << row.startup;
        }
        if (row.box != nullptr) {
            ASSERT_EQ(fake_->boxes.size(), 1u);
            EXPECT_EQ(fake_->boxes[0].text, std::string(Utf8ToCp1250(row.box)) +
                                                dir_.driver_dir_text() + "STARTUP.INI" +
                                                Utf8ToCp1250(row.box_end));
        } else {
            EXPECT_TRUE(fake_->boxes.empty()) << row.startup;
        }
        TearDown();
        std::filesystem::remove(LogFile());
    }
}

TEST_F(Project, CreateDeleteAndRenumberInstances) {
    LoadTestLibrary();
    PARAM_ENTRY a = Create(7, 1);
    EXPECT_EQ(a.wparam1, 1);
    EXPECT_EQ(a.error, 0);
    auto* user = static_cast<dLM_DATAITEM*>(a.data1);
    ASSERT_NE(user, nullptr);
    EXPECT_STREQ(user->name, "A");
    PARAM_ENTRY b = Create(7, 2);
    EXPECT_EQ(driver().instances().Find(7, 2), driver().instances().head()->next);

    PARAM_ENTRY unknown = Create(99, 1);
    EXPECT_EQ(unknown.wparam1, 0);
    EXPECT_EQ(unknown.error, 3);

    // Renumbering keeps the values.
    driver().instances().FindItem(7, 1, 10)->ext->value.assign("42");
    PARAM_ENTRY renumber = Record(kSetInstance);
    renumber.wparam1 = 7;
    renumber.wparam2 = 1;
    renumber.lparam1 = 0x10005;  // only the low word counts
    renumber.wparam1 = 7;
    ASSERT_EQ(Call(renumber), 1);
    EXPECT_EQ(driver().instances().Find(7, 1), nullptr);
    EXPECT_EQ(Value(7, 5, 10), "42");
    PARAM_ENTRY missing = Record(kSetInstance);
    missing.wparam1 = 7;
    missing.wparam2 = 1;
    ASSERT_EQ(Call(missing), 1);
    EXPECT_EQ(missing.error, 4);

    // Any-instance lookups find the first record of the ident.
    EXPECT_EQ(Value(7, kAnyInstance, 10), "42");
    // Item 0xFFFF falls back to the first USER/STRING user item.
    EXPECT_EQ(driver().instances().FindItem(7, 2, kFirstUserString)->ident, 11);
    EXPECT_EQ(driver().instances().FindItem(8, 1, 20), nullptr);

    for (std::uint32_t mode : {0u, 7u}) {
        PARAM_ENTRY del = Record(kDeleteObject);
        del.wparam1 = 7;
        del.wparam2 = mode == 0 ? 5 : 2;
        del.lparam1 = mode;
        ASSERT_EQ(Call(del), 1);
        EXPECT_EQ(del.wparam1, 1);
        EXPECT_EQ(del.error, 0);
        ASSERT_EQ(Call(del), 1);
        EXPECT_EQ(del.wparam1, 0) << "a second delete finds nothing";
    }
    EXPECT_EQ(driver().instances().size(), 0u);
    (void)b;
}

TEST_F(Project, SaveHandsOutTheUserLinesInTurnAndStartsAgain) {
    LoadTestLibrary();
    Create(7, 1);
    Create(8, 1);
    const Saved expected[] = {
        {"K2_USER A = 1", 1, 1},
        {"K2_USER B = \"ab        \"", 1, 1},
        {"K2_USER C = -5", 0, 1},
        {"K2_USER A = 1", 1, 1},
    };
    // The item values as they stand: B is a string of its format's width.
    driver().instances().FindItem(7, 1, 11)->ext->value.assign("ab        ");
    for (const Saved& e : expected) {
        Saved got = Save(7, 1);
        EXPECT_EQ(got.line, e.line);
        EXPECT_EQ(got.more, e.more) << e.line;
        EXPECT_EQ(got.result, e.result) << e.line;
    }
    Saved only = Save(8, 1);
    EXPECT_EQ(only.line, "K2_USER ONLY = 9");
    EXPECT_EQ(only.more, 0);
    Saved none = Save(9, 1);
    EXPECT_EQ(none.line, "");
    EXPECT_EQ(none.more, 0);
    EXPECT_EQ(none.result, 1);

    // The host must pass string1 null: otherwise nothing is handed out.
    PARAM_ENTRY busy = Record(kSaveLine);
    busy.wparam1 = 7;
    busy.wparam2 = 1;
    char host_text[] = "x";
    busy.string1 = host_text;
    EXPECT_EQ(Call(busy), 0);
}

TEST_F(Project, LoadLineTakesValuesBackAndRefusesForeignOrBrokenLines) {
    LoadTestLibrary();
    Create(7, 1);
    struct Row {
        const char* line;
        std::uint16_t found;
        std::uint16_t item;
        const char* value;
    };
    const Row rows[] = {
        {"K2_USER A = 17", 1, 10, "17"},
        {"K2_USER B = \"two words\"", 1, 11, "two words"},
        {"K2_USER C = 33\r\n", 1, 12, "33"},
        {"K2_USER IN = 4", 1, 1, "4"},    // any of the five lists
        {"K2_USER A  = 5", 0, 10, "17"},  // two spaces: the third word is empty
        {"K1_USER A = 5", 0, 10, "17"},
        {"K2_USER", 0, 10, "17"},
        {"K2_USER NOPE = 1", 0, 10, "17"},
        {"K2_USERA=5", 0, 10, "17"},
        {"", 0, 10, "17"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LoadLine(7, 1, row.line), row.found) << row.line;
        EXPECT_EQ(Value(7, 1, row.item), row.value) << row.line;
    }
    EXPECT_EQ(LoadLine(7, 9, "K2_USER A = 1"), 0) << "unknown instance";
    EXPECT_EQ(LoadLine(7, 1, nullptr), 0) << "null line";
    std::vector<char> endless(10000, 'K');  // no zero byte in the first 255
    endless.back() = '\0';
    EXPECT_EQ(LoadLine(7, 1, endless.data()), 0);
    EXPECT_EQ(driver().project().line_buffer().view().size(), 255u);
}

TEST_F(Project, FlagChangeDatAndProjectBrackets) {
    LoadTestLibrary();
    auto flag = [&](std::uint16_t w) {
        PARAM_ENTRY r = Record(kFlagChangeDat);
        r.wparam1 = w;
        EXPECT_EQ(Call(r), 1);
        EXPECT_EQ(r.error, 0);
        return r.wparam1;
    };
    EXPECT_EQ(flag(0), 0);
    TheEntry().wide().data_changed = true;  // an object dialog was confirmed
    EXPECT_EQ(flag(0), 1);
    EXPECT_EQ(flag(1), 0);
    EXPECT_EQ(flag(0), 0);
    TheEntry().wide().data_changed = true;
    PARAM_ENTRY import = Record(kStartLoadPrj);
    import.lparam1 = 1;
    Call(import);
    EXPECT_TRUE(TheEntry().wide().data_changed) << "an import keeps the flag";
    Call(kStartLoadPrj);
    EXPECT_FALSE(TheEntry().wide().data_changed);
    EXPECT_EQ(Call(kEndLoadPrj), 1);
}

TEST_F(Project, ObjectHelpUsesTheHelpIndexItem) {
    LoadTestLibrary();
    PARAM_ENTRY help = Record(kHelpObject);
    help.wparam1 = 7;
    ASSERT_EQ(Call(help), 1);
    ASSERT_EQ(fake_->helps.size(), 1u);
    EXPECT_EQ(fake_->helps[0].file, dir_.driver_dir_text() + "SEVEN.HLP");
    EXPECT_EQ(fake_->helps[0].context, 707);

    PARAM_ENTRY data = Record(kHelpData);
    data.wparam1 = 8;
    data.wparam2 = 20;
    ASSERT_EQ(Call(data), 1);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(fake_->boxes[0].text,
              "Chyba: objekt Osm - není definována položka HELPINDEX (9999)."_cp);
    PARAM_ENTRY unknown = Record(kHelpObject);
    unknown.wparam1 = 4444;
    ASSERT_EQ(Call(unknown), 1);
    ASSERT_EQ(fake_->boxes.size(), 2u);
    EXPECT_EQ(fake_->boxes[1].text,
              "Chyba: objekt 4444 - není definována položka HELPINDEX (9999)."_cp);
    EXPECT_EQ(fake_->helps.size(), 1u);
}

// Every user item of every object of the sample library survives a save and a
// load into fresh instances.
TEST_F(Project, SampleLibraryProjectRoundTrips) {
    LoadSampleLibrary();
    std::vector<std::pair<std::uint16_t, std::vector<std::string>>> saved;
    std::uint16_t instance = 1;
    for (dLM_OBJECT* object : Chain<dLM_OBJECT>(driver().library().objects.head())) {
        Create(object->ident, instance);
        // Give every user item a value other than its default.
        int n = 0;
        for (dLM_DATAITEM* item :
             Chain<dLM_DATAITEM>(driver().instances().Find(object->ident, instance)->data_user)) {
            item->ext->value.assign(TestValue(n++));
        }
        std::vector<std::string> lines;
        for (int guard = 0; guard < 1000; ++guard) {
            Saved s = Save(object->ident, instance);
            if (!s.line.empty()) lines.push_back(s.line);
            if (s.more == 0) break;
        }
        saved.emplace_back(object->ident, lines);
    }
    // A fresh driver, the same library, the lines handed back.
    TearDown();
    SetUp();
    LoadSampleLibrary();
    std::size_t items = 0;
    for (const auto& [ident, lines] : saved) {
        Create(ident, 1);
        for (const auto& line : lines) EXPECT_EQ(LoadLine(ident, 1, line.c_str()), 1) << line;
        int n = 0;
        for (dLM_DATAITEM* item :
             Chain<dLM_DATAITEM>(driver().instances().Find(ident, 1)->data_user)) {
            EXPECT_EQ(item->ext->value.view(), TestValue(n++)) << item->name;
            ++items;
        }
    }
    EXPECT_GT(items, 20u);
}

}  // namespace
}  // namespace lm::test

namespace lm::test {
namespace {

// The host's whole order of life in one session, with the record fields the
// host reads checked after every call.
TEST_F(Project, TheWholeOrderOfLife) {
    WriteTestLibrary();
    PARAM_ENTRY identify = Record(kIdentify);
    identify.wparam1 = 3;
    identify.lparam1 = 34;
    ASSERT_EQ(Call(identify), 1);
    EXPECT_EQ(identify.wparam1, 1);
    EXPECT_EQ(identify.error, 0);

    PARAM_ENTRY load = Record(kLoadDriver);
    ASSERT_EQ(Call(load), 1);
    EXPECT_EQ(load.wparam1, 1);
    EXPECT_EQ(load.lparam1, 0u);

    PARAM_ENTRY init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 0);
    EXPECT_EQ(init.wparam1, 2);
    EXPECT_TRUE(init.pointer1 != nullptr && init.pointer2 != nullptr);

    PARAM_ENTRY menu = Record(kGetMenu);
    ASSERT_EQ(Call(menu), 1);
    EXPECT_NE(menu.lparam1, 0u);
    EXPECT_STREQ(menu.string1, "&KADEXline2");

    PARAM_ENTRY create = Create(7, 1);
    EXPECT_EQ(create.wparam1, 1);
    EXPECT_TRUE(create.data1 != nullptr);

    EXPECT_EQ(LoadLine(7, 1, "K2_USER C = 12"), 1);
    std::vector<std::string> lines;
    for (Saved s = Save(7, 1);; s = Save(7, 1)) {
        lines.push_back(s.line);
        if (s.more == 0) break;
    }
    EXPECT_EQ(lines.back(), "K2_USER C = 12");
    EXPECT_EQ(lines.size(), 3u);

    PARAM_ENTRY renumber = Record(kSetInstance);
    renumber.wparam1 = 7;
    renumber.wparam2 = 1;
    renumber.lparam1 = 2;
    renumber.error = 55;
    ASSERT_EQ(Call(renumber), 1);
    EXPECT_EQ(renumber.error, 55) << "SetInstance writes error only when it fails";
    EXPECT_EQ(Value(7, 2, 12), "12");

    PARAM_ENTRY remove = Record(kDeleteObject);
    remove.wparam1 = 7;
    remove.wparam2 = 2;
    remove.lparam1 = 2;
    ASSERT_EQ(Call(remove), 1);
    EXPECT_EQ(remove.wparam1, 1);

    PARAM_ENTRY unload = Record(kUnloadDriver);
    ASSERT_EQ(Call(unload), 1);
    EXPECT_EQ(fake_->live_menus(), 0);
    EXPECT_EQ(fake_->live_bitmaps(), 0);
    EXPECT_EQ(fake_->windows_destroyed, 1);
}

}  // namespace
}  // namespace lm::test
