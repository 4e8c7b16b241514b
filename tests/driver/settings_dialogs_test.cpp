// The communication settings in the driver window, and the settings and about
// dialogs opened from the driver menu and the window's "Co je..." button.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/cp1250.h"
#include "frame/driver_menu.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

// What the user types into an edit box. (A literal assigned in place trips a
// false overlap warning of GCC 12 here.)
void Type(ui::Form& form, const char* edit, std::string text) {
    form[edit].text = std::move(text);
}

class SettingsDialogs : public DriverFixture {
protected:
    std::filesystem::path SetCom() const { return dir_.driver_dir() / "SETCOM.INI"; }
    std::filesystem::path DialogFile() const { return dir_.driver_dir() / "DIALOG.INI"; }
    std::string LabelSetCom() { return window()["LabelSetCom"].text; }
    void Menu(std::uint16_t id) {
        PARAM_ENTRY record = Record(kMenuItem);
        record.wparam1 = id;
        ASSERT_EQ(Call(record), 1);
        EXPECT_EQ(record.error, 0);
    }
};

TEST_F(SettingsDialogs, TheWindowShowsTheActiveSettingsAsItIsCreated) {
    // The fake platform's decimal separator is the Czech one.
    struct Row {
        const char* file;
        const char* label;
    };
    const Row rows[] = {
        {"1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n192.168.1.10\r\n1998\r\n",
         "RS232, COM1, 38400Bd, adr=1, tout=1,5s"},
        {"2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n",
         "RS485, COM2, 19200Bd, adr=5, tout=2,5s"},
        {"2\r\n19200\r\n7\r\n1\r\n1\r\n10\r\n1\r\n10.0.0.3\r\n502\r\n",
         "TCP 10.0.0.3:502, adr=7, tout=10,0s"},
        {"3\r\n9600\r\n9\r\n1\r\n0\r\n0.5\r\n", "RS232, COM3, 9600Bd, adr=9, tout=0,5s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        WriteFile(SetCom(), row.file);
        Load();
        EXPECT_EQ(LabelSetCom(), row.label);
        EXPECT_TRUE(fake_->boxes.empty());
        EXPECT_EQ(fake_->beeps, 0);
        ASSERT_EQ(Call(kUnloadDriver), 1);
    }
}

TEST_F(SettingsDialogs, WithoutSetComTheWindowBeepsTellsAndShowsTheDefaults) {
    std::filesystem::remove(SetCom());
    Load();
    EXPECT_EQ(fake_->beeps, 1);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(fake_->boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(fake_->boxes[0].text, "Nenalezen soubor SETCOM.INI");
    EXPECT_EQ(LabelSetCom(), "RS232, COM1, 9600Bd, adr=1, tout=1,5s");
    EXPECT_FALSE(std::filesystem::exists(SetCom())) << "reading writes nothing";
}

TEST_F(SettingsDialogs, TheLabelIsReadAgainAfterEveryCloseOfTheSettingsDialog) {
    struct Row {
        const char* how;
        std::function<void(ui::Form&)> user;
        const char* label;
    };
    const Row rows[] = {
        {"a profile made RS485 and selected",
         [](ui::Form& f) {
             f.Fire("Button1", ui::Event::Click);  // Opravit
             f.ChooseRadio("RadioButtonRS485");
             f.Fire("RadioButtonRS485", ui::Event::Click);
             Type(f, "EditAddress", "5");
             Type(f, "EditTOut", "2,5");
             f.Fire("ButtonSave", ui::Event::Click);
             f["ComboBoxPort"].selection = 1;
             f["ComboBoxSpeed"].selection = 4;
             f.Fire("ButtonOK", ui::Event::Click);  // Vybrat
         },
         "RS485, COM2, 19200Bd, adr=5, tout=2,5s"},
        {"closed with Back: nothing written, the file read again",
         [this](ui::Form& f) {
             // Another program changed the file while the dialog was open.
             WriteFile(SetCom(), "4\r\n1200\r\n3\r\n1\r\n0\r\n1.0\r\n");
             f.Fire("ButtonCancel", ui::Event::Click);
         },
         "RS232, COM4, 1200Bd, adr=3, tout=1,0s"},
        {"dismissed without a click", [](ui::Form&) {}, "RS232, COM1, 38400Bd, adr=1, tout=1,5s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        UseSampleDriverDir();
        Load();
        fake_->modal_scripts.push_back(row.user);
        Menu(kMenuComSettings);
        EXPECT_EQ(fake_->modal_forms, std::vector<std::string>{"TSetComDlg"});
        EXPECT_EQ(LabelSetCom(), row.label);
        EXPECT_TRUE(fake_->boxes.empty());
        ASSERT_EQ(Call(kUnloadDriver), 1);
        fake_->modal_forms.clear();
    }
}

TEST_F(SettingsDialogs, SelectWritesBothFilesBeforeTheLabelIsRead) {
    UseSampleDriverDir();
    Load();
    fake_->modal_scripts.push_back([](ui::Form& f) {
        f.Fire("Button3", ui::Event::Click);  // Přidat
        Type(f, "Edit1", "Kotelna");
        f.ChooseRadio("RadioButtonTCP");
        f.Fire("RadioButtonTCP", ui::Event::Click);
        Type(f, "EditIP", "10.1.2.3");
        Type(f, "EditPort", "2000");
        f.Fire("ButtonSave", ui::Event::Click);
        f.Fire("ButtonOK", ui::Event::Click);
    });
    Menu(kMenuComSettings);
    EXPECT_EQ(LabelSetCom(), "TCP 10.1.2.3:2000, adr=1, tout=10,0s");
    EXPECT_EQ(ReadFile(SetCom()), "1\r\n38400\r\n1\r\n1\r\n0\r\n10.0\r\n1\r\n10.1.2.3\r\n2000\r\n");
    const std::string profiles = ReadFile(dir_.driver_dir() / "profiles.ini");
    EXPECT_NE(profiles.find("Name=Kotelna\r\n"), std::string::npos) << profiles;
}

TEST_F(SettingsDialogs, TheAboutDialogGetsTheIdentificationFromTheMenuAndTheButton) {
    const std::function<void()> openers[] = {
        [this] { Menu(kMenuAbout); },
        [this] { window().Fire("ButtonAbout", ui::Event::Click); },
    };
    for (const auto& open : openers) {
        Load();
        std::string label1, lab;
        bool lab_shown = true;
        fake_->modal_scripts.push_back([&](ui::Form& f) {
            label1 = f["Label1"].text;
            lab_shown = f["LabelLAB"].visible;
            f.Fire("OKBtn", ui::Event::Click);
        });
        open();
        EXPECT_EQ(fake_->modal_forms, std::vector<std::string>{"TAboutDlg"});
        EXPECT_EQ(ReadFile(DialogFile()),
                  "VORTEL KADEX-RX7 LM-Driver verze 4.05 ze dne 1.12.2005\r\n(no_lab)\r\n");
        EXPECT_EQ(label1, "VORTEL KADEX-RX7 LM-Driver verze 4.05 ze dne 1.12.2005");
        EXPECT_FALSE(lab_shown) << "no label table is loaded";
        EXPECT_TRUE(fake_->boxes.empty());
        ASSERT_EQ(Call(kUnloadDriver), 1);
        fake_->modal_forms.clear();
        std::filesystem::remove(DialogFile());
    }
}

TEST_F(SettingsDialogs, AnUnwrittenDialogIniIsReportedNoAboutDialogOpensAndTheEarlierFileStays) {
    // A write that stops halfway must not leave half an about layout behind.
    const std::string earlier = "1\r\n0\r\n1\r\n";
    for (const FileOp op : {FileOp::Open, FileOp::Write}) {
        if (op != FileOp::Open) {
            TearDown();
            SetUp();
        }
        Load();
        WriteFile(DialogFile(), earlier);
        fake_->faulty_files.Add({op, "DIALOG.INI", 1, true});
        Menu(kMenuAbout);
        EXPECT_TRUE(fake_->modal_forms.empty());
        ASSERT_EQ(fake_->boxes.size(), 1u);
        EXPECT_EQ(
            fake_->boxes[0].text.rfind(
                "Chyba I/O: soubor " + dir_.driver_dir_text() + "DIALOG.INI nelze zapsat.\r", 0),
            0u)
            << fake_->boxes[0].text;
        EXPECT_EQ(ReadFile(DialogFile()), earlier);
        EXPECT_FALSE(std::filesystem::exists(DialogFile().string() + ".tmp"));
    }
}

}  // namespace
}  // namespace lm::test
