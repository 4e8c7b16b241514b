// The driver window on screen: the real LMDRIVER.DLL loaded by a test host
// under Wine and Xvfb, called as the host calls it, its window found by class
// and its controls by name, driven with window messages and read back.
// Screenshots are kept under the build folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"

namespace {

constexpr int kWidth = 242;
constexpr int kClosedHeight = 161;
constexpr int kOpenHeight = 375;

// The driver window's components as the user sees them: where each lies in the
// client area, its window class, its caption and whether it shows at load.
struct Component {
    const wchar_t* name;
    const wchar_t* window_class;
    RECT bounds;  // left, top, right, bottom
    const wchar_t* text;
    bool visible;
    bool enabled;
};

RECT Box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

const std::vector<Component>& Components() {
    static const std::vector<Component> table = {
        {L"Image1", L"Static", Box(180, 6, 32, 32), L"", true, true},
        {L"LabelName", L"Static", Box(8, 0, 165, 13), L"KADEX line 2", true, true},
        {L"LabelName2", L"Static", Box(8, 12, 137, 13), L"verze 4.05 ze dne 1.12.2005", true, true},
        {L"lBase", L"Static", Box(8, 24, 59, 13), L"", true, true},
        {L"LabelSetCom", L"Static", Box(8, 40, 63, 13), nullptr, true, true},
        {L"ProgressBarCom", L"msctls_progress32", Box(8, 56, 223, 16), L"", true, true},
        {L"LabelRUN", L"Static", Box(8, 80, 99, 13), L"  REŽIM \"RUN\"  ", false, true},
        {L"CheckHra", L"Button", Box(120, 80, 57, 17), L"Hradla", false, true},
        {L"CheckLog", L"Button", Box(200, 80, 41, 17), L"log", true, true},
        {L"ButtonAbout", L"Button", Box(8, 104, 70, 25), L"Co je...", true, true},
        {L"ButtonHelp", L"Button", Box(85, 104, 70, 25), L"Nápověda", true, true},
        {L"ButtonStatus", L"Button", Box(162, 104, 70, 25), L"Status >>", true, true},
        {L"Button1", L"Button", Box(219, 0, 17, 17), L"_", true, true},
        {L"Memo1", L"Edit", Box(8, 136, 225, 121), nullptr, true, true},
        {L"ButtonClear", L"Button", Box(8, 264, 75, 25), L"Smazat LOG", true, true},
        {L"Edit1", L"Edit", Box(8, 296, 225, 21), L"", true, false},
        {L"Edit2", L"Edit", Box(8, 320, 225, 21), L"", true, false},
    };
    return table;
}

class DriverWindowOnScreen : public lm::test::DllHost {
protected:
    DriverWindowOnScreen() : DllHost("lmgui-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        OpenDriver(false);
        window_ = driver_window_;
        lm::gui::Pump(100);
    }

    void TearDown() override {
        UnloadDriver();
        DllHost::TearDown();
    }

    // An entry call that every driver state accepts and that is traced: errtext.
    void ErrTextCall() {
        PARAM_ENTRY r = Record(5);
        ASSERT_EQ(entry_(&r), 1);
        lm::gui::Pump(20);
    }

    HWND Control(const wchar_t* name) {
        HWND control = lm::gui::FindControl(window_, name);
        EXPECT_NE(control, nullptr) << "no control named " << std::filesystem::path(name).string();
        return control;
    }

    // A click as the user makes it; returns after the handler has run.
    void Click(const wchar_t* name) {
        SendMessageW(Control(name), BM_CLICK, 0, 0);
        lm::gui::Pump(20);
    }

    int Height() {
        RECT r{};
        GetWindowRect(window_, &r);
        return r.bottom - r.top;
    }

    std::filesystem::path LogFile() { return work_ / "OVLADACE" / "KADEX2" / "LMDRIVER.LOG"; }

    // The log file's lines without their "date time | " prefix, as CP1250 bytes.
    std::vector<std::string> LogMessages() {
        std::vector<std::string> messages;
        std::ifstream file(LogFile(), std::ios::binary);
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            auto bar = line.find(" | ");
            messages.push_back(bar == std::string::npos ? line : line.substr(bar + 3));
        }
        return messages;
    }

    // The memo's lines as CP1250 bytes, to compare with the file.
    std::vector<std::string> MemoLines() {
        std::vector<std::string> lines;
        for (const auto& line : lm::gui::Lines(Control(L"Memo1"))) {
            std::string narrow(static_cast<std::size_t>(WideCharToMultiByte(
                                   1250, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                   nullptr, nullptr)),
                               '\0');
            WideCharToMultiByte(1250, 0, line.data(), static_cast<int>(line.size()), narrow.data(),
                                static_cast<int>(narrow.size()), nullptr, nullptr);
            lines.push_back(narrow);
        }
        return lines;
    }

    HWND window_ = nullptr;
};

TEST_F(DriverWindowOnScreen, AfterLoadDriverItSitsTopRightWithItsComponents) {
    RECT r{};
    GetWindowRect(window_, &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - kWidth);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, kWidth);
    EXPECT_EQ(r.bottom - r.top, kClosedHeight);
    EXPECT_EQ(lm::gui::Text(window_), L"Lumar: KADEX line 2");
    EXPECT_TRUE(IsWindowVisible(window_));
    LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "no border icons";
    EXPECT_NE(style & WS_CAPTION, 0);
    RECT client{};
    GetClientRect(window_, &client);
    std::printf("driver window: client area %ld x %ld in a window of %d x %d\n", client.right,
                client.bottom, kWidth, kClosedHeight);
    EXPECT_GE(client.right, 236) << "Button1 at the right edge is whole";

    for (const auto& c : Components()) {
        SCOPED_TRACE(std::filesystem::path(c.name).string());
        HWND control = Control(c.name);
        if (control == nullptr) continue;
        wchar_t window_class[64] = {};
        GetClassNameW(control, window_class, 64);
        EXPECT_EQ(_wcsicmp(window_class, c.window_class), 0);
        RECT placed = lm::gui::RectInParent(control);
        EXPECT_EQ(placed.left, c.bounds.left);
        EXPECT_EQ(placed.top, c.bounds.top);
        EXPECT_EQ(placed.bottom, c.bounds.bottom);
        if (std::wstring(c.window_class) == L"Static" && !lm::gui::Text(control).empty()) {
            // A label grows when the system's font needs more room for its text
            // than the table gives, and only then.
            EXPECT_EQ(placed.right - placed.left,
                      std::max(c.bounds.right - c.bounds.left, lm::gui::TextWidth(control)));
        } else {
            EXPECT_EQ(placed.right, c.bounds.right);
        }
        if (c.text != nullptr) {
            EXPECT_EQ(lm::gui::Text(control), c.text);
        }
        EXPECT_EQ(IsWindowVisible(control) != FALSE, c.visible);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, c.enabled);
    }

    // The communication settings of the driver directory (RS485 on COM2).
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    EXPECT_EQ(lm::gui::Text(Control(L"LabelSetCom")),
              std::wstring(L"RS485, COM2, 19200Bd, adr=5, tout=2") + separator + L"5s");

    // The memo shows the log read-only with a vertical scroll bar, and the two
    // creation lines even with logging off.
    HWND memo = Control(L"Memo1");
    EXPECT_NE(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(GetWindowLongW(memo, GWL_STYLE) & WS_VSCROLL, 0);
    auto lines = lm::gui::Lines(memo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Vortel Kadex-RX7, komunikace COM/TCP");
    EXPECT_EQ(lines[1], L"Adresář=" + work_.wstring() + L"\\OVLADACE\\KADEX2\\");
    EXPECT_EQ(SendMessageW(Control(L"CheckLog"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    EXPECT_TRUE(lm::gui::Screenshot(window_, "driver-window-closed"))
        << "screenshot into " << lm::gui::ScreenshotDirectory();
}

TEST_F(DriverWindowOnScreen, TextsUseTheFormFontWithCentralEuropeanCharacters) {
    struct Case {
        const wchar_t* name;
        LONG weight;
    };
    for (const Case& c :
         {Case{L"LabelName", FW_BOLD}, Case{L"LabelName2", FW_NORMAL}, Case{L"Button1", FW_BOLD},
          Case{L"LabelRUN", FW_BOLD}, Case{L"ButtonHelp", FW_NORMAL}, Case{L"Memo1", FW_NORMAL}}) {
        SCOPED_TRACE(std::filesystem::path(c.name).string());
        auto font = reinterpret_cast<HFONT>(SendMessageW(Control(c.name), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW info{};
        ASSERT_NE(GetObjectW(font, sizeof info, &info), 0);
        EXPECT_EQ(info.lfWeight, c.weight);
        EXPECT_EQ(info.lfCharSet, EASTEUROPE_CHARSET);
        EXPECT_STREQ(info.lfFaceName, L"MS Sans Serif");
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(info.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
        ReleaseDC(nullptr, screen);
    }
}

TEST_F(DriverWindowOnScreen, RunLabelIsYellowOnRed) {
    // LabelRUN shows only in run mode; its colours are what the window hands
    // the label when it paints.
    HWND label = Control(L"LabelRUN");
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 0, 0));
    LOGBRUSH info{};
    ASSERT_NE(GetObjectW(brush, sizeof info, &info), 0);
    EXPECT_EQ(info.lbColor, RGB(255, 0, 0));
    // Other labels keep the window's colours.
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(Control(L"LabelName")));
    EXPECT_NE(GetTextColor(dc), RGB(255, 255, 0));
    DeleteDC(dc);
}

TEST_F(DriverWindowOnScreen, StatusButtonOpensAndClosesTheStatusPart) {
    // Lines in the memo first, so that the open window shows some.
    Click(L"CheckLog");
    ErrTextCall();
    Click(L"ButtonStatus");
    EXPECT_EQ(Height(), kOpenHeight);
    EXPECT_EQ(lm::gui::Text(Control(L"ButtonStatus")), L"<< Status");
    EXPECT_GT(lm::gui::Lines(Control(L"Memo1")).size(), 20u);
    EXPECT_TRUE(lm::gui::Screenshot(window_, "driver-window-open"));

    Click(L"ButtonStatus");
    EXPECT_EQ(Height(), kClosedHeight);
    EXPECT_EQ(lm::gui::Text(Control(L"ButtonStatus")), L"Status >>");
    RECT r{};
    GetWindowRect(window_, &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - kWidth) << "the window stays where it was";
    EXPECT_EQ(r.top, 0);
}

TEST_F(DriverWindowOnScreen, CheckLogTurnsTheLogOnForTheNextCall) {
    ErrTextCall();
    EXPECT_EQ(MemoLines().size(), 2u) << "logging is off after load driver";
    EXPECT_FALSE(std::filesystem::exists(LogFile()));

    Click(L"CheckLog");
    EXPECT_EQ(SendMessageW(Control(L"CheckLog"), BM_GETCHECK, 0, 0), BST_CHECKED);
    ErrTextCall();
    auto memo = MemoLines();
    auto file = LogMessages();
    ASSERT_GE(file.size(), 20u) << "the call is traced to the file";
    EXPECT_EQ(file.front(), "LumarDriver_Entry - START");
    ASSERT_EQ(memo.size(), file.size() + 2) << "the memo shows every line written";
    EXPECT_EQ(std::vector<std::string>(memo.begin() + 2, memo.end()), file);

    Click(L"CheckLog");
    EXPECT_EQ(SendMessageW(Control(L"CheckLog"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ErrTextCall();
    EXPECT_EQ(MemoLines().size(), memo.size());
    EXPECT_EQ(LogMessages().size(), file.size());
}

TEST_F(DriverWindowOnScreen, ClearAsksWhetherToDeleteTheLogFile) {
    lm::gui::BoxWatcher boxes;
    Click(L"CheckLog");
    ErrTextCall();
    ASSERT_TRUE(std::filesystem::exists(LogFile()));

    boxes.Answer(IDNO);
    Click(L"ButtonClear");
    auto asked = boxes.Boxes();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, L"Smazat také .LOG soubor na disku ?");
    EXPECT_TRUE(lm::gui::Lines(Control(L"Memo1")).empty()) << "the memo is cleared";
    EXPECT_TRUE(std::filesystem::exists(LogFile())) << "No keeps the file";

    ErrTextCall();
    EXPECT_FALSE(lm::gui::Lines(Control(L"Memo1")).empty());
    boxes.Clear();
    boxes.Answer(IDYES);
    Click(L"ButtonClear");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(lm::gui::Lines(Control(L"Memo1")).empty());
    EXPECT_FALSE(std::filesystem::exists(LogFile())) << "Yes deletes the file";

    // Without a log file there is nothing to ask.
    Click(L"CheckLog");
    boxes.Clear();
    Click(L"ButtonClear");
    lm::gui::Pump(100);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DriverWindowOnScreen, MinimisedByItsButtonAndNeverClosedByTheUser) {
    Click(L"Button1");
    EXPECT_TRUE(IsIconic(window_));

    // The user restores it and moves it; the window's state follows, so the
    // next change does not minimise it again or move it back.
    ShowWindow(window_, SW_RESTORE);
    SetWindowPos(window_, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    lm::gui::Pump(20);
    Click(L"ButtonStatus");
    EXPECT_FALSE(IsIconic(window_));
    RECT r{};
    GetWindowRect(window_, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.bottom - r.top, kOpenHeight);

    SendMessageW(window_, WM_CLOSE, 0, 0);
    SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    lm::gui::Pump(20);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(FindWindowW(L"LMDriverWindow", nullptr), window_);
}

TEST_F(DriverWindowOnScreen, HelpButtonOpensTheDriverHelpFile) {
    // The help program says what it looked for; there is no help file here.
    lm::gui::BoxWatcher boxes(/*any_process=*/true);
    Click(L"ButtonHelp");
    for (int waited = 0; waited < 10000 && boxes.Boxes().empty(); waited += 50) {
        lm::gui::Pump(50);
    }
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(work_.wstring() + L"\\OVLADACE\\KADEX2\\LMRX7.HLP"),
              std::wstring::npos)
        << std::filesystem::path(shown[0].text).string();
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_driver_tests");
}
