// The object dialogs of the real LMDRIVER.DLL on screen, opened as the host
// opens them (ObjectDialog on a placed block): the analog module dialog with a
// module chosen with the mouse and a number typed and stepped, the string
// table with a text edited in place. The values are read back where the host
// reads them, in the block's user items that CreateObject handed over.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"

namespace {

namespace gui = lm::gui;

class ObjectDialogsOnScreen : public lm::test::DllHost {
protected:
    ObjectDialogsOnScreen() : DllHost("lmguiobj-") {}

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

    void LoadLine(std::uint16_t ident, std::uint16_t instance, const char* line) {
        PARAM_ENTRY r = Record(22);
        r.wparam1 = ident;
        r.wparam2 = instance;
        r.string1 = const_cast<char*>(line);
        EXPECT_EQ(entry_(&r), 1);
        EXPECT_EQ(r.wparam1, 1) << line;
    }

    // ObjectDialog on the block while `user` plays the form captioned
    // `caption`; false when that form never showed.
    bool DialogWithUser(std::uint16_t ident, std::uint16_t instance, const wchar_t* caption,
                        const std::function<void(HWND form)>& user) {
        long long ms = 0;
        const bool shown = gui::PlayForm(
            caption, user,
            [&] {
                PARAM_ENTRY r = Record(18);
                r.wparam1 = ident;
                r.wparam2 = instance;
                EXPECT_EQ(entry_(&r), 1);
            },
            &ms);
        if (shown)
            std::printf("dialog of block %u/%u on screen after %lld ms\n", ident, instance, ms);
        return shown;
    }

    static HWND Control(HWND form, const wchar_t* name) {
        HWND control = gui::FindControl(form, name);
        EXPECT_NE(control, nullptr) << std::filesystem::path(name).string();
        return control;
    }
    static void Keys(HWND edit, const wchar_t* keys) {
        for (const wchar_t* k = keys; *k != 0; ++k) SendMessageW(edit, WM_CHAR, *k, 0);
    }
    // Opens the combo box's list and clicks item `item` in it.
    static void ClickModule(HWND combo, int item) {
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        Sleep(100);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        RECT r{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
        SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
        Sleep(100);
    }
};

TEST_F(ObjectDialogsOnScreen, TheAnalogDialogTakesAModuleAndATypedNumberThatTheArrowKeysLeave) {
    gui::BoxWatcher boxes;
    const dLM_DATAITEM* user = Place(11, 1);
    LoadLine(11, 1, "K2_USER LINEARISATION = \"AB\"");
    LoadLine(11, 1, "K2_USER MAX0 = 150.00");
    std::wstring typed, after_letter, stepped, module;
    bool min_disabled = false;
    const bool shown = DialogWithUser(11, 1, L"Nastavení analogových vstupů", [&](HWND form) {
        EXPECT_TRUE(gui::Screenshot(form, "analog-dialog"));
        ClickModule(Control(form, L"ComboBox3"), 7);
        module = gui::Text(Control(form, L"ComboBox3"));
        min_disabled = IsWindowEnabled(Control(form, L"FloatEdit7")) == FALSE;
        HWND edit = Control(form, L"FloatEdit10");  // channel 3's min
        SendMessageW(edit, EM_SETSEL, 0, -1);
        Keys(edit, L"-20");
        typed = gui::Text(edit);
        Keys(edit, L"x");  // refused with a beep
        after_letter = gui::Text(edit);
        EXPECT_TRUE(gui::Screenshot(form, "float-edit-refuses-a-letter"));
        SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 0);
        stepped = gui::Text(edit);
        SendMessageW(Control(form, L"OKBtn"), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(shown);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(module.substr(0, 5), L"proud") << "module G chosen with the mouse";
    EXPECT_TRUE(min_disabled);
    EXPECT_EQ(typed, L"-20");
    EXPECT_EQ(after_letter, L"-20");
    EXPECT_EQ(stepped, L"-20");  // Increment 0: the arrow keys step nothing
    EXPECT_EQ(Value(user, 69), "ABG000");
    EXPECT_EQ(Value(user, 37), "       0.00");  // module G's min
    EXPECT_EQ(Value(user, 36), "      20.00");
    EXPECT_EQ(Value(user, 40), "     -20.00");
    EXPECT_EQ(Value(user, 30), "     150.00");  // module A's range
    PARAM_ENTRY flag = Record(24);
    flag.wparam1 = 1;  // saved: the flag cleared
    ASSERT_EQ(entry_(&flag), 1);
    // Opened again (the form built anew) and left with Zpět: nothing changes.
    ASSERT_TRUE(DialogWithUser(11, 1, L"Nastavení analogových vstupů", [&](HWND form) {
        ClickModule(Control(form, L"ComboBox1"), 0);
        SendMessageW(Control(form, L"CancelBtn"), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ(Value(user, 69), "ABG000");
    EXPECT_EQ(Value(user, 30), "     150.00");
    flag = Record(24);
    ASSERT_EQ(entry_(&flag), 1);
    EXPECT_EQ(flag.wparam1, 0);
}

TEST_F(ObjectDialogsOnScreen, TheStringTableTakesATextEditedInPlace) {
    const dLM_DATAITEM* user = Place(60, 1);
    std::wstring count;
    const bool shown = DialogWithUser(60, 1, L"TEXTY.1", [&](HWND form) {
        HWND grid = Control(form, L"StringGrid1");
        HWND editor = FindWindowExW(grid, nullptr, L"Edit", nullptr);
        ASSERT_NE(editor, nullptr);
        SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Porucha kotle č. 2"));
        if (auto label = gui::Drawn(form, L"Label1")) count = label->text;
        EXPECT_TRUE(gui::Screenshot(form, "string-table"));
        SendMessageW(Control(form, L"OKBtn"), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(count, L"TEXT1 - zbývá 1 znaků");
    EXPECT_EQ(Value(user, 100), "Porucha kotle \xE8. 2");
    EXPECT_EQ(Value(user, 108), "Vysok\xE1 teplota");
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_object_dialog_tests");
}
