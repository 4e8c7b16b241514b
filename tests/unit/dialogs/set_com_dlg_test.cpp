// The communication settings dialog driven headless: its controls set as the
// user sets them and its handlers called as the renderer calls them.
#include "dialogs/set_com_dlg.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/cp1250.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"

namespace lm::dialogs {
namespace {

constexpr const char kSetCom[] = "D/SETCOM.INI";
constexpr const char kProfiles[] = "D/profiles.ini";
// RS485 on COM2 at 19200 Bd, address 5, relay 7, 2.5 s.
constexpr const char kActive[] = "2\r\n19200\r\n5\r\n7\r\n1\r\n2.5\r\n0\r\n10.0.0.7\r\n502\r\n";
constexpr CpText kThreeProfiles =
    "[main]\r\ncount=3\r\nposition=1\r\n"
    "[profile000]\r\nName=Kotelna\r\nComPort=1\r\nComSpeed=9600\r\nTimeOut=1,5\r\nAddress=1\r\n"
    "Retranslation=1\r\nRS485=0\r\nTCP=0\r\nTCPPort=1998\r\nTCPIP=192.168.1.10\r\n"
    "[profile001]\r\nName=Výměník\r\nComPort=3\r\nComSpeed=4800\r\nTimeOut=3\r\nAddress=9\r\n"
    "Retranslation=2\r\nRS485=1\r\nTCP=0\r\nTCPPort=1998\r\nTCPIP=192.168.1.10\r\n"
    "[profile002]\r\nName=Dálkový\r\nComPort=1\r\nComSpeed=38400\r\nTimeOut=10\r\nAddress=4\r\n"
    "Retranslation=1\r\nRS485=0\r\nTCP=1\r\nTCPPort=8000\r\nTCPIP=10.1.2.3\r\n"_cp;

class SetComDialog : public ::testing::Test {
protected:
    TSetComDlg& Open() {
        dialog_ = std::make_unique<TSetComDlg>(platform_, files_, "D/", log_);
        return *dialog_;
    }
    void Click(const char* control) { dialog_->Fire(control, ui::Event::Click); }
    void Type(const char* control, std::string text) {
        (*dialog_)[control].text = std::move(text);
        dialog_->Fire(control, ui::Event::Change);
    }
    void ClickItem(int item) {
        (*dialog_)["ListBox1"].selection = item;
        Click("ListBox1");
    }
    void Radio(const char* radio) {
        dialog_->ChooseRadio(radio);
        Click(radio);
    }
    std::string Text(const char* control) { return (*dialog_)[control].text; }
    std::vector<std::string> Items() { return (*dialog_)["ListBox1"].items; }
    int Selected() { return (*dialog_)["ListBox1"].selection; }
    bool Enabled(const char* control) { return dialog_->Usable((*dialog_)[control]); }
    bool Shown(const char* control) { return dialog_->Showing((*dialog_)[control]); }
    // The files as they are: a test that expects nothing written compares them.
    std::map<std::string, std::string> Files() const { return files_.files; }

    test::MemoryFiles files_;
    test::FakePlatform platform_;
    NoLog log_;
    std::unique_ptr<TSetComDlg> dialog_;
};

TEST_F(SetComDialog, OpensWithTheProfileNameAndTheActiveSettingsInBrowseMode) {
    files_.files[kSetCom] = kActive;
    files_.files[kProfiles] = kThreeProfiles;
    TSetComDlg& d = Open();
    EXPECT_EQ(d.caption, "Nastavení komunikace"_cp);
    EXPECT_EQ(d.width, 420);
    EXPECT_EQ(d.height, 316);
    EXPECT_EQ(Items(), (std::vector<std::string>{"Kotelna", "Výměník"_cp, "Dálkový"_cp}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Text("Edit1"), "Výměník"_cp);
    // The rest shows the active settings, not the profile's.
    EXPECT_EQ(Text("ComboBoxPort"), "COM2");
    EXPECT_EQ(Text("ComboBoxSpeed"), "19200");
    EXPECT_EQ(Text("EditAddress"), "5");
    EXPECT_EQ(Text("EditRetra"), "7");
    EXPECT_EQ(Text("EditTOut"), "2,5");
    EXPECT_EQ(Text("EditIP"), "10.0.0.7");
    EXPECT_EQ(Text("EditPort"), "502");
    EXPECT_TRUE(d["RadioButtonRS485"].checked);
    EXPECT_FALSE(d.edit_mode());
    for (const char* c : {"ListBox1", "ButtonOK", "Button1", "Button2", "Button3"}) {
        EXPECT_TRUE(Enabled(c)) << c;
    }
    for (const char* c :
         {"Edit1", "RadioButtonRS232", "RadioButtonTCP", "RadioButtonModem", "EditAddress",
          "EditRetra", "EditTOut", "ComboBoxPort", "ComboBoxSpeed", "EditIP", "EditPort"}) {
        EXPECT_FALSE(Enabled(c)) << c;
    }
    EXPECT_FALSE(Shown("ButtonSave"));
    EXPECT_FALSE(Shown("LabelErr"));
    EXPECT_TRUE(Shown("Image1"));
    EXPECT_FALSE(Shown("Image2"));
    EXPECT_TRUE(platform_.boxes.empty());

    // Back in browse mode closes without writing.
    const auto before = Files();
    Click("ButtonCancel");
    EXPECT_EQ(d.modal_result, ui::ModalResult::Cancel);
    EXPECT_EQ(Files(), before);
}

TEST_F(SetComDialog, WithoutFilesOneDefaultProfileOfTheDefaultSettings) {
    Open();
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text, "Nenalezen soubor SETCOM.INI");
    EXPECT_EQ(platform_.beeps, 1);
    EXPECT_EQ(Items(), std::vector<std::string>{"_default"});
    EXPECT_EQ(Text("Edit1"), "_default");
    EXPECT_EQ(Text("ComboBoxSpeed"), "9600");
    EXPECT_EQ(Text("EditTOut"), "1,5");
    EXPECT_EQ(dialog_->profiles().entries[0].ComSpeed, 9600);
}

TEST_F(SetComDialog, SelectRewritesASixLineFileInNineLinesAndSavesTheProfiles) {
    files_.files[kSetCom] = "3\r\n4800\r\n1\r\n1\r\n0\r\n1.0\r\n";
    Open();
    EXPECT_EQ(Text("EditIP"), settings::kDefaultIP);
    EXPECT_EQ(Text("EditPort"), "1998");
    Click("ButtonOK");
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Ok);
    EXPECT_EQ(files_[kSetCom], "3\r\n4800\r\n1\r\n1\r\n0\r\n1.0\r\n0\r\n192.168.1.10\r\n1998\r\n");
    EXPECT_EQ(files_[kProfiles],
              "[main]\r\ncount=1\r\nposition=0\r\n[profile000]\r\nName=_default\r\nComPort=3\r\n"
              "ComSpeed=4800\r\nTimeOut=1\r\nAddress=1\r\nRetranslation=1\r\nRS485=0\r\nTCP=0\r\n"
              "TCPPort=1998\r\nTCPIP=192.168.1.10\r\n");
}

TEST_F(SetComDialog, UnreadableValuesShowTheirDefaults) {
    // A time-out that is no number is 1.5 s; a speed not offered shows 38400.
    files_.files[kSetCom] = "1\r\n31250\r\n1\r\n1\r\n0\r\npomalu\r\n";
    files_.files[kProfiles] =
        "[main]\r\ncount=2\r\nposition=0\r\n[profile000]\r\nName=A\r\nComSpeed=250\r\nComPort="
        "12\r\n";
    Open();
    EXPECT_EQ(Text("EditTOut"), "1,5");
    EXPECT_EQ(Text("ComboBoxSpeed"), "38400");
    // Count 2 without a section for profile 1: named after the section.
    EXPECT_EQ(Items(), (std::vector<std::string>{"A", "profile001"}));
    ClickItem(0);
    EXPECT_EQ(Text("ComboBoxSpeed"), "38400");
    EXPECT_EQ(Text("ComboBoxPort"), "COM1");
    ClickItem(1);
    EXPECT_EQ(Text("Edit1"), "profile001");
    EXPECT_EQ(Text("EditTOut"), "10,0");
    EXPECT_EQ(Text("EditPort"), "1998");
}

TEST_F(SetComDialog, SelectRefusesBadAddressesTimeOutsAndTcpTargets) {
    files_.files[kSetCom] = kActive;
    files_.files[kProfiles] = kThreeProfiles;
    struct Case {
        const char* what;
        const char* address;
        const char* retranslation;
        const char* timeout;
        bool tcp;
        const char* ip;
        const char* port;
        bool accepted;
    };
    const Case cases[] = {
        {"address 0", "0", "1", "1", false, "1.2.3.4", "1", false},
        {"address 256", "256", "1", "1", false, "1.2.3.4", "1", false},
        {"relay 0", "1", "0", "1", false, "1.2.3.4", "1", false},
        {"time-out not a number", "1", "1", "1s", false, "1.2.3.4", "1", false},
        {"three parts", "1", "1", "1", true, "1.2.3", "1", false},
        {"a part above 255", "1", "1", "1", true, "1.2.3.256", "1", false},
        {"five parts", "1", "1", "1", true, "1.2.3.4.5", "1", false},
        {"an empty part", "1", "1", "1", true, "1..3.4", "1", false},
        {"no port", "1", "1", "1", true, "1.2.3.4", "", false},
        {"a port above 65535", "1", "1", "1", true, "1.2.3.4", "65536", false},
        {"IP and port unchecked without TCP", "255", "255", "0,5", false, "x", "x", true},
        {"four zeros", "1", "1", "1", true, "0.0.0.0", "80", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files_.files[kSetCom] = kActive;
        Open();
        platform_.boxes.clear();
        // The controls are enabled only in edit mode; the user's values go in directly.
        (*dialog_)["EditAddress"].text = c.address;
        (*dialog_)["EditRetra"].text = c.retranslation;
        (*dialog_)["EditTOut"].text = c.timeout;
        (*dialog_)["EditIP"].text = c.ip;
        (*dialog_)["EditPort"].text = c.port;
        dialog_->ChooseRadio(c.tcp ? "RadioButtonTCP" : "RadioButtonRS232");
        const auto before = Files();
        Click("ButtonOK");
        if (c.accepted) {
            EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Ok);
            EXPECT_TRUE(platform_.boxes.empty());
            EXPECT_NE(files_[kSetCom], kActive);
        } else {
            EXPECT_EQ(dialog_->modal_result, ui::ModalResult::None);
            ASSERT_EQ(platform_.boxes.size(), 1u);
            EXPECT_EQ(platform_.boxes[0].text, "Chyba zadání parametrů profilu !"_cp);
            EXPECT_EQ(Files(), before) << "nothing written";
            // The selected profile is shown again.
            EXPECT_EQ(Text("EditAddress"), "9");
            EXPECT_EQ(Text("EditTOut"), "3,0");
        }
    }
    EXPECT_EQ(files_[kSetCom], "2\r\n19200\r\n1\r\n1\r\n0\r\n1.0\r\n1\r\n0.0.0.0\r\n80\r\n");
}

TEST_F(SetComDialog, AddSaveAndSelectWriteBothFiles) {
    files_.files[kSetCom] = kActive;
    files_.files[kProfiles] = kThreeProfiles;
    Open();
    Click("Button3");
    EXPECT_TRUE(dialog_->edit_mode());
    EXPECT_EQ(Items().back(), "<nový profil>"_cp);
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Text("EditTOut"), "10,0");
    EXPECT_TRUE(Shown("ButtonSave"));
    EXPECT_FALSE(Enabled("ListBox1"));
    EXPECT_TRUE(Enabled("ComboBoxPort"));
    EXPECT_FALSE(Enabled("EditIP"));

    Type("Edit1", "Čerpací stanice Žďár"_cp);
    Radio("RadioButtonTCP");
    EXPECT_TRUE(Enabled("EditIP"));
    EXPECT_FALSE(Enabled("ComboBoxPort"));
    EXPECT_TRUE(Shown("Image2"));
    EXPECT_FALSE(Shown("Image1"));
    Type("EditIP", "192.168.7.20");
    Type("EditPort", "2000");
    Type("EditAddress", "12");
    Type("EditTOut", "0,5");
    const auto before = Files();
    Click("ButtonSave");
    EXPECT_FALSE(dialog_->edit_mode());
    EXPECT_EQ(Files(), before) << "Save keeps the profile in the dialog";
    EXPECT_EQ(dialog_->profiles().count, 4);
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Items().back(), "Čerpací stanice Žďár"_cp);

    Click("ButtonOK");
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Ok);
    EXPECT_EQ(files_[kSetCom],
              "1\r\n38400\r\n12\r\n1\r\n0\r\n0.5\r\n1\r\n192.168.7.20\r\n2000\r\n");
    EXPECT_EQ(files_[kProfiles],
              std::string(kThreeProfiles).replace(8, 21, "count=4\r\nposition=3\r\n") +
                  "[profile003]\r\nName=Čerpací stanice Žďár\r\nComPort=1\r\nComSpeed=38400\r\n"
                  "TimeOut=0,5\r\nAddress=12\r\nRetranslation=1\r\nRS485=0\r\nTCP=1\r\n"
                  "TCPPort=2000\r\nTCPIP=192.168.7.20\r\n"_cp);
}

TEST_F(SetComDialog, AnInvalidSaveShowsTheErrorLabelAndKeepsTheProfile) {
    files_.files[kProfiles] = kThreeProfiles;
    files_.files[kSetCom] = kActive;
    Open();
    ClickItem(0);
    Click("Button1");
    Type("Edit1", "Jiné jméno"_cp);
    Type("EditRetra", "256");
    Click("ButtonSave");
    EXPECT_TRUE(Shown("LabelErr"));
    EXPECT_TRUE(dialog_->edit_mode());
    EXPECT_EQ(dialog_->profiles().entries[0].Name, "Kotelna") << "a failed save changes nothing";
    EXPECT_EQ(Items()[0], "Kotelna");
    Type("EditRetra", "255");
    Click("ButtonSave");
    EXPECT_FALSE(Shown("LabelErr"));
    EXPECT_FALSE(dialog_->edit_mode());
    EXPECT_EQ(dialog_->profiles().entries[0].Retranslation, 255);
    EXPECT_EQ(Items()[0], "Jiné jméno"_cp);

    // Closing now writes nothing, saved profile or not.
    const auto before = Files();
    Click("ButtonCancel");
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Cancel);
    EXPECT_EQ(Files(), before);
}

TEST_F(SetComDialog, AddThenBackLeavesTheListAsItWas) {
    files_.files[kProfiles] = kThreeProfiles;
    files_.files[kSetCom] = kActive;
    Open();
    ClickItem(2);
    Click("Button3");
    Type("EditAddress", "77");
    Click("ButtonCancel");
    EXPECT_FALSE(dialog_->edit_mode());
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::None);
    EXPECT_EQ(Items().size(), 3u);
    EXPECT_EQ(dialog_->profiles().count, 3);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Text("Edit1"), "Dálkový"_cp);
    EXPECT_EQ(Text("EditAddress"), "4");
    EXPECT_FALSE(Enabled("EditIP")) << "browse mode";

    // Modify then Back discards the edits too.
    Click("Button1");
    Type("EditAddress", "99");
    Click("ButtonCancel");
    EXPECT_EQ(Text("EditAddress"), "4");
}

TEST_F(SetComDialog, DeleteAsksAndKeepsAtLeastOneProfile) {
    files_.files[kProfiles] = kThreeProfiles;
    files_.files[kSetCom] = kActive;
    Open();
    ClickItem(0);
    platform_.QueueAnswer(BoxAnswer::No);
    Click("Button2");
    EXPECT_EQ(Items().size(), 3u);
    platform_.QueueAnswer(BoxAnswer::Yes);
    Click("Button2");
    ASSERT_EQ(platform_.boxes.size(), 2u);
    EXPECT_EQ(platform_.boxes[1].kind, BoxKind::Question);
    EXPECT_EQ(platform_.boxes[1].text, "Smazat profil \"Kotelna\" ?");
    EXPECT_EQ(Items(), (std::vector<std::string>{"Výměník"_cp, "Dálkový"_cp}));
    EXPECT_EQ(dialog_->profiles().position, 0);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Text("Edit1"), "Výměník"_cp);
    EXPECT_EQ(Text("EditAddress"), "9");

    Click("Button2");
    Click("Button2");
    EXPECT_EQ(Items(), std::vector<std::string>{"Dálkový"_cp});
    EXPECT_EQ(platform_.boxes.back().text, "V seznamu musí být alespoň 1 profil."_cp);
    EXPECT_EQ(platform_.boxes.back().kind, BoxKind::Error);

    // Select saves one profile; the sections of the deleted ones stay in the file.
    Click("ButtonOK");
    const std::string saved = files_[kProfiles];
    EXPECT_EQ(saved.substr(0, 32), "[main]\r\ncount=1\r\nposition=0\r\n[pr");
    EXPECT_NE(saved.find("[profile000]\r\nName=Dálkový\r\n"_cp), std::string::npos);
    EXPECT_NE(saved.find("[profile002]\r\nName=Dálkový\r\n"_cp), std::string::npos);
}

TEST_F(SetComDialog, AFullTableRefusesAdd) {
    std::string full = "[main]\r\ncount=501\r\nposition=500\r\n";
    files_.files[kProfiles] = full;
    files_.files[kSetCom] = kActive;
    Open();
    ASSERT_EQ(Items().size(), 501u);
    Click("Button3");
    EXPECT_FALSE(dialog_->edit_mode());
    EXPECT_EQ(Items().size(), 501u);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text, "V seznamu může být nejvýše 501 profilů."_cp);
}

TEST_F(SetComDialog, DoubleClickSelectsHelpOpensItsContextAndFailedWritesAreShown) {
    files_.files[kProfiles] = kThreeProfiles;
    files_.files[kSetCom] = kActive;
    Open();
    Click("HelpBtn");
    ASSERT_EQ(platform_.helps.size(), 1u);
    EXPECT_EQ(platform_.helps[0].file, "D/LMRX7.HLP");
    EXPECT_EQ(platform_.helps[0].context, 13004);

    files_.read_only.insert(kSetCom);
    ClickItem(2);
    dialog_->Fire("ListBox1", ui::Event::DoubleClick);
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::None) << "stays open to try again";
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text.substr(0, 32), "Soubor SETCOM.INI nelze zapsat.\r");
    EXPECT_EQ(files_[kProfiles], std::string(kThreeProfiles));

    files_.read_only.clear();
    dialog_->Fire("ListBox1", ui::Event::DoubleClick);
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Ok);
    EXPECT_EQ(files_[kSetCom], "1\r\n38400\r\n4\r\n1\r\n0\r\n10.0\r\n1\r\n10.1.2.3\r\n8000\r\n");
}

}  // namespace
}  // namespace lm::dialogs
