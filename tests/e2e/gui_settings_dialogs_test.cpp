// The communication settings and about dialogs of the real LMDRIVER.DLL on
// screen, opened from the driver menu as the host opens them. The entry call
// runs the modal dialog on this thread; a player thread is the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"

namespace {

namespace gui = lm::gui;

// What a label the form does not draw shows: nothing.
lm::win32::DrawnControlQuery Unseen() {
    return {};
}

class SettingsDialogsOnScreen : public lm::test::DllHost {
protected:
    SettingsDialogsOnScreen() : DllHost("lmguiset-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        // RS232 at first, so that the label shows the change.
        Write("SETCOM.INI", "1\r\n9600\r\n1\r\n1\r\n0\r\n1.5\r\n");
        // The dialogs' pictures, from the sample driver directory.
        for (const auto& entry : std::filesystem::directory_iterator(LM_SAMPLE_DRIVER_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.size() > 4 && name.substr(name.size() - 4) == ".BMP")
                std::filesystem::copy_file(entry.path(), DriverFile(name.c_str()));
        }
        OpenDriver(false);
        window_ = driver_window_;
        gui::Pump(100);
    }

    void TearDown() override {
        UnloadDriver();
        DllHost::TearDown();
    }

    // Menu item `id` through the entry while `user` plays the form captioned
    // `caption`; false when that form never showed.
    bool MenuWithUser(std::uint16_t id, const wchar_t* caption,
                      const std::function<void(HWND form)>& user) {
        return gui::PlayForm(caption, user, [&] {
            PARAM_ENTRY menu = Record(9);
            menu.wparam1 = id;
            EXPECT_EQ(entry_(&menu), 1);
        });
    }

    static HWND Control(HWND form, const wchar_t* name) {
        HWND control = gui::FindControl(form, name);
        EXPECT_NE(control, nullptr) << std::filesystem::path(name).string();
        return control;
    }
    static void Press(HWND form, const wchar_t* name) {
        SendMessageW(Control(form, name), BM_CLICK, 0, 0);
    }
    static void Type(HWND form, const wchar_t* name, const wchar_t* text) {
        SendMessageW(Control(form, name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    static void Choose(HWND form, const wchar_t* name, int item) {
        HWND combo = Control(form, name);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    static std::wstring DecimalSeparator() {
        wchar_t separator[8] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
        return separator;
    }

    HWND window_ = nullptr;
};

TEST_F(SettingsDialogsOnScreen, AProfileAddedSavedAndSelectedBecomesTheActiveSettings) {
    gui::BoxWatcher boxes;
    const std::wstring sep = DecimalSeparator();
    EXPECT_EQ(gui::Text(gui::FindControl(window_, L"LabelSetCom")),
              L"RS232, COM1, 9600Bd, adr=1, tout=1" + sep + L"5s");
    bool error_label_shown = false;
    const bool shown = MenuWithUser(3004, L"Nastavení komunikace", [&](HWND form) {
        EXPECT_TRUE(gui::Screenshot(form, "settings-dialog-browse"));
        Press(form, L"Button3");  // Přidat
        Type(form, L"Edit1", L"Čerpací stanice Žďár");
        Press(form, L"RadioButtonRS485");
        Choose(form, L"ComboBoxPort", 1);
        Choose(form, L"ComboBoxSpeed", 4);
        Type(form, L"EditAddress", L"??");
        Type(form, L"EditTOut", (L"2" + sep + L"5").c_str());
        Press(form, L"ButtonSave");  // refused: the address is no number
        error_label_shown = gui::Drawn(form, L"LabelErr").value_or(Unseen()).shown;
        EXPECT_TRUE(gui::Screenshot(form, "settings-dialog-edit-error"));
        Type(form, L"EditAddress", L"5");
        Press(form, L"ButtonSave");
        EXPECT_FALSE(gui::Drawn(form, L"LabelErr").value_or(Unseen()).shown);
        Press(form, L"ButtonOK");  // Vybrat
    });
    ASSERT_TRUE(shown) << "the settings dialog showed";
    EXPECT_TRUE(error_label_shown) << "LabelErr after a refused save";
    EXPECT_TRUE(boxes.Boxes().empty());

    EXPECT_EQ(Read("SETCOM.INI"),
              "2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n");
    const std::string profiles = Read("profiles.ini");
    EXPECT_NE(profiles.find("count=2\r\n"), std::string::npos) << profiles;
    EXPECT_NE(profiles.find("position=1\r\n"), std::string::npos) << profiles;
    EXPECT_NE(profiles.find("Name=\xC8"
                            "erpac\xED stanice \x8E\xEF\xE1r\r\n"),
              std::string::npos)
        << "the name in CP1250";
    EXPECT_EQ(gui::Text(gui::FindControl(window_, L"LabelSetCom")),
              L"RS485, COM2, 19200Bd, adr=5, tout=2" + sep + L"5s");
    EXPECT_TRUE(gui::Screenshot(window_, "driver-window-settings"));
}

TEST_F(SettingsDialogsOnScreen, TheAboutDialogShowsTheIdentification) {
    std::wstring identification;
    const bool shown = MenuWithUser(3008, L"O ovladači pro LUMAR", [&](HWND form) {
        identification = gui::Drawn(form, L"Label1").value_or(Unseen()).text;
        EXPECT_TRUE(gui::Screenshot(form, "about-dialog"));
        Press(form, L"OKBtn");
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(identification, L"VORTEL KADEX-RX7 LM-Driver verze 4.05 ze dne 1.12.2005");
    EXPECT_EQ(Read("DIALOG.INI"),
              "VORTEL KADEX-RX7 LM-Driver verze 4.05 ze dne 1.12.2005\r\n(no_lab)\r\n");
}

TEST_F(SettingsDialogsOnScreen, CoJeOpensTheAboutDialogToo) {
    bool shown = false;
    std::thread player([&] {
        for (int i = 0; i < 500 && !shown; ++i) {
            HWND form = FindWindowW(L"LMForm", L"O ovladači pro LUMAR");
            if (form != nullptr && IsWindowVisible(form)) {
                shown = true;
                SendMessageW(gui::FindControl(form, L"OKBtn"), BM_CLICK, 0, 0);
            }
            Sleep(10);
        }
    });
    // The click runs the modal dialog on this thread, inside the button's handler.
    SendMessageW(gui::FindControl(window_, L"ButtonAbout"), BM_CLICK, 0, 0);
    player.join();
    EXPECT_TRUE(shown);
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_settings_tests");
}
