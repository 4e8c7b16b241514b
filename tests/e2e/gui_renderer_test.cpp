// The form renderer on screen under Wine and Xvfb: a form with every control
// kind becomes real windows; clicks and changes made with window messages reach
// the model and the form's handlers, and what the handlers change reaches the
// windows; modal forms run until a handler closes them; a long memo follows
// its lines without being rewritten.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "base/cp1250.h"
#include "platform/win32/form_renderer.h"
#include "tests/e2e/gui/gui_keys.h"
#include "tests/e2e/gui/gui_support.h"
#include "ui/float_edit.h"

namespace lm {
namespace {

using ui::ControlKind;
using ui::Event;

ui::Control& Place(ui::Form& form, const char* name, ControlKind kind, ui::Rect bounds,
                   std::string text = "", std::string parent = "") {
    ui::Control c;
    c.name = name;
    c.kind = kind;
    c.bounds = bounds;
    c.text = std::move(text);
    c.parent = std::move(parent);
    return form.Add(std::move(c));
}

// A 32 x 32 bitmap file of one colour.
std::string WriteBitmap(const std::string& windows_path, std::uint8_t r, std::uint8_t g,
                        std::uint8_t b) {
    constexpr int kSide = 32;
    std::string bytes;
    auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const std::uint32_t pixels = kSide * kSide * 3;
    bytes += "BM";
    put(54 + pixels, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(kSide, 4);
    put(kSide, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixels, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int i = 0; i < kSide * kSide; ++i) {
        bytes += static_cast<char>(b);
        bytes += static_cast<char>(g);
        bytes += static_cast<char>(r);
    }
    std::ofstream(windows_path, std::ios::binary) << bytes;
    return windows_path;
}

// A form with every control kind and a handler on every event that counts
// what fired.
class AllKinds : public ui::Form {
public:
    AllKinds() : ui::Form("TAllKinds", "Všechny prvky – ěščřžýáíé"_cp, 430, 340) {
        left = 40;
        top = 40;
        Place(*this, "Label1", ControlKind::Label, {8, 8, 100, 13}, "Příliš žluťoučký kůň"_cp);
        auto& run =
            Place(*this, "LabelRun", ControlKind::Label, {150, 8, 99, 13}, "  REŽIM \"RUN\"  "_cp);
        run.bold = true;
        run.text_colour = ui::kYellow;
        run.back_colour = ui::kRed;
        Place(*this, "CheckBox1", ControlKind::CheckBox, {8, 28, 150, 17},
              "Zaškrtávací políčko"_cp);
        Place(*this, "GroupBox1", ControlKind::GroupBox, {8, 50, 180, 70}, "Připojení"_cp);
        Place(*this, "Radio1", ControlKind::RadioButton, {8, 18, 150, 17}, "RS232", "GroupBox1")
            .checked = true;
        Place(*this, "Radio2", ControlKind::RadioButton, {8, 42, 150, 17}, "RS485", "GroupBox1");
        auto& edit = Place(*this, "Edit1", ControlKind::Edit, {200, 28, 120, 21}, "192.168.1.10");
        edit.hint = "Cílová adresa (1 až 255)"_cp;
        edit.max_length = 15;
        Place(*this, "Memo1", ControlKind::Memo, {200, 56, 220, 60}).vertical_scroll = true;
        auto& list_combo = Place(*this, "ComboBox1", ControlKind::ComboBox, {8, 128, 120, 21});
        list_combo.read_only = true;
        list_combo.items = {"COM1", "COM2", "COM3", "COM4"};
        list_combo.selection = 0;
        list_combo.hint = "Výběr komunikačního portu COM"_cp;
        auto& text_combo = Place(*this, "ComboBox2", ControlKind::ComboBox, {140, 128, 100, 21});
        text_combo.items = {"1200", "9600", "38400"};
        text_combo.text = "9600";
        text_combo.selection = 1;
        Place(*this, "ListBox1", ControlKind::ListBox, {8, 156, 120, 60}).items = {
            "profil A", "profil B", "profil Č"_cp};
        auto& checks =
            Place(*this, "CheckListBox1", ControlKind::CheckListBox, {140, 156, 120, 60});
        checks.items = {"vstup 1", "výstup 2"_cp, "čítač 3"_cp};
        checks.item_checks = {true, false, true};
        auto& grid = Place(*this, "StringGrid1", ControlKind::StringGrid, {270, 124, 150, 104});
        grid.SetGridSize(2, 4);
        grid.column_widths = {60, 80};
        grid.row_height = 18;
        grid.fixed_pitch = true;
        grid.editing = true;
        grid.Cell(0, 0) = "Položka"_cp;
        grid.Cell(1, 0) = "76543210";
        grid.Cell(0, 1) = "text 1";
        grid.Cell(1, 1) = "žlutý"_cp;
        grid.Cell(0, 2) = "text 2";
        grid.Cell(1, 2) = "kůň"_cp;
        grid.Cell(0, 3) = "text 3";
        Place(*this, "ProgressBar1", ControlKind::ProgressBar, {8, 226, 250, 16}).position = 40;
        Place(*this, "Image1", ControlKind::Image, {270, 236, 32, 32});
        Place(*this, "ButtonOK", ControlKind::Button, {8, 280, 75, 25}, "&OK").default_button =
            true;
        Place(*this, "ButtonCancel", ControlKind::Button, {90, 280, 75, 25}, "&Zpět"_cp)
            .cancel_button = true;

        for (const auto& c : controls()) {
            for (Event e : {Event::Click, Event::Change, Event::DoubleClick, Event::ClickCheck,
                            Event::SelectCell}) {
                std::string name = c->name;
                On(name, e, [this, name, e] { fired.emplace_back(name, e); });
            }
        }
        // What a handler changes shows on the screen.
        On("Edit1", Event::Change, [this] {
            fired.emplace_back("Edit1", Event::Change);
            (*this)["Label1"].text = "Zadáno: "_cp + (*this)["Edit1"].text;
        });
        On("ButtonOK", Event::Click, [this] {
            fired.emplace_back("ButtonOK", Event::Click);
            Close(ui::ModalResult::Ok);
        });
        On("ButtonCancel", Event::Click, [this] {
            fired.emplace_back("ButtonCancel", Event::Click);
            Close(ui::ModalResult::Cancel);
        });
    }

    std::vector<std::pair<std::string, Event>> fired;
};

class Renderer : public ::testing::Test {
protected:
    void Show() {
        window_ = std::make_unique<win32::FormWindow>(form_, win32::FormWindow::Options{});
        ASSERT_TRUE(window_->ok());
        window_->Sync();
        gui::Pump(50);
    }
    HWND Control(const char* name) {
        HWND control = gui::FindControl(window_->hwnd(), std::wstring(name, name + strlen(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    // A notification as the control sends it to its form after a user's action.
    void Notify(const char* name, int code) {
        HWND control = Control(name);
        SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                     reinterpret_cast<LPARAM>(control));
    }
    void ClickAt(HWND window, int x, int y) {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    bool Fired(const char* name, Event event) {
        for (const auto& [n, e] : form_.fired) {
            if (n == name && e == event) return true;
        }
        return false;
    }

    AllKinds form_;
    std::unique_ptr<win32::FormWindow> window_;
};

TEST_F(Renderer, EveryControlKindBecomesAWindowWhereTheTableSaysItLies) {
    const auto bitmap = std::filesystem::temp_directory_path() / "lm-renderer-image.bmp";
    form_["Image1"].picture = WriteBitmap(bitmap.string(), 0, 0, 255);
    Show();
    std::filesystem::remove(bitmap);  // the picture is loaded
    struct Case {
        const char* name;
        const wchar_t* window_class;
        LONG style;              // bits that must be set
        RECT at;                 // in the form's client area
        bool fits_text = false;  // wider when the font makes the text wider
    };
    const Case cases[] = {
        {"Label1", L"Static", SS_NOTIFY, {8, 8, 108, 21}, true},
        {"LabelRun", L"Static", SS_NOTIFY, {150, 8, 249, 21}, true},  // bold
        {"CheckBox1", L"Button", BS_AUTOCHECKBOX, {8, 28, 158, 45}},
        {"GroupBox1", L"Button", BS_GROUPBOX, {8, 50, 188, 120}},
        {"Radio1", L"Button", BS_RADIOBUTTON, {16, 68, 166, 85}},  // inside the group box
        {"Radio2", L"Button", BS_RADIOBUTTON, {16, 92, 166, 109}},
        {"Edit1", L"Edit", ES_AUTOHSCROLL, {200, 28, 320, 49}},
        {"Memo1", L"Edit", ES_MULTILINE | WS_VSCROLL, {200, 56, 420, 116}},
        {"ComboBox1", L"ComboBox", CBS_DROPDOWNLIST, {8, 128, 128, 149}},
        {"ComboBox2", L"ComboBox", CBS_DROPDOWN, {140, 128, 240, 149}},
        {"ListBox1", L"ListBox", LBS_NOTIFY, {8, 156, 128, 216}},
        {"CheckListBox1", L"ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, {140, 156, 260, 216}},
        {"StringGrid1", L"LMStringGrid", WS_TABSTOP, {270, 124, 420, 228}},
        {"ProgressBar1", L"msctls_progress32", 0, {8, 226, 258, 242}},
        {"Image1", L"Static", SS_OWNERDRAW, {270, 236, 302, 268}},
        {"ButtonOK", L"Button", BS_DEFPUSHBUTTON, {8, 280, 83, 305}},
        {"ButtonCancel", L"Button", 0, {90, 280, 165, 305}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.name);
        ASSERT_NE(control, nullptr);
        wchar_t window_class[64] = {};
        GetClassNameW(control, window_class, 64);
        EXPECT_EQ(_wcsicmp(window_class, c.window_class), 0);
        EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & c.style, c.style);
        RECT r = gui::RectInParent(control);
        EXPECT_EQ(r.left, c.at.left);
        EXPECT_EQ(r.top, c.at.top);
        // A label takes the width of its text (it adds no margin) where the
        // text needs more than its place, in whatever font it is drawn with.
        EXPECT_EQ(r.right, c.fits_text ? c.at.left + std::max(c.at.right - c.at.left,
                                                              gui::TextWidth(control))
                                       : c.at.right);
        EXPECT_EQ(r.bottom, c.at.bottom);
        if (std::string(c.name).rfind("ComboBox", 0) == 0) {
            RECT open{};
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&open));
            EXPECT_GT(open.bottom - open.top, 4 * 13) << "the open list shows several lines";
        }
        int place = 0;
        while (form_.controls()[static_cast<std::size_t>(place)]->name != c.name) ++place;
        EXPECT_EQ(GetDlgCtrlID(control), win32::kFirstControlId + place) << "ids follow the table";
    }
    EXPECT_EQ(gui::Text(window_->hwnd()), L"Všechny prvky – ěščřžýáíé");
    EXPECT_EQ(gui::Text(Control("Label1")), L"Příliš žluťoučký kůň");
    EXPECT_EQ(gui::Text(Control("GroupBox1")), L"Připojení");
    EXPECT_EQ(SendMessageW(Control("Radio1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control("Radio2"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(Control("ComboBox1"), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(Control("ComboBox1"), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(gui::Text(Control("ComboBox2")), L"9600");
    EXPECT_EQ(SendMessageW(Control("ListBox1"), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(Control("ProgressBar1"), PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(SendMessageW(Control("Edit1"), EM_GETLIMITTEXT, 0, 0), 15);

    // The grid's font is a fixed-pitch one; the others are the form's.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("StringGrid1"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(font.lfCharSet, EASTEUROPE_CHARSET);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("LabelRun"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    // The GUI prefix draws them with fonts of its own, whatever the machine has:
    // Wine's MS Sans Serif with Czech letters, and Liberation Mono for Courier New.
    gui::Face form_face = gui::RealizedFace(Control("Label1"));
    EXPECT_EQ(form_face.name, L"MS Sans Serif") << "no Central European MS Sans Serif: ./lm setup";
    EXPECT_EQ(form_face.family, L"") << "a bitmap face";
    EXPECT_EQ(gui::RealizedFace(Control("StringGrid1")).family, L"Liberation Mono");

    // The grid edits its current cell in place.
    HWND editor = GetWindow(Control("StringGrid1"), GW_CHILD);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(gui::Text(editor), L"žlutý");

    // The picture is drawn at the image's top left.
    gui::Pump(100);
    HDC dc = GetDC(window_->hwnd());
    EXPECT_EQ(GetPixel(dc, 280, 246), RGB(0, 0, 255));
    ReleaseDC(window_->hwnd(), dc);

    EXPECT_TRUE(gui::Screenshot(window_->hwnd(), "renderer-all-kinds"));
}

TEST_F(Renderer, UserActionsReachTheModelAndFireTheirEvent) {
    Show();
    struct Case {
        const char* control;
        Event event;
        std::function<void()> act;
        std::function<bool()> model;
    };
    ui::Form& f = form_;
    const Case cases[] = {
        {"CheckBox1", Event::Click, [&] { SendMessageW(Control("CheckBox1"), BM_CLICK, 0, 0); },
         [&] { return f["CheckBox1"].checked; }},
        {"Radio2", Event::Click, [&] { SendMessageW(Control("Radio2"), BM_CLICK, 0, 0); },
         [&] { return f["Radio2"].checked && !f["Radio1"].checked; }},
        {"Edit1", Event::Change,
         [&] { SendMessageW(Control("Edit1"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Žluť")); },
         [&] { return f["Edit1"].text == "Žluť"_cp; }},
        {"Memo1", Event::Change,
         [&] {
             // Typed: a multi-line edit reports no change for WM_SETTEXT.
             SendMessageW(Control("Memo1"), EM_SETSEL, 0, -1);
             SendMessageW(Control("Memo1"), EM_REPLACESEL, TRUE,
                          reinterpret_cast<LPARAM>(L"a\r\nčb"));
         },
         [&] {
             return f["Memo1"].items == std::vector<std::string>{"a", "čb"_cp};
         }},
        {"ComboBox1", Event::Change,
         [&] {
             SendMessageW(Control("ComboBox1"), CB_SETCURSEL, 2, 0);
             Notify("ComboBox1", CBN_SELCHANGE);
         },
         [&] { return f["ComboBox1"].selection == 2 && f["ComboBox1"].text == "COM3"; }},
        {"ComboBox2", Event::Change,
         [&] {
             SetWindowTextW(Control("ComboBox2"), L"38400");
             Notify("ComboBox2", CBN_EDITCHANGE);
         },
         [&] { return f["ComboBox2"].text == "38400" && f["ComboBox2"].selection == 2; }},
        {"ListBox1", Event::Click,
         [&] {
             SendMessageW(Control("ListBox1"), LB_SETCURSEL, 1, 0);
             Notify("ListBox1", LBN_SELCHANGE);
         },
         [&] { return f["ListBox1"].selection == 1; }},
        {"ListBox1", Event::DoubleClick, [&] { Notify("ListBox1", LBN_DBLCLK); },
         [&] { return f["ListBox1"].selection == 1; }},
        {"CheckListBox1", Event::ClickCheck,
         [&] {
             HWND list = Control("CheckListBox1");
             RECT item{};
             SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
             ClickAt(list, item.left + 6, (item.top + item.bottom) / 2);
         },
         [&] {
             return f["CheckListBox1"].item_checks == std::vector<bool>{true, true, true};
         }},
        {"StringGrid1", Event::SelectCell, [&] { ClickAt(Control("StringGrid1"), 70, 19 * 2 + 5); },
         [&] { return f["StringGrid1"].row == 2 && f["StringGrid1"].column == 1; }},
        {"StringGrid1", Event::Change,
         [&] {
             HWND editor = GetWindow(Control("StringGrid1"), GW_CHILD);
             SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"vůz"));
         },
         [&] { return f["StringGrid1"].Cell(1, 2) == "vůz"_cp; }},
        {"Label1", Event::Click, [&] { ClickAt(Control("Label1"), 3, 3); }, [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " event " +
                     std::to_string(static_cast<int>(c.event)));
        form_.fired.clear();
        c.act();
        gui::Pump(10);
        EXPECT_TRUE(c.model()) << "the model holds the control's new state";
        EXPECT_TRUE(Fired(c.control, c.event));
    }
    // The windows show the model after each handler.
    EXPECT_EQ(SendMessageW(Control("Radio1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(gui::Text(Control("Label1")), L"Zadáno: Žluť");
    EXPECT_EQ(gui::Text(GetWindow(Control("StringGrid1"), GW_CHILD)), L"vůz");
}

BOOL CALLBACK FindTooltip(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(out) = window;
    return TRUE;
}

TEST_F(Renderer, WhatTheModelChangesTheWindowsShow) {
    Show();
    ui::Form& f = form_;
    f.caption = "Nový titulek"_cp;
    f["ProgressBar1"].position = 75;
    f["Label1"].visible = false;
    f["GroupBox1"].enabled = false;
    f["GroupBox1"].bounds.left = 20;
    f["ListBox1"].items = {"jeden", "dva"};
    f["ListBox1"].selection = 1;
    f["CheckBox1"].checked = true;
    f["LabelRun"].text = "  velmi dlouhý text, který se nevejde  "_cp;
    f["Edit1"].hint = "Jiná nápověda"_cp;
    f["ComboBox1"].selection = 3;
    f["StringGrid1"].row = 3;
    f["StringGrid1"].Cell(1, 3) = "nový"_cp;
    window_->Sync();

    EXPECT_EQ(gui::Text(window_->hwnd()), L"Nový titulek");
    EXPECT_EQ(SendMessageW(Control("ProgressBar1"), PBM_GETPOS, 0, 0), 75);
    EXPECT_FALSE(IsWindowVisible(Control("Label1")));
    EXPECT_FALSE(IsWindowEnabled(Control("Radio1")))
        << "a disabled group box disables its contents";
    EXPECT_EQ(gui::RectInParent(Control("Radio1")).left, 28) << "and they move with it";
    EXPECT_EQ(SendMessageW(Control("ListBox1"), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(Control("ListBox1"), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Control("CheckBox1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control("ComboBox1"), CB_GETCURSEL, 0, 0), 3);
    HWND run = Control("LabelRun");
    ASSERT_GT(gui::TextWidth(run), 99) << "the text is longer than the label's place";
    RECT label = gui::RectInParent(run);
    EXPECT_EQ(label.right - label.left, gui::TextWidth(run)) << "the label grows to show it all";
    EXPECT_EQ(gui::Text(GetWindow(Control("StringGrid1"), GW_CHILD)), L"nový");

    // The hints are tooltips of the form.
    HWND tooltip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    wchar_t hint[128] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control("Edit1"));
    tool.lpszText = hint;
    SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(hint, L"Jiná nápověda");
}

TEST_F(Renderer, ASyncTouchesOnlyWhatChanged) {
    Show();
    // A control nobody changed keeps its text even when the window's own text
    // differs (the user is typing): the model is applied, not repainted whole.
    SetWindowTextW(Control("Label1"), L"mine");
    form_["ProgressBar1"].position = 10;
    window_->Sync();
    EXPECT_EQ(gui::Text(Control("Label1")), L"mine");
    EXPECT_EQ(SendMessageW(Control("ProgressBar1"), PBM_GETPOS, 0, 0), 10);
}

// A timer and mouse-over events, as a form with moving pictures and links asks.
class TimedForm : public ui::Form {
public:
    TimedForm() : ui::Form("TTimed", "Časovač"_cp, 300, 150) {
        left = 100;
        top = 100;
        Place(*this, "Label1", ControlKind::Label, {8, 8, 100, 13}, "odkaz");
        Place(*this, "Label2", ControlKind::Label, {8, 40, 100, 13}, "");
        Place(*this, "Timer1", ControlKind::Timer, {}).interval = 30;
        On("Timer1", Event::Timer, [this] {
            (*this)["Label2"].text = "tik " + std::to_string(++ticks);
            if (ticks == 5) (*this)["Timer1"].enabled = false;
        });
        On("Label1", Event::MouseMove, [this] {
            ++over_label;
            (*this)["Label1"].underline = true;
            (*this)["Label1"].text_colour = ui::kBlue;
        });
        On(name(), Event::MouseMove, [this] {
            ++over_form;
            (*this)["Label1"].underline = false;
            (*this)["Label1"].text_colour = ui::kDefaultColour;
        });
    }
    int ticks = 0, over_label = 0, over_form = 0;
};

TEST(TimerAndMouse, TimersTickWhileEnabledAndTheMouseReachesItsHandlers) {
    TimedForm form;
    win32::FormWindow window(form, {});
    ASSERT_TRUE(window.ok());
    window.Sync();
    for (int waited = 0; waited < 3000 && form.ticks < 5; waited += 20) gui::Pump(20);
    EXPECT_EQ(form.ticks, 5);
    gui::Pump(200);
    EXPECT_EQ(form.ticks, 5) << "a disabled timer stops";
    EXPECT_EQ(gui::Text(gui::FindControl(window.hwnd(), L"Label2")), L"tik 5");
    EXPECT_EQ(gui::FindControl(window.hwnd(), L"Timer1"), nullptr) << "a timer has no window";
    form["Timer1"].enabled = true;
    window.Sync();
    for (int waited = 0; waited < 3000 && form.ticks < 6; waited += 20) gui::Pump(20);
    EXPECT_GE(form.ticks, 6) << "enabled again, it runs again";

    POINT pointer{};
    GetCursorPos(&pointer);
    HWND label = gui::FindControl(window.hwnd(), L"Label1");
    auto underlined = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return font.lfUnderline != 0;
    };
    auto text_colour = [&] {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(window.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label));
        COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    };
    RECT on_label{};
    GetWindowRect(label, &on_label);
    SetCursorPos(on_label.left + 5, on_label.top + 5);
    gui::Pump(200);
    EXPECT_GT(form.over_label, 0);
    EXPECT_TRUE(underlined());
    EXPECT_EQ(text_colour(), RGB(0, 0, 255));

    RECT on_form{};
    GetWindowRect(window.hwnd(), &on_form);
    SetCursorPos(on_form.left + 200, on_form.bottom - 20);
    gui::Pump(200);
    EXPECT_GT(form.over_form, 0);
    EXPECT_FALSE(underlined());
    EXPECT_NE(text_colour(), RGB(0, 0, 255));
    SetCursorPos(pointer.x, pointer.y);  // out of the way of the next windows
}

// The modal form runs on this thread; another thread plays the user.
class ModalRenderer : public ::testing::Test {
protected:
    struct Run {
        ui::ModalResult result;
        bool owner_disabled_while_shown = false;
        RECT placed{};
    };
    Run ShowWith(const std::function<void(HWND form)>& user, bool border_icons = true,
                 ui::Form* shown_form = nullptr) {
        HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                     nullptr, nullptr, nullptr, nullptr);
        AllKinds all_kinds;
        ui::Form& form = shown_form != nullptr ? *shown_form : all_kinds;
        form.centred = true;
        form.border_icons = border_icons;
        Run run{};
        std::thread player([&] {
            HWND shown = nullptr;
            for (int i = 0; i < 500 && shown == nullptr; ++i) {
                HWND w = FindWindowW(win32::kFormWindowClass, nullptr);
                if (w != nullptr && IsWindowVisible(w)) shown = w;
                Sleep(10);
            }
            if (shown == nullptr) return;
            run.owner_disabled_while_shown = !IsWindowEnabled(owner);
            GetWindowRect(shown, &run.placed);
            user(shown);
        });
        run.result = win32::ShowModalForm(form, owner);
        player.join();
        EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again";
        EXPECT_EQ(FindWindowW(win32::kFormWindowClass, nullptr), nullptr) << "the form is gone";
        DestroyWindow(owner);
        return run;
    }
    static HWND Child(HWND form, const wchar_t* name) { return gui::FindControl(form, name); }
    static HWND Focused(HWND form) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
        return info.hwndFocus;
    }
    static void Key(HWND form, WPARAM key) {
        // The form is shown before its first control gets the focus.
        HWND target = Focused(form);
        for (int i = 0; i < 200 && (target == nullptr || !IsChild(form, target)); ++i) {
            Sleep(10);
            target = Focused(form);
        }
        if (target == nullptr || !IsChild(form, target)) {
            ADD_FAILURE() << "no control of the form has the focus";
            PostMessageW(form, WM_CLOSE, 0, 0);  // ends the modal run
            return;
        }
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
};

TEST_F(ModalRenderer, RunsUntilAHandlerClosesItAndReturnsItsResult) {
    struct Case {
        const char* how;
        std::function<void(HWND)> user;
        ui::ModalResult expected;
    };
    const Case cases[] = {
        {"OK clicked", [](HWND f) { SendMessageW(Child(f, L"ButtonOK"), BM_CLICK, 0, 0); },
         ui::ModalResult::Ok},
        {"Zpět clicked", [](HWND f) { SendMessageW(Child(f, L"ButtonCancel"), BM_CLICK, 0, 0); },
         ui::ModalResult::Cancel},
        {"Enter is the default button", [](HWND f) { Key(f, VK_RETURN); }, ui::ModalResult::Ok},
        {"Escape is the cancel button", [](HWND f) { Key(f, VK_ESCAPE); }, ui::ModalResult::Cancel},
        {"the close box", [](HWND f) { PostMessageW(f, WM_CLOSE, 0, 0); }, ui::ModalResult::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Run run = ShowWith(c.user);
        EXPECT_EQ(run.result, c.expected);
        EXPECT_TRUE(run.owner_disabled_while_shown);
        EXPECT_EQ(run.placed.left, (GetSystemMetrics(SM_CXSCREEN) - 430) / 2) << "centred";
        EXPECT_EQ(run.placed.top, (GetSystemMetrics(SM_CYSCREEN) - 340) / 2);
    }
}

TEST_F(ModalRenderer, WithoutBorderIconsTheCloseMessageIsIgnored) {
    Run run = ShowWith(
        [](HWND f) {
            SendMessageW(f, WM_CLOSE, 0, 0);
            Sleep(50);
            EXPECT_TRUE(IsWindowVisible(f));
            EXPECT_TRUE(gui::Screenshot(f, "renderer-modal"));
            SendMessageW(Child(f, L"ButtonOK"), BM_CLICK, 0, 0);
        },
        false);
    EXPECT_EQ(run.result, ui::ModalResult::Ok);
}

// A modal form's edit and combo boxes, buttons, check boxes and radio
// buttons in every look a face has to match: a list with the first focus;
// plain, disabled, read-only, fixed pitch; a box one types into, a disabled
// list; the default button framed, a plain and a disabled one; check boxes
// ticked and disabled; a group of radio buttons. Every one of them opens as
// a face.
class FacesForm : public ui::Form {
public:
    FacesForm() : ui::Form("TFaces", "Tváře"_cp, 330, 230) {
        auto& list = Place(*this, "ComboList", ControlKind::ComboBox, {120, 8, 100, 21});
        list.read_only = true;
        list.items = {"COM1", "COM2"};
        list.selection = 1;
        Place(*this, "EditPlain", ControlKind::Edit, {8, 8, 100, 21}, "žluťoučký"_cp);
        Place(*this, "EditOff", ControlKind::Edit, {8, 34, 100, 21}, "vypnuto").enabled = false;
        Place(*this, "EditReadOnly", ControlKind::Edit, {8, 60, 100, 21}, "jen čtení"_cp)
            .read_only = true;
        Place(*this, "EditFixed", ControlKind::Edit, {8, 86, 100, 21}, "76543210").fixed_pitch =
            true;
        auto& typed = Place(*this, "ComboText", ControlKind::ComboBox, {120, 34, 100, 21}, "9600");
        typed.items = {"1200", "9600"};
        auto& off = Place(*this, "ComboOff", ControlKind::ComboBox, {120, 60, 100, 21});
        off.read_only = true;
        off.items = {"vypnuto"};
        off.selection = 0;
        off.enabled = false;
        Place(*this, "ButtonOK", ControlKind::Button, {240, 8, 75, 25}, "&OK").default_button =
            true;
        Place(*this, "ButtonPlain", ControlKind::Button, {240, 40, 75, 25}, "Ž&luťoučký"_cp);
        Place(*this, "ButtonOff", ControlKind::Button, {240, 72, 75, 25}, "Vypnuto").enabled =
            false;
        Place(*this, "CheckOn", ControlKind::CheckBox, {8, 116, 120, 17}, "Zaškrt&nuto"_cp)
            .checked = true;
        Place(*this, "CheckOff", ControlKind::CheckBox, {8, 136, 120, 17}, "Vypnuto").enabled =
            false;
        Place(*this, "RadioOn", ControlKind::RadioButton, {140, 116, 90, 17}, "Přepsat"_cp)
            .checked = true;
        Place(*this, "RadioOff", ControlKind::RadioButton, {140, 136, 90, 17}, "Připojit"_cp);
        On("ButtonOK", Event::Click, [this] { Close(ui::ModalResult::Ok); });
    }
};

// The form's client area as it stands on the screen, painted first.
std::vector<std::uint32_t> ClientPixels(HWND form) {
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(200);
    RECT r{};
    GetClientRect(form, &r);
    HDC dc = GetDC(form);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(r.right) * r.bottom);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(r.bottom), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(form, dc);
    return pixels;
}

TEST_F(ModalRenderer, FacesLookLikeTheControlsTheyGiveWayToInTheirPlaceInTheTabOrder) {
    FacesForm faces;
    const std::vector<const wchar_t*> names = {
        L"ComboList", L"EditPlain", L"EditOff",  L"EditReadOnly", L"EditFixed",
        L"ComboText", L"ComboOff",  L"ButtonOK", L"ButtonPlain",  L"ButtonOff",
        L"CheckOn",   L"CheckOff",  L"RadioOn",  L"RadioOff"};
    Run run = ShowWith(
        [&](HWND f) {
            // All are drawn but the list with the first focus, which has its window.
            for (const wchar_t* name : names)
                EXPECT_EQ(gui::Drawn(f, name).has_value(), name != names.front())
                    << std::filesystem::path(name).string();
            const auto before = ClientPixels(f);
            // Used last to first: each real window still goes to its own place.
            for (auto name = names.rbegin(); name != names.rend(); ++name) {
                HWND real = Child(f, *name);
                EXPECT_FALSE(real == nullptr || gui::Drawn(f, *name))
                    << std::filesystem::path(*name).string();
                EXPECT_TRUE(IsWindowVisible(real)) << std::filesystem::path(*name).string();
            }
            const auto after = ClientPixels(f);
            ASSERT_EQ(before.size(), after.size());
            std::size_t differ = 0;
            for (std::size_t i = 0; i < before.size(); ++i) differ += before[i] != after[i];
            EXPECT_EQ(differ, 0u) << "pixels that changed when the faces gave way";
            // The focus went with the list; Tab goes on through the usable
            // ones in the table's order (a group of radio buttons at its
            // checked one).
            HWND at = Child(f, L"ComboList");
            EXPECT_EQ(Focused(f), at);
            for (const wchar_t* name : names) {
                HWND real = Child(f, name);
                if (!IsWindowEnabled(real) || real == at || name == std::wstring(L"RadioOff"))
                    continue;
                at = GetNextDlgTabItem(f, at, FALSE);
                EXPECT_EQ(at, real) << std::filesystem::path(name).string();
            }
            EXPECT_EQ(GetNextDlgTabItem(f, at, FALSE), Child(f, L"ComboList"));
            SendMessageW(Child(f, L"ButtonOK"), BM_CLICK, 0, 0);
        },
        true, &faces);
    EXPECT_EQ(run.result, ui::ModalResult::Ok);
}

TEST_F(ModalRenderer, TabIntoAListThatIsStillAFaceGivesTheFocusToTheList) {
    ui::Form form("TTab", "Tab"_cp, 330, 200);
    Place(form, "Edit1", ControlKind::Edit, {8, 8, 80, 21}, "abc");  // the first focus
    auto& list = Place(form, "ComboBox1", ControlKind::ComboBox, {8, 40, 100, 21});
    list.read_only = true;
    list.items = {"COM1", "COM2"};
    list.selection = 0;
    Place(form, "ButtonCancel", ControlKind::Button, {8, 72, 75, 25}, "Zpět"_cp);
    form.On("ButtonCancel", Event::Click, [&form] { form.Close(ui::ModalResult::Cancel); });
    ShowWith(
        [](HWND f) {
            EXPECT_TRUE(gui::Drawn(f, L"ComboBox1"));
            Key(f, VK_TAB);
            EXPECT_TRUE(gui::WaitUntil([&] {
                HWND box = gui::FindNamedWindow(f, L"ComboBox1");
                return box != nullptr && Focused(f) == box;
            }));
            SendMessageW(Child(f, L"ButtonCancel"), BM_CLICK, 0, 0);
        },
        true, &form);
}

TEST_F(ModalRenderer, ANumberAHandlerRefusesGetsItsWindowAndTheFocusThoughNeverUsed) {
    ui::Form form("TRefuse", "Číslo"_cp, 330, 200);
    Place(form, "ButtonOK", ControlKind::Button, {8, 40, 75, 25}, "&OK");  // the first focus
    form.Add(ui::MakeFloatEdit("FloatEdit1", {8, 8, 80, 21}, '.')).text = "1x";
    Place(form, "ButtonCancel", ControlKind::Button, {90, 40, 75, 25}, "Zpět"_cp);
    form.On("ButtonOK", Event::Click, [&form] { form["FloatEdit1"].number.wants_focus = true; });
    form.On("ButtonCancel", Event::Click, [&form] { form.Close(ui::ModalResult::Cancel); });
    ShowWith(
        [](HWND f) {
            EXPECT_TRUE(gui::Drawn(f, L"FloatEdit1"));
            SendMessageW(Child(f, L"ButtonOK"), BM_CLICK, 0, 0);
            EXPECT_TRUE(gui::WaitUntil([&] {
                HWND edit = gui::FindNamedWindow(f, L"FloatEdit1");
                return edit != nullptr && Focused(f) == edit;
            }));
            SendMessageW(Child(f, L"ButtonCancel"), BM_CLICK, 0, 0);
        },
        true, &form);
}

// A form of the controls the keyboard moves between, in the order of its
// table: two check boxes, a label with a mnemonic before its edit, a group
// of radio buttons with a disabled one, a button that disables itself, OK
// and Zpět. Zpět notes where the focus was when it was pressed, and which
// button showed the default button's frame.
class KeyboardForm : public ui::Form {
public:
    KeyboardForm() : ui::Form("TKeys", "Klávesnice"_cp, 330, 200) {
        centred = true;
        Place(*this, "CheckA", ControlKind::CheckBox, {8, 8, 100, 17}, "A");
        Place(*this, "CheckB", ControlKind::CheckBox, {8, 28, 100, 17}, "B");
        Place(*this, "LabelName", ControlKind::Label, {8, 52, 50, 13}, "&Jméno:"_cp);
        Place(*this, "EditName", ControlKind::Edit, {60, 48, 100, 21}, "abc");
        Place(*this, "GroupBox1", ControlKind::GroupBox, {170, 4, 150, 100}, "Linka");
        Place(*this, "RadioA", ControlKind::RadioButton, {8, 16, 100, 17}, "RS232", "GroupBox1")
            .checked = true;
        Place(*this, "RadioB", ControlKind::RadioButton, {8, 36, 100, 17}, "RS485", "GroupBox1");
        Place(*this, "RadioC", ControlKind::RadioButton, {8, 56, 100, 17}, "Modem", "GroupBox1")
            .enabled = false;
        Place(*this, "RadioD", ControlKind::RadioButton, {8, 76, 100, 17}, "TCP", "GroupBox1");
        Place(*this, "ButtonOff", ControlKind::Button, {8, 120, 75, 25}, "&Vypnout");
        Place(*this, "ButtonOK", ControlKind::Button, {90, 120, 75, 25}, "&OK").default_button =
            true;
        Place(*this, "ButtonCancel", ControlKind::Button, {172, 120, 75, 25}, "&Zpět"_cp)
            .cancel_button = true;
        On("ButtonOff", Event::Click, [this] { (*this)["ButtonOff"].enabled = false; });
        On("ButtonOK", Event::Click, [this] { Close(ui::ModalResult::Ok); });
        On("ButtonCancel", Event::Click, [this] {
            HWND shown = FindWindowW(win32::kFormWindowClass, nullptr);
            focus_at_cancel = gui::FocusedControl(shown);
            for (const wchar_t* button : {L"ButtonOff", L"ButtonOK", L"ButtonCancel"}) {
                const LONG style = GetWindowLongW(gui::FindControl(shown, button), GWL_STYLE);
                if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) framed_at_cancel += button;
            }
            Close(ui::ModalResult::Cancel);
        });
    }
    std::string Checked() const {
        for (const auto& c : controls()) {
            if (c->kind == ControlKind::RadioButton && c->checked) return c->name;
        }
        return "none";
    }
    std::wstring focus_at_cancel, framed_at_cancel;
};

TEST(KeyboardRenderer, TabArrowsMnemonicsAndEnterMoveAsInADialog) {
    struct Flow {
        const char* what;
        std::vector<gui::KeyStep> keys;
        const wchar_t* focus;  // where the focus was when Zpět was pressed; "" not pressed
        const char* checked;   // the radio button checked at the end
        const char* name;      // EditName's text at the end
        ui::ModalResult result = ui::ModalResult::Cancel;
    };
    using gui::Keys;
    using gui::Typed;
    const Flow flows[] = {
        {"Tab reaches the group at its checked radio button",
         {Keys("Tab Tab Tab Escape")},
         L"RadioA",
         "RadioA",
         "abc"},
        {"Down chooses the next one",
         {Keys("Tab Tab Tab Down Escape")},
         L"RadioB",
         "RadioB",
         "abc"},
        {"a disabled one is passed",
         {Keys("Tab Tab Tab Down Down Escape")},
         L"RadioD",
         "RadioD",
         "abc"},
        {"Up from the first wraps to the last",
         {Keys("Tab Tab Tab Up Escape")},
         L"RadioD",
         "RadioD",
         "abc"},
        {"Tab leaves the group",
         {Keys("Tab Tab Tab Down Tab Escape")},
         L"ButtonOff",
         "RadioB",
         "abc"},
        {"Shift+Tab comes back at the checked one",
         {Keys("Tab Tab Tab Down Tab shift+Tab Escape")},
         L"RadioB",
         "RadioB",
         "abc"},
        {"Down moves along the check boxes", {Keys("Down Escape")}, L"CheckB", "RadioA", "abc"},
        {"Up from the first box wraps within the boxes",
         {Keys("Up Escape")},
         L"CheckB",
         "RadioA",
         "abc"},
        {"a label's mnemonic goes to its field, the text selected",
         {Keys("alt+j"), Typed("xyz"), Keys("Escape")},
         L"EditName",
         "RadioA",
         "xyz"},
        {"a button that disables itself leaves the focus to the first field",
         {Keys("shift+Tab shift+Tab shift+Tab space Escape")},
         L"CheckA",
         "RadioA",
         "abc"},
        {"Enter on a focused Zpět is Zpět",
         {Keys("shift+Tab Return")},
         L"ButtonCancel",
         "RadioA",
         "abc"},
        {"Enter on a focused OK is OK",
         {Keys("shift+Tab shift+Tab Return")},
         L"",
         "RadioA",
         "abc",
         ui::ModalResult::Ok},
        {"Enter in an edit is the default button",
         {Keys("Tab Tab"), Typed("q"), Keys("Return")},
         L"",
         "RadioA",
         "q",
         ui::ModalResult::Ok},
        {"Alt+O", {Keys("alt+o")}, L"", "RadioA", "abc", ui::ModalResult::Ok},
    };
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        KeyboardForm form;
        bool closed = false;
        std::thread player([&] {
            HWND shown = nullptr;
            gui::WaitUntil([&] {
                shown = FindWindowW(win32::kFormWindowClass, L"Klávesnice");
                return shown != nullptr && IsChild(shown, gui::FocusIn(shown));
            });
            if (shown == nullptr) return;
            std::string error;
            EXPECT_TRUE(gui::PressKeys(shown, flow.keys, &error)) << error;
            closed = gui::WaitUntil([&] { return !IsWindow(shown); });
            if (!closed) PostMessageW(shown, WM_CLOSE, 0, 0);
        });
        const ui::ModalResult result = win32::ShowModalForm(form, nullptr);
        player.join();
        EXPECT_TRUE(closed) << "the keys closed the form";
        EXPECT_EQ(result, flow.result);
        EXPECT_EQ(form.focus_at_cancel, flow.focus);
        // The frame is on the focused push button, else on the default one.
        if (flow.focus[0] != 0) {
            const std::wstring focus = flow.focus;
            EXPECT_EQ(form.framed_at_cancel,
                      focus.rfind(L"Button", 0) == 0 ? focus : std::wstring(L"ButtonOK"));
        }
        EXPECT_EQ(form.Checked(), flow.checked);
        EXPECT_EQ(form["EditName"].text, flow.name);
    }
}

// Labels in every look a modal form draws itself: a mnemonic, bold, fixed
// pitch, own colours, disabled, an ampersand, a text longer than its place;
// ButtonChange changes a text, hides one and enables another, and the events
// of the mouse on them are noted.
class LabelsForm : public ui::Form {
public:
    LabelsForm() : ui::Form("TLabels", "Popisky", 330, 200) {
        Place(*this, "LabelKey", ControlKind::Label, {8, 8, 60, 13}, "&Jméno:"_cp);
        Place(*this, "LabelBold", ControlKind::Label, {8, 26, 60, 13}, "tučně"_cp).bold = true;
        Place(*this, "LabelFixed", ControlKind::Label, {8, 44, 60, 13}, "76543210").fixed_pitch =
            true;
        auto& run = Place(*this, "LabelRun", ControlKind::Label, {8, 62, 90, 13}, " REŽIM "_cp);
        run.text_colour = ui::kYellow;
        run.back_colour = ui::kRed;
        Place(*this, "LabelOff", ControlKind::Label, {8, 80, 60, 13}, "vypnuto").enabled = false;
        Place(*this, "LabelAnd", ControlKind::Label, {120, 8, 60, 13}, "A && B");
        Place(*this, "LabelLong", ControlKind::Label, {120, 26, 20, 13}, "dlouhý popisek"_cp);
        Place(*this, "ButtonChange", ControlKind::Button, {8, 140, 75, 25}, "Změnit"_cp);
        On("ButtonChange", Event::Click, [this] {
            (*this)["LabelKey"].text = "&Příjmení:"_cp;
            (*this)["LabelBold"].visible = false;
            (*this)["LabelOff"].enabled = true;
        });
        for (const char* name : {"LabelKey", "LabelOff"}) {
            for (Event e : {Event::Click, Event::DoubleClick, Event::MouseMove})
                On(name, e, [this, name, e] { Note(name, e); });
        }
        On(name(), Event::MouseMove, [this] { Note(name(), Event::MouseMove); });
    }
    // Noted on the form's thread, asked from the player's.
    bool Heard(const std::string& name, Event e) {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::find(fired_.begin(), fired_.end(), std::make_pair(name, e)) != fired_.end();
    }
    bool HeardFrom(const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::any_of(fired_.begin(), fired_.end(), [&](auto& f) { return f.first == name; });
    }

private:
    void Note(const std::string& name, Event e) {
        std::lock_guard<std::mutex> lock(mutex_);
        fired_.emplace_back(name, e);
    }
    std::mutex mutex_;
    std::vector<std::pair<std::string, Event>> fired_;
};

lm::win32::DrawnControlQuery Unseen() {
    return {};
}

// The rows above the button: what the labels show.
std::vector<std::uint32_t> LabelPixels(HWND form) {
    RECT r{};
    GetClientRect(form, &r);
    std::vector<std::uint32_t> pixels = ClientPixels(form);
    pixels.resize(static_cast<std::size_t>(r.right) * 130);
    return pixels;
}

TEST_F(ModalRenderer, LabelsTheFormDrawsLookLikeLabelWindowsAndHearTheMouse) {
    // The same form as a window of its own, whose labels are STATIC windows.
    std::vector<std::uint32_t> windows[2];
    {
        LabelsForm shown;
        shown.left = 100;
        shown.top = 100;
        win32::FormWindow window(shown, {});
        ASSERT_TRUE(window.ok());
        window.Sync();
        gui::Pump(100);
        windows[0] = LabelPixels(window.hwnd());
        SendMessageW(gui::FindControl(window.hwnd(), L"ButtonChange"), BM_CLICK, 0, 0);
        gui::Pump(100);
        windows[1] = LabelPixels(window.hwnd());
    }
    LabelsForm form;
    std::vector<std::uint32_t> drawn[2];
    struct Mouse {
        const char* what;
        UINT message;
        const wchar_t* at;  // the label the mouse is on
        const char* label;  // whose event fires
        Event event;
    };
    const Mouse mice[] = {
        {"a click", WM_LBUTTONDOWN, L"LabelKey", "LabelKey", Event::Click},
        {"a double click", WM_LBUTTONDBLCLK, L"LabelKey", "LabelKey", Event::DoubleClick},
        {"the pointer", WM_MOUSEMOVE, L"LabelKey", "LabelKey", Event::MouseMove},
        {"the pointer on a disabled one is on the form", WM_MOUSEMOVE, L"LabelOff", "TLabels",
         Event::MouseMove},
    };
    Run run = ShowWith(
        [&](HWND f) {
            EXPECT_EQ(gui::FindNamedWindow(f, L"LabelKey"), nullptr) << "no window of its own";
            drawn[0] = LabelPixels(f);
            for (const Mouse& m : mice) {
                const RECT at = gui::Drawn(f, m.at).value_or(Unseen()).rect;
                POINT point{at.left + 3, at.top + 3};
                if (m.message == WM_MOUSEMOVE) {
                    ClientToScreen(f, &point);
                    SetCursorPos(point.x, point.y);
                } else {
                    SendMessageW(f, m.message, MK_LBUTTON, MAKELPARAM(point.x, point.y));
                }
                EXPECT_TRUE(gui::WaitUntil([&] { return form.Heard(m.label, m.event); }, 3000))
                    << m.what;
            }
            EXPECT_FALSE(form.HeardFrom("LabelOff")) << "a disabled label hears nothing";
            SetCursorPos(0, 0);
            SendMessageW(Child(f, L"ButtonChange"), BM_CLICK, 0, 0);
            drawn[1] = LabelPixels(f);
            PostMessageW(f, WM_CLOSE, 0, 0);
        },
        true, &form);
    for (int state = 0; state < 2; ++state) {
        ASSERT_EQ(drawn[state].size(), windows[state].size());
        std::size_t differ = 0;
        for (std::size_t i = 0; i < drawn[state].size(); ++i)
            differ += drawn[state][i] != windows[state][i];
        EXPECT_EQ(differ, 0u) << (state == 0 ? "as opened" : "after the change")
                              << ": pixels unlike the label windows'";
    }
    EXPECT_EQ(run.result, ui::ModalResult::Cancel);
}

TEST_F(ModalRenderer, AControlHiddenAtFirstGetsItsWindowWhenShownInItsPlaceInTheTabOrder) {
    ui::Form form("THidden", "Skryté", 300, 200);
    Place(form, "Edit1", ControlKind::Edit, {8, 8, 100, 21});
    Place(form, "Edit2", ControlKind::Edit, {8, 36, 100, 21}).visible = false;
    Place(form, "Label1", ControlKind::Label, {8, 64, 40, 13}, "dlouhý popisek"_cp).visible = false;
    Place(form, "Edit3", ControlKind::Edit, {8, 92, 100, 21});
    Place(form, "ButtonShow", ControlKind::Button, {8, 120, 75, 25}, "Ukázat"_cp);
    form.On("ButtonShow", Event::Click, [&form] {
        form["Edit2"].visible = true;
        form["Label1"].visible = true;
    });
    HWND edit2 = nullptr, edit3 = nullptr, after_edit1 = nullptr, after_edit2 = nullptr;
    std::optional<win32::DrawnControlQuery> label;
    Run run = ShowWith(
        [&](HWND f) {
            SendMessageW(Child(f, L"ButtonShow"), BM_CLICK, 0, 0);
            edit2 = Child(f, L"Edit2");
            edit3 = Child(f, L"Edit3");
            label = gui::Drawn(f, L"Label1");
            after_edit1 = GetNextDlgTabItem(f, Child(f, L"Edit1"), FALSE);
            after_edit2 = GetNextDlgTabItem(f, edit2, FALSE);
            PostMessageW(f, WM_CLOSE, 0, 0);
        },
        true, &form);
    ASSERT_NE(edit2, nullptr);
    ASSERT_TRUE(label.has_value());
    EXPECT_EQ(after_edit1, edit2);
    EXPECT_EQ(after_edit2, edit3);
    EXPECT_TRUE(label->shown);
    EXPECT_EQ(label->rect.right - 8, std::max(40L, gui::TextWidth(label->font, label->text)))
        << "a label shown late is as wide as its text";
    EXPECT_EQ(run.result, ui::ModalResult::Cancel);
}

TEST(MemoRenderer, FollowsAGrowingLogWithoutRewritingIt) {
    ui::Form form("TLog", "log", 300, 200);
    form.left = 600;
    form.top = 300;
    Place(form, "Memo1", ControlKind::Memo, {4, 4, 280, 160}).vertical_scroll = true;
    form["Memo1"].read_only = true;
    win32::FormWindow window(form, {});
    ASSERT_TRUE(window.ok());
    window.Sync();
    HWND memo = gui::FindControl(window.hwnd(), L"Memo1");
    const int resets = window.stats().text_resets;

    // Lines come in bursts, as an entry call writes them with logging on; the
    // memo catches up once per burst, when the thread takes its messages.
    auto& lines = form["Memo1"].items;
    constexpr int kBursts = 200, kBurst = 50;
    auto start = std::chrono::steady_clock::now();
    for (int b = 0; b < kBursts; ++b) {
        for (int i = 0; i < kBurst; ++i) {
            lines.push_back("řádek číslo "_cp + std::to_string(b * kBurst + i) +
                            " LumarDriver_Entry - START");
            window.Sync();
        }
        gui::PumpPending();
    }
    double burst_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        kBursts;
    std::printf("memo: %.2f ms per burst of %d lines, up to %d lines\n", burst_ms, kBurst,
                kBursts * kBurst);
    EXPECT_EQ(window.stats().text_resets, resets) << "appending never rewrites the text";
    EXPECT_EQ(window.stats().appends, kBursts);
    EXPECT_EQ(window.stats().lines_appended, kBursts * kBurst);
    auto shown = gui::Lines(memo);
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kBursts * kBurst));
    EXPECT_EQ(shown.back(), L"řádek číslo 9999 LumarDriver_Entry - START");

    // A full memo loses its oldest lines at the top: they are cut, not rewritten.
    lines.erase(lines.begin(), lines.begin() + 1000);
    lines.push_back("poslední"_cp);
    window.Sync();
    gui::PumpPending();
    EXPECT_EQ(window.stats().text_resets, resets);
    EXPECT_EQ(window.stats().lines_dropped, 1000);
    shown = gui::Lines(memo);
    ASSERT_EQ(shown.size(), lines.size());
    EXPECT_EQ(shown.front(), L"řádek číslo 1000 LumarDriver_Entry - START");
    EXPECT_EQ(shown.back(), L"poslední");

    lines.clear();
    window.Sync();
    window.FlushMemos();
    EXPECT_EQ(gui::Text(memo), L"");
    EXPECT_EQ(window.stats().text_resets, resets + 1);
}

}  // namespace
}  // namespace lm
