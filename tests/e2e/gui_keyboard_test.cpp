// The dialogs of the real LMDRIVER.DLL driven with real keys: xdotool presses
// them through the X server, the dialog's own message loop takes them as it
// takes a user's. Each flow is a row: the keys and what they leave behind in
// the driver's files or in the block's values, where the host reads them.
// Every flow ends with the dialog closed by its keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_keys.h"
#include "tests/e2e/gui/gui_support.h"

namespace {

namespace gui = lm::gui;
using gui::Keys;
using gui::KeyStep;
using gui::Typed;

constexpr wchar_t kAnalog[] = L"Nastavení analogových vstupů";

class KeysOnScreen : public lm::test::DllHost {
protected:
    KeysOnScreen() : DllHost("lmguikey-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        CopyIntoDriverDir(LM_SAMPLE_DRIVER_DIR);
        OpenDriver(true);
        gui::Pump(100);
    }

    void TearDown() override {
        UnloadDriver();
        DllHost::TearDown();
    }

    // The form captioned `caption` that `show` (an entry call) opens, given
    // `steps` at the keyboard; the name of the focused control before the
    // first key goes to `first_focus`. True when the keys closed it.
    static bool PlayKeys(const wchar_t* caption, const std::vector<KeyStep>& steps,
                         const std::function<void()>& show, std::wstring* first_focus = nullptr) {
        bool closed = false;
        const bool shown = gui::PlayForm(
            caption,
            [&](HWND form) {
                if (first_focus != nullptr) {
                    gui::WaitUntil([&] { return IsChild(form, gui::FocusIn(form)) != FALSE; });
                    *first_focus = gui::FocusedControl(form);
                }
                std::string error;
                EXPECT_TRUE(gui::PressKeys(form, steps, &error)) << error;
                // A form closes within a few messages of its key; a row whose key
                // missed must not take the time of the rows after it.
                closed = gui::WaitUntil([&] { return !IsWindowVisible(form); }, 5000);
            },
            show);
        EXPECT_TRUE(shown) << "the dialog showed";
        return shown && closed;
    }

    bool MenuWithKeys(std::uint16_t id, const wchar_t* caption, const std::vector<KeyStep>& steps,
                      std::wstring* first_focus = nullptr) {
        return PlayKeys(
            caption, steps,
            [&] {
                PARAM_ENTRY menu = Record(9);
                menu.wparam1 = id;
                EXPECT_EQ(entry_(&menu), 1);
            },
            first_focus);
    }

    // The host's "data changed?" call, then the flag cleared as after a save.
    bool DataChanged() {
        PARAM_ENTRY flag = Record(24);
        EXPECT_EQ(entry_(&flag), 1);
        PARAM_ENTRY clear = Record(24);
        clear.wparam1 = 1;
        EXPECT_EQ(entry_(&clear), 1);
        return flag.wparam1 != 0;
    }
    bool ObjectDialogWithKeys(std::uint16_t ident, std::uint16_t instance, const wchar_t* caption,
                              const std::vector<KeyStep>& steps,
                              std::wstring* first_focus = nullptr) {
        return PlayKeys(
            caption, steps,
            [&] {
                PARAM_ENTRY r = Record(18);
                r.wparam1 = ident;
                r.wparam2 = instance;
                EXPECT_EQ(entry_(&r), 1);
            },
            first_focus);
    }
};

std::string Startup(const char* hide, const char* log, const char* status) {
    return std::string("HIDE_DIALOG ") + hide + "\r\nLOGFILE " + log + "\r\nSTATUS_DIALOG " +
           status + "\r\nLAB (no_lab)\r\n";
}

TEST_F(KeysOnScreen, TheStartUpOptionsAreChosenWithArrowsSpaceAndEnter) {
    // The sample's options, read anew by init objects before each flow: log
    // on, status on, the window shown.
    struct Flow {
        const char* what;
        std::vector<KeyStep> keys;
        std::string startup;
    };
    const Flow flows[] = {
        {"Space ticks the first box, Enter is OK",
         {Keys("space Return")},
         Startup("ON", "ON", "ON")},
        {"arrows move along the boxes",
         {Keys("Down space Down space Return")},
         Startup("OFF", "OFF", "OFF")},
        {"Up from the first box wraps to the last",
         {Keys("Up space Return")},
         Startup("OFF", "OFF", "ON")},
        {"Escape is Zpět", {Keys("space Escape")}, Startup("OFF", "ON", "ON")},
        {"Alt+Z is Zpět", {Keys("space alt+z")}, Startup("OFF", "ON", "ON")},
        {"Alt+O is OK", {Keys("space alt+o")}, Startup("ON", "ON", "ON")},
        {"Tab reaches OK", {Keys("space Tab Tab Tab Return")}, Startup("ON", "ON", "ON")},
        {"Enter on a focused Zpět is Zpět",
         {Keys("space Tab Tab Tab Tab Return")},
         Startup("OFF", "ON", "ON")},
        {"Shift+Tab goes back to Zpět",
         {Keys("space shift+Tab Return")},
         Startup("OFF", "ON", "ON")},
    };
    const std::string sample = Read("STARTUP.INI");
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        UnloadDriver();
        std::ofstream(DriverFile("STARTUP.INI"), std::ios::binary) << sample;
        OpenDriver(true);
        std::wstring focus;
        EXPECT_TRUE(MenuWithKeys(3009, L"Ovladač po startu...", flow.keys, &focus));
        EXPECT_EQ(focus, L"CHB_hidedialog") << "the focus starts in the first field";
        EXPECT_EQ(Read("STARTUP.INI"), flow.startup);
    }
}

TEST_F(KeysOnScreen, TheAboutDialogClosesWithEnterOrEscape) {
    for (const char* key : {"Return", "Escape", "space", "alt+F4"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(MenuWithKeys(3008, L"O ovladači pro LUMAR", {Keys(key)}));
    }
}

TEST_F(KeysOnScreen, TheSettingsAreChangedAndConfirmedWithKeysOnly) {
    struct Flow {
        const char* what;
        std::vector<KeyStep> keys;
        std::string setcom;    // empty: nothing written
        const char* profiles;  // a line the profiles written hold
    };
    const std::string before = Read("SETCOM.INI");
    const Flow flows[] = {
        {"the next profile chosen with Down, Enter is Vybrat",
         {Keys("Down Return")},
         "2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n",
         "position=1\r\n"},
        {"Escape closes, nothing written", {Keys("Down Escape")}, "", nullptr},
        {"a profile added: its name typed, RS485 chosen with an arrow, saved with Alt+U",
         {Keys("alt+p"), Typed("Kotel"), Keys("Tab Down alt+u Return")},
         "1\r\n38400\r\n1\r\n1\r\n1\r\n10.0\r\n0\r\n192.168.1.10\r\n1998\r\n",
         "Name=Kotel\r\n"},
        {"Escape leaves edit mode, a second Escape closes",
         {Keys("alt+o"), Typed("X"), Keys("Escape Escape")},
         "",
         nullptr},
    };
    const std::string profiles = Read("profiles.ini");
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        std::ofstream(DriverFile("SETCOM.INI"), std::ios::binary) << before;
        std::ofstream(DriverFile("profiles.ini"), std::ios::binary) << profiles;
        std::wstring focus;
        EXPECT_TRUE(MenuWithKeys(3004, L"Nastavení komunikace", flow.keys, &focus));
        EXPECT_EQ(focus, L"ListBox1") << "the first field that takes the focus";
        EXPECT_EQ(Read("SETCOM.INI"), flow.setcom.empty() ? before : flow.setcom);
        if (flow.setcom.empty()) {
            EXPECT_EQ(Read("profiles.ini"), profiles);
        } else {
            EXPECT_NE(Read("profiles.ini").find(flow.profiles), std::string::npos)
                << Read("profiles.ini");
        }
    }
}

TEST_F(KeysOnScreen, TheObjectDialogsAreEditedWithKeys) {
    struct Flow {
        const char* what;
        std::uint16_t ident;
        const wchar_t* caption;
        const wchar_t* first_focus;
        std::vector<KeyStep> keys;
        std::uint16_t item;
        std::string value;  // empty: as it was before
        bool changed;
    };
    const Flow flows[] = {
        {"Tab, Tab to channel 0's max, a number, Enter",
         18,
         kAnalog,
         L"ComboBox1",
         {Keys("Tab Tab"), Typed("120"), Keys("Return")},
         22,
         "     120.00",
         true},
        {"the same left with Escape",
         18,
         kAnalog,
         L"ComboBox1",
         {Keys("Tab Tab"), Typed("120"), Keys("Escape")},
         22,
         "",
         false},
        {"Shift+Tab back to the min, Alt+O",
         18,
         kAnalog,
         L"ComboBox1",
         {Keys("Tab Tab shift+Tab"), Typed("-5"), Keys("alt+o")},
         23,
         "      -5.00",
         true},
        {"a module chosen with Down",
         18,
         kAnalog,
         L"ComboBox1",
         {Keys("Down Return")},
         69,
         "A00000000000",
         true},
        {"a text typed over the first row",
         60,
         L"TEXTY.1",
         L"StringGrid1",
         {Typed("Kotel"), Keys("Return")},
         100,
         "Kotel",
         true},
        {"Down to the second row",
         60,
         L"TEXTY.1",
         L"StringGrid1",
         {Keys("Down"), Typed("Hot"), Keys("Return")},
         108,
         "Hot",
         true},
        {"a text typed and left with Escape",
         60,
         L"TEXTY.1",
         L"StringGrid1",
         {Typed("Kotel"), Keys("Escape")},
         100,
         "",
         false},
    };
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        const dLM_DATAITEM* user = Place(flow.ident, 1);
        const std::string before = Value(user, flow.item);
        DataChanged();
        std::wstring focus;
        EXPECT_TRUE(ObjectDialogWithKeys(flow.ident, 1, flow.caption, flow.keys, &focus));
        EXPECT_EQ(focus, flow.first_focus) << "the focus starts in the first field";
        EXPECT_EQ(Value(user, flow.item), flow.value.empty() ? before : flow.value);
        EXPECT_EQ(DataChanged(), flow.changed);
        PARAM_ENTRY remove = Record(14);
        remove.wparam1 = flow.ident;
        remove.wparam2 = 1;
        EXPECT_EQ(entry_(&remove), 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_keyboard_tests");
}
