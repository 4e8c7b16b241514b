// CwOutput: the dialog filled from the instances, the user's answer read back
// into the items and the files, the boxes of the failed cases, and the file
// names kept for the next export.
#include "dialogs/cw_output.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "dialogs/cw_out_dlg.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_log.h"
#include "tests/unit/exports/exports_test_support.h"

namespace lm::dialogs {
namespace {

TEST(CwOutput, PortText) {
    settings::TComSettings s = test::SampleSettings();
    s.TimeOut = 1.5;
    EXPECT_EQ(CwPortText(s), "COM2 38400Bd RS485, Adresa=5, Retranslace=7, Timeout=1.5s");
    s.RS485 = false;
    EXPECT_EQ(CwPortText(s), "COM2 38400Bd RS232, Adresa=5, Retranslace=7, Timeout=1.5s");
}

TEST(CwOutput, DialogAnswers) {
    struct Case {
        const char* name;
        std::function<void(ui::Form&)> user;
        bool settings_readable;
        std::string box;  // empty: none
        bool files_written;
    };
    auto ok_with_first_ticked = [](ui::Form& form) {
        auto& dlg = static_cast<TCWOutDlg&>(form);
        dlg.Button1Click();
        dlg["CheckListBox1"].item_checks[0] = true;
        dlg["EditCWname"].text = "c:\\out\\k.cw";
        dlg.OKBtnClick();
    };
    const Case cases[] = {
        {"OK", ok_with_first_ticked, true, "", true},
        {"Cancel", [](ui::Form& form) { form.Close(ui::ModalResult::Cancel); }, true, "", false},
        {"nothing ticked",
         [](ui::Form& form) {
             auto& dlg = static_cast<TCWOutDlg&>(form);
             dlg.Button1Click();
             dlg.OKBtnClick();
         },
         true, std::string("Není vybrána žádná položka pro nadřízený systém."_cp), false},
        {"no settings", ok_with_first_ticked, false,
         std::string("Chyba při čtení souboru pro nastavení komunikace."_cp), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePlatform platform;
        test::MemoryFiles files;
        test::RecordingLog log;
        InstanceList instances;
        ASSERT_NE(test::Place(instances, 13, 1), nullptr);
        CwOutput output(ServiceContext{platform, files, log, "c:\\LUMAR\\KADEX2\\"}, [&] {
            return c.settings_readable ? std::optional(test::SampleSettings()) : std::nullopt;
        });
        platform.modal_scripts.push_back(c.user);
        output.GenerateControlWeb(instances);

        ASSERT_EQ(platform.modal_forms, std::vector<std::string>{"TCWOutDlg"});
        EXPECT_EQ(log.lines.front(), "CW_OUT data convert end");
        EXPECT_EQ(log.lines[1], "CW_OUT add \"DO8.1.Q0 (WRITE bit)\"");
        EXPECT_EQ(log.lines.back(), "CW_OUT parameters loaded from dialog");
        if (c.box.empty()) {
            EXPECT_TRUE(platform.boxes.empty());
        } else {
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text, c.box);
        }
        EXPECT_EQ(!files.files.empty(), c.files_written);
        if (c.files_written) {
            EXPECT_NE(files["c:\\out\\k.cw"].find("  DO8_1_Q0 = boolean, 100, kadex, output, 0;"),
                      std::string::npos);
            EXPECT_EQ(files["c:\\out\\k.cw"].find("DO8_1_Q1"), std::string::npos);
            EXPECT_TRUE(files.Exists("c:\\novy.par"));
            EXPECT_FALSE(files.Exists("c:\\novy.cp"));  // not ticked at first
            EXPECT_EQ(output.file_names()[kCwProgram], "c:\\out\\k.cw");
            ASSERT_EQ(platform.programs.size(), 3u);  // Notepad with each written file
        }
    }
}

}  // namespace
}  // namespace lm::dialogs
