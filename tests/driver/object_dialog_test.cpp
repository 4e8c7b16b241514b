// ObjectDialog through LumarDriver_Entry: the analog module dialog, the
// KAVLIN.EXE tool and the string table on placed blocks, the values back in
// the instance and DataChanged as FlagChangeDat hands it to the host.
#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "dialogs/dlg_house.h"
#include "instances/lookups.h"
#include "platform/headless/form_steps.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

class ObjectDialogEntry : public DriverFixture {
protected:
    void Create(std::uint16_t ident, std::uint16_t instance) {
        PARAM_ENTRY r = Record(kCreateObject);
        r.wparam1 = ident;
        r.wparam2 = instance;
        ASSERT_EQ(Call(r), 1);
    }
    // ObjectDialog with the user's steps in the form it shows.
    int Open(std::uint16_t ident, std::uint16_t instance, std::string steps = "") {
        fake_->modal_scripts.push_back(
            [steps](ui::Form& form) { EXPECT_EQ(PlayFormSteps(form, steps), "") << form.name(); });
        PARAM_ENTRY r = Record(kObjectDialog);
        r.wparam1 = ident;
        r.wparam2 = instance;
        r.error = 7;
        const int result = Call(r);
        EXPECT_EQ(r.error, result == 1 ? 0 : 7);
        return result;
    }
    std::string Value(std::uint16_t ident, std::uint16_t instance, std::uint16_t item) {
        dLM_DATAITEM* i = driver().instances().FindItem(ident, instance, item);
        return i == nullptr ? "<none>" : std::string(i->ext->value.view());
    }
    void SetValue(std::uint16_t ident, std::uint16_t instance, std::uint16_t item,
                  std::string_view text) {
        driver().instances().FindItem(ident, instance, item)->ext->value.assign(text);
    }
    bool Changed() {
        PARAM_ENTRY r = Record(kFlagChangeDat);
        Call(r);
        return r.wparam1 == 1;
    }
};

TEST_F(ObjectDialogEntry, AnalogBlockPreselectsModulesAndWritesTheChannelsBack) {
    LoadSampleLibrary();
    Create(11, 1);
    SetValue(11, 1, 69, "AB");
    SetValue(11, 1, 31, "  -2.5");  // channel 0's own min, hidden by module A
    SetValue(11, 1, 40, "abc");     // channel 3's min: no number
    SetValue(11, 1, 50, "10100000");
    ASSERT_EQ(Open(11, 1, "set FloatEdit7 1,25\nset e_counter 00000011\npress OKBtn"), 1);
    // Modules A and B bring their ranges; channels 2 to 5 have the first module.
    EXPECT_EQ(Value(11, 1, 69), "AB0000");
    EXPECT_EQ(Value(11, 1, 31), "     -50.00");
    EXPECT_EQ(Value(11, 1, 30), "     150.00");
    EXPECT_EQ(Value(11, 1, 33), "     400.00");
    EXPECT_EQ(Value(11, 1, 37), "       1.25");
    EXPECT_EQ(Value(11, 1, 36), "     100.00");
    EXPECT_EQ(Value(11, 1, 40), "       0.00");
    EXPECT_EQ(Value(11, 1, 50), "00000011");
    EXPECT_EQ(fake_->modal_forms, std::vector<std::string>{"TDlgHouse"});
    EXPECT_TRUE(Changed());
}

TEST_F(ObjectDialogEntry, ANumberTheItemsCannotHoldIsRefusedAndTheDialogStaysOpen) {
    // Channel 0 of AI6: FloatEdit1 min (item 31), FloatEdit2 max (30),
    // FloatEdit3 correction (62); all FLOAT items (an IEEE single).
    struct Row {
        const char* field;
        std::uint16_t item;
        std::string typed;
        const char* stored;  // nullptr: refused, the item keeps its value
    };
    // A first character and `count` more of `rest` (built with append: GCC 12
    // warns falsely on a literal + std::string here).
    auto typed = [](char first, std::size_t count, char rest) {
        std::string text(1, first);
        text.append(count, rest);
        return text;
    };
    const Row rows[] = {
        {"FloatEdit2", 30, typed('9', 299, '9'), nullptr},
        {"FloatEdit3", 62, typed('4', 38, '0'), nullptr},  // 4e38
        {"FloatEdit1", 31, typed('-', 80, '1'), nullptr},
        {"FloatEdit1", 31, typed('1', 9, '0'), "1000000000.00"},
        {"FloatEdit2", 30, "150", "     150.00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.substr(0, 12));
        SetUp();
        LoadSampleLibrary();
        Create(11, 1);
        SetValue(11, 1, 69, "");  // no module: the range can be typed
        const std::string before = Value(11, 1, row.item);
        bool stayed_open = false, wants_focus = false;
        fake_->modal_scripts.push_back([&](ui::Form& form) {
            EXPECT_EQ(PlayFormSteps(form, std::string("set ") + row.field + " " + row.typed +
                                              "\npress OKBtn"),
                      "");
            stayed_open = form.modal_result == ui::ModalResult::None;
            wants_focus = form[row.field].number.wants_focus;
            if (stayed_open) form.Close(ui::ModalResult::Cancel);
        });
        PARAM_ENTRY r = Record(kObjectDialog);
        r.wparam1 = 11;
        r.wparam2 = 1;
        ASSERT_EQ(Call(r), 1);
        EXPECT_EQ(stayed_open, row.stored == nullptr);
        EXPECT_EQ(wants_focus, row.stored == nullptr);
        EXPECT_EQ(Value(11, 1, row.item), row.stored == nullptr ? before : row.stored);
        EXPECT_EQ(Changed(), row.stored != nullptr);
        EXPECT_TRUE(fake_->boxes.empty());
        TearDown();
    }
}

TEST_F(ObjectDialogEntry, AModuleWhoseRangeTheItemsCannotHoldIsLeftOutAndTold) {
    LoadSampleLibrary();
    Create(11, 1);
    std::string modules = ReadFile(dir_.driver_dir() / "cai_modul.cfg");
    const std::string line = "Z obrovsky rozsah" + std::string(28, ' ') + "0 1e300\r\n";
    WriteFile(dir_.driver_dir() / "cai_modul.cfg", modules + "\r\n" + line);
    std::size_t offered = 0;
    fake_->modal_scripts.push_back([&](ui::Form& form) {
        offered = form["ComboBox1"].items.size();
        form.Close(ui::ModalResult::Cancel);
    });
    PARAM_ENTRY r = Record(kObjectDialog);
    r.wparam1 = 11;
    r.wparam2 = 1;
    ASSERT_EQ(Call(r), 1);
    EXPECT_EQ(offered, 13u);  // the sample's 13 modules, not the 14th
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_NE(fake_->boxes[0].text.find(
                  ": rozsah domečku nelze uložit do položek bloku, domeček je vynechán."_cp),
              std::string::npos)
        << fake_->boxes[0].text;
}

TEST_F(ObjectDialogEntry, TwelveChannelsOwnRangeIsWrittenInElevenCharacters) {
    LoadSampleLibrary();
    Create(18, 2);
    SetValue(18, 2, 69, "");
    ASSERT_EQ(Open(18, 2, "set FloatEdit1 4,5\nset FloatEdit36 -0,126\npress OKBtn"), 1);
    EXPECT_EQ(Value(18, 2, 23), "       4.50");
    EXPECT_EQ(Value(18, 2, 67), "      -0.13");  // channel 11's correction
    EXPECT_EQ(Value(18, 2, 69), "000000000000");
}

TEST_F(ObjectDialogEntry, CancelLeavesTheBlockAndDataChangedAlone) {
    LoadSampleLibrary();
    Create(11, 1);
    Create(60, 1);
    ASSERT_FALSE(Changed());
    const std::string codes = Value(11, 1, 69), max = Value(11, 1, 30);
    const std::string text = Value(60, 1, 100);
    ASSERT_EQ(Open(11, 1, "select ComboBox1 3\nset FloatEdit3 9\npress CancelBtn"), 1);
    ASSERT_EQ(Open(60, 1, "cell StringGrid1 1 1 jiny text\npress CancelBtn"), 1);
    EXPECT_EQ(Value(11, 1, 69), codes);
    EXPECT_EQ(Value(11, 1, 30), max);
    EXPECT_EQ(Value(60, 1, 100), text);
    EXPECT_FALSE(Changed());
}

TEST_F(ObjectDialogEntry, AnalogBlockWithoutLinearisationItemSaysSo) {
    LoadSampleLibrary();
    Create(11, 1);
    // The item taken out of the instance's lists as a damaged block would lack it.
    dLM_DATAITEM* item = driver().instances().FindItem(11, 1, 69);
    item->ident = 9;
    ASSERT_EQ(Open(11, 1), 1);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(fake_->boxes[0].text, "Nenalezena položka LINEARISATION (ID=69) !"_cp);
    EXPECT_TRUE(fake_->modal_forms.empty());
    fake_->modal_scripts.clear();
}

TEST_F(ObjectDialogEntry, KavlinStartsForInstancesOneToFourAndAToolThatFailsIsTold) {
    struct Row {
        std::uint16_t instance;
        bool settings;           // SETCOM.INI present
        int shell_result;        // what the shell answers
        const char* parameters;  // the tool started with, nullptr: none started
        const char* box;         // the one box shown, nullptr: none
    };
    const Row rows[] = {
        {4, true, 42, "2 19200 5 7 1 2.5 4", nullptr},
        {1, true, 42, "2 19200 5 7 1 2.5 1", nullptr},
        {5, true, 42, nullptr, nullptr},
        {1, false, 42, nullptr, "Nenalezen soubor SETCOM.INI"},
        // The settings are read before the instance is looked at.
        {5, false, 42, nullptr, "Nenalezen soubor SETCOM.INI"},
        {2, true, 2, "2 19200 5 7 1 2.5 2", "Chyba (kód 2) během startu KAVLIN.EXE."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "instance " << row.instance << " result "
                                        << row.shell_result << " settings " << row.settings);
        SetUp();
        LoadSampleLibrary();
        Create(155, row.instance);
        if (row.settings) {
            WriteFile(dir_.driver_dir() / "SETCOM.INI", "2\r\n19200\r\n5\r\n7\r\n1\r\n2.5\r\n");
        } else {
            std::filesystem::remove(dir_.driver_dir() / "SETCOM.INI");
        }
        fake_->shell_result = row.shell_result;
        ASSERT_EQ(Open(155, row.instance), 1);
        if (row.parameters == nullptr) {
            EXPECT_TRUE(fake_->programs.empty());
        } else {
            ASSERT_EQ(fake_->programs.size(), 1u);
            EXPECT_EQ(fake_->programs[0].file, dir_.driver_dir_text() + "KAVLIN.EXE");
            EXPECT_EQ(fake_->programs[0].parameters, row.parameters);
            EXPECT_EQ(fake_->programs[0].directory, "");
            EXPECT_EQ(fake_->programs[0].show, ShowMode::Normal);
        }
        ASSERT_EQ(fake_->boxes.size(), row.box == nullptr ? 0u : 1u);
        if (row.box != nullptr) {
            EXPECT_EQ(fake_->boxes[0].text, Utf8ToCp1250(row.box));
        }
        EXPECT_TRUE(fake_->modal_forms.empty());
        fake_->modal_scripts.clear();
        TearDown();
    }
}

// Object 1: three texts then a number; object 2: 34 texts; object 3 without SPECDIAL.
std::vector<std::string> TextLibrary() {
    auto text = [](int ident, int subindex) {
        return "ITEM IDENT " + std::to_string(ident) + " JMENO \"T" + std::to_string(ident) +
               "\" TYP USER SUBTYP STRING DELKA 40 FORMAT \"?\" SUBINDEX " +
               std::to_string(subindex) + " DEFAULT \"puvodni " + std::to_string(ident) +
               "\" ATRIBUTY ( JEDEF ) ITEM_END ";
    };
    std::string three = "OBJECT IDENT 1 JMENO \"TRI\" ATRIBUTY ( SPECDIAL ) DATA_USER " +
                        text(10, 8) + text(11, 12) + text(12, 16) +
                        "ITEM IDENT 13 JMENO \"N\" TYP BYTE DELKA 1 FORMAT \"999\" DEFAULT \"5\" "
                        "ATRIBUTY ( JEDEF ) ITEM_END " +
                        text(14, 20) + "DATA_USER_END OBJECT_END\r\n";
    std::string many = "OBJECT IDENT 2 JMENO \"MNOHO\" ATRIBUTY ( SPECDIAL ) DATA_USER ";
    for (int i = 0; i < 34; ++i) many += text(100 + i, 20);
    many += "DATA_USER_END OBJECT_END\r\n";
    return {
        three, many,
        "OBJECT IDENT 3 JMENO \"BEZ\" DATA_USER " + text(1, 8) + "DATA_USER_END OBJECT_END\r\n"};
}

class TextItemsEntry : public ObjectDialogEntry {
protected:
    void SetUp() override {
        ObjectDialogEntry::SetUp();
        WriteFile(dir_.driver_dir() / "TOOLS.INI",
                  "TOOL ID 1 OBJECTS T1.DEF T2.DEF T3.DEF END_OBJECTS END_TOOL\r\n");
        const std::vector<std::string> objects = TextLibrary();
        for (std::size_t i = 0; i < objects.size(); ++i) {
            std::string name(1, 'T');
            name += std::to_string(i + 1);
            name += ".DEF";
            WriteFile(dir_.driver_dir() / name, objects[i]);
        }
        WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE ON\r\n");
        Load();
        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        ASSERT_EQ(init.error, 0);
        for (std::uint16_t ident : {1, 2, 3}) Create(ident, 3);
        ASSERT_EQ(driver().instances().size(), 3u);
    }
    std::string HandedOver() { return ReadFile(dir_.driver_dir() / "DIALOG.INI"); }
};

TEST_F(TextItemsEntry, TheRunOfTextsIsEditedAndTheNumberAfterItUntouched) {
    SetValue(1, 3, 11, std::string(60, 'L'));  // longer than a row shows
    ASSERT_EQ(Open(1, 3, "cell StringGrid1 1 1 novy\npress OKBtn"), 1);
    EXPECT_EQ(HandedOver(), "TRI.3\r\n16\r\nT10\r\nnovy\r\nT11\r\n" + std::string(40, 'L') +
                                "\r\nT12\r\npuvodni 12\r\n");
    EXPECT_EQ(Value(1, 3, 10), "novy");
    EXPECT_EQ(Value(1, 3, 11), std::string(60, 'L'));  // not touched: kept whole
    EXPECT_EQ(Value(1, 3, 13), "5");
    EXPECT_EQ(Value(1, 3, 14), "puvodni 14");
    EXPECT_TRUE(Changed());
}

TEST_F(TextItemsEntry, MoreThanThirtyTwoTextsShowTheFirstAndTellTheUser) {
    ASSERT_EQ(Open(2, 3, "cell StringGrid1 1 32 posledni\npress OKBtn"), 1);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_NE(fake_->boxes[0].text.find("34"), std::string::npos);
    EXPECT_EQ(Value(2, 3, 131), "posledni");
    EXPECT_EQ(Value(2, 3, 133), "puvodni 133");
}

TEST_F(TextItemsEntry, ARewrittenHandOverFileIsTakenAsItReads) {
    // Between the dialog's write and the caller's read, the file loses its last rows.
    fake_->modal_scripts.push_back([this](ui::Form& form) {
        form.Close(ui::ModalResult::Ok);
        WriteFile(dir_.driver_dir() / "DIALOG.INI", "TRI.3\r\n16\r\nT10\r\nruka\r\n");
    });
    PARAM_ENTRY r = Record(kObjectDialog);
    r.wparam1 = 1;
    r.wparam2 = 3;
    ASSERT_EQ(Call(r), 1);
    EXPECT_EQ(Value(1, 3, 10), "ruka");
    EXPECT_EQ(Value(1, 3, 11), "puvodni 11");
}

TEST_F(TextItemsEntry, BlocksWithoutSpecialDialogAreLeftToTheHost) {
    EXPECT_EQ(Open(3, 3), 0);
    EXPECT_EQ(Open(1, 9), 0);  // no such instance
    EXPECT_TRUE(fake_->modal_forms.empty());
    fake_->modal_scripts.clear();
}

}  // namespace
}  // namespace lm::test
