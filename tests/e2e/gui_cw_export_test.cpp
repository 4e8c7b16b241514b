// The Control Web export of the real LMDRIVER.DLL on screen: the sample
// project opened as the host opens it, menu 3010 and NetList with the host's
// netlist, and the options dialog played by a user thread: the entries ticked
// with mouse clicks in their boxes, file names chosen in the system's save-file
// dialog or typed, OK pressed. The four files on disk are the golden ones.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_keys.h"
#include "tests/e2e/gui/gui_support.h"
#include "tests/e2e/project_host.h"

namespace {

namespace gui = lm::gui;
namespace fs = std::filesystem;

// The file name field of the system's save-file dialog: an edit box (edt1 of
// dlgs.h), or a combo box with an edit (cmb13) in the newer layout.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47c;

constexpr wchar_t kCaption[] = L"Výstup do systému Control Panel / Web";
constexpr std::uint32_t kChecksum = 305419896;

// The golden files' selection: every type and direction the sample offers.
constexpr const wchar_t* kSelection[] = {
    L"AI6.1.AI0",      L"AI6.1.PORUCHA",   L"TEXTY.1.VYBER",   L"TEXTY.1.TEXT1", L"TEXTY.1.TEXT2",
    L"PID.1.W",        L"PID.1.MAN",       L"PID.1.KP",        L"TERMOST.2.X",   L"TERMOST.2.Q",
    L"TERMOST.2.HYST", L"PROJEKT.1.CRC32", L"PROJEKT.1.VERZE", L"KAVLIN.1.STAV", L"CTU.1.PV",
    L"RAMPA.1.IN",     L"RAMPA.1.OUT",     L"RAMPA.1.STRMOST"};

// The four files: their name field, "List..." button and golden name.
struct CwFile {
    const wchar_t* edit;
    const wchar_t* list_button;
    const char* name;
};
constexpr CwFile kFiles[] = {{L"EditPARname", L"ButtonListPAR", "KADEX.PAR"},
                             {L"EditDMFname", L"ButtonListDMF", "KADEX.DMF"},
                             {L"EditCWname", L"ButtonListCW", "KADEX.CW"},
                             {L"EditCPName", L"ButtonListCP", "KADEX.CP"}};

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The first line of `text` that starts with `head`, without its line end.
std::string LineStarting(const std::string& text, const std::string& head) {
    std::size_t at = 0;
    while (at < text.size() && text.compare(at, head.size(), head) != 0) {
        at = text.find('\n', at);
        if (at == std::string::npos) return {};
        ++at;
    }
    if (at >= text.size()) return {};
    return text.substr(at, text.find("\r\n", at) - at);
}

// Empty when the texts are equal; else the first line where they part.
std::string FirstDifference(const std::string& got, const std::string& want) {
    if (got == want) return {};
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
    const std::size_t start = got.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    std::string text = "line ";
    text +=
        std::to_string(std::count(got.begin(), got.begin() + static_cast<long>(from), '\n') + 1);
    text += ": got '";
    text += got.substr(from, got.find('\r', from) - from);
    text += "', want '";
    text += want.substr(from, want.find('\r', from) - from);
    text += "'";
    return text;
}

class CwExportOnScreen : public lm::test::DllHost {
protected:
    CwExportOnScreen() : DllHost("lmguicw-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        const fs::path dir = work_ / "OVLADACE" / "KADEX2";
        CopyIntoDriverDir(LM_SAMPLE_DRIVER_DIR);
        // The golden files' settings: COM2 at 38400 Bd, addresses 5 and 7,
        // RS485, time-out 10 s.
        std::ofstream(dir / "SETCOM.INI", std::ios::binary)
            << "2\r\n38400\r\n5\r\n7\r\n1\r\n10.0\r\n0\r\n192.168.1.10\r\n1998\r\n";
        lumarsim::ProjectError error;
        auto project = lumarsim::ParseProject(ReadFile(LM_SAMPLE_PROJECT), error);
        ASSERT_TRUE(project) << error.line << ": " << error.message;
        session_.Open(work_, entry_, std::move(*project));
        if (HasFatalFailure()) return;
        gui::Pump(100);
    }

    void TearDown() override {
        session_.Close();
        if (session_.host != nullptr) {
            EXPECT_EQ(session_.host->failures(), 0) << "the host's calls are printed below";
        }
        if (HasFailure()) std::printf("%s", ReadFile(work_ / "host.txt").c_str());
        DllHost::TearDown();
    }

    // Menu 3010 and NetList while `user` plays the Control Web dialog; false
    // when the dialog never showed.
    bool ExportWithUser(const std::function<void(HWND form)>& user) {
        return gui::PlayForm(kCaption, user, [&] {
            const bool asked = session_.host->MenuItem(3010);
            EXPECT_TRUE(asked) << "menu 3010 asks for NetList";
            if (asked) session_.host->NetList(kChecksum, session_.netlist->head());
        });
    }

    static HWND Control(HWND form, const wchar_t* name) {
        HWND control = gui::FindControl(form, name);
        EXPECT_NE(control, nullptr) << fs::path(name).string();
        return control;
    }
    static void Press(HWND form, const wchar_t* name) {
        SendMessageW(Control(form, name), BM_CLICK, 0, 0);
    }

    // A click in the tick box of the list entry that starts with `item` and a
    // blank, scrolled into view first; false when no entry does.
    static bool ClickTick(HWND list, const std::wstring& item) {
        std::wstring head = item;
        head += L' ';
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t entry[256] = {};
            if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 256) continue;
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
            if (wcsncmp(entry, head.c_str(), head.size()) != 0) continue;
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(i), 0);
            RECT r{};
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&r));
            const LPARAM at = MAKELPARAM(r.left + (r.bottom - r.top) / 2, (r.top + r.bottom) / 2);
            SendMessageW(list, WM_MOUSEMOVE, 0, at);
            SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(list, WM_LBUTTONUP, 0, at);
            return true;
        }
        return false;
    }

    // Every entry unticked with "Smazat všechny", then the golden selection
    // ticked with the mouse; the list shown from its top again.
    static void TickGoldenSelection(HWND form) {
        Press(form, L"Button1");
        HWND list = Control(form, L"CheckListBox1");
        for (const wchar_t* item : kSelection) {
            EXPECT_TRUE(ClickTick(list, item)) << fs::path(item).string();
        }
        SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    }

    // "List..." of `file` pressed; its save-file dialog (the system's, titled
    // `title`) answered with the file's path in the working folder typed into
    // the file name and Save pressed. False when no such dialog showed.
    bool ChooseInSaveDialog(HWND form, const CwFile& file, const wchar_t* title,
                            const char* screenshot) {
        // Posted: the button's handler runs the save-file dialog modally.
        PostMessageW(Control(form, file.list_button), BM_CLICK, 0, 0);
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && dialog == nullptr; ++i) {
            HWND w = FindWindowW(L"#32770", title);
            if (w != nullptr && IsWindowVisible(w)) dialog = w;
            if (dialog == nullptr) Sleep(10);
        }
        if (dialog == nullptr) return false;
        Sleep(200);  // its first paint
        HWND name = GetDlgItem(dialog, kFileNameEdit);
        if (name == nullptr) name = GetDlgItem(dialog, kFileNameCombo);
        EXPECT_NE(name, nullptr) << "the save-file dialog's file name field";
        if (screenshot != nullptr) {
            EXPECT_TRUE(gui::Screenshot(dialog, screenshot));
        }
        const std::wstring path = (work_ / file.name).wstring();
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        for (int i = 0; i < 500 && IsWindow(dialog); ++i) Sleep(10);
        EXPECT_FALSE(IsWindow(dialog)) << "the save-file dialog closed with Save";
        if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }

    // The four files written against the golden ones (`suffix` "" or
    // "_APPEND"). The CW file's directory lines name the folder of the files
    // and this run's driver directory: each must, and is then compared as the
    // golden one.
    void ExpectGoldenFiles(const char* suffix) {
        const std::string folder = work_.string();
        const std::string directories[][2] = {
            {"  '*.dmf' = '", folder + "\\.';"},
            {"  '*.par' = '", folder + "\\.';"},
            {"  'panel.gif' = '", folder + "\\OVLADACE\\KADEX2\\.';"}};
        for (const CwFile& file : kFiles) {
            std::string got = ReadFile(work_ / file.name);
            const std::string golden_name = std::string("KADEX") + suffix + (file.name + 5);
            const std::string golden = ReadFile(fs::path(LM_GOLDEN_DIR) / golden_name);
            ASSERT_FALSE(golden.empty()) << golden_name;
            for (const auto& [head, rest] : directories) {
                const std::string golden_line = LineStarting(golden, head);
                if (golden_line.empty()) continue;
                const std::string written = LineStarting(got, head);
                EXPECT_EQ(written, head + rest) << file.name;
                if (!written.empty()) got.replace(got.find(written), written.size(), golden_line);
            }
            EXPECT_EQ(FirstDifference(got, golden), "") << file.name << " against " << golden_name;
        }
    }

    lm::test::ProjectHost session_;
};

TEST_F(CwExportOnScreen, TheGoldenSelectionTickedWithTheMouseWritesTheGoldenFiles) {
    gui::BoxWatcher boxes;
    std::wstring par_name, dmf_name;
    bool run_ticked = true;
    const bool shown = ExportWithUser([&](HWND form) {
        EXPECT_TRUE(ChooseInSaveDialog(form, kFiles[0], L"Uložit jako .PAR soubor...",
                                       "cw-export-save-par"));
        par_name = gui::Text(Control(form, L"EditPARname"));
        EXPECT_TRUE(ChooseInSaveDialog(form, kFiles[1], L"Uložit jako .DMF soubor...", nullptr));
        dmf_name = gui::Text(Control(form, L"EditDMFname"));
        for (const CwFile& file : {kFiles[2], kFiles[3]}) {
            SendMessageW(Control(form, file.edit), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>((work_ / file.name).wstring().c_str()));
        }
        Press(form, L"CheckBoxCP");    // not ticked at first
        Press(form, L"CheckBoxShow");  // no Notepad
        // Control Web is not started: its box stays unticked.
        run_ticked = SendMessageW(Control(form, L"CheckBoxCWrun"), BM_GETCHECK, 0, 0) != 0;
        SendMessageW(Control(form, L"EditOdKanalu"), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"100"));
        TickGoldenSelection(form);
        EXPECT_TRUE(gui::Screenshot(form, "cw-export-dialog"));
        Press(form, L"OKBtn");
    });
    ASSERT_TRUE(shown) << "menu 3010 showed the Control Web dialog";
    EXPECT_EQ(par_name, (work_ / "KADEX.PAR").wstring()) << "the chosen name in the field";
    EXPECT_EQ(dmf_name, (work_ / "KADEX.DMF").wstring());
    EXPECT_FALSE(run_ticked);
    // The host's current directory is the host's: a later load of the driver
    // finds its directory below it.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(fs::path(current), work_) << "the save-file dialog left the current directory";
    EXPECT_TRUE(boxes.Boxes().empty()) << fs::path(boxes.Boxes().front().text).string();
    ExpectGoldenFiles("");

    // Again in append mode over what the first export wrote: the dialog
    // offers the names chosen before, and the files grow as the golden
    // appended ones do.
    std::vector<std::wstring> offered;
    ASSERT_TRUE(ExportWithUser([&](HWND form) {
        for (const CwFile& file : kFiles) offered.push_back(gui::Text(Control(form, file.edit)));
        Press(form, L"CheckBoxCP");
        Press(form, L"CheckBoxShow");
        Press(form, L"RadioButton2");  // Připojit
        TickGoldenSelection(form);
        EXPECT_TRUE(gui::Screenshot(form, "cw-export-dialog-append"));
        Press(form, L"OKBtn");
    }));
    ASSERT_EQ(offered.size(), 4u);
    for (std::size_t i = 0; i < offered.size(); ++i)
        EXPECT_EQ(offered[i], (work_ / kFiles[i].name).wstring()) << kFiles[i].name;
    EXPECT_TRUE(boxes.Boxes().empty());
    ExpectGoldenFiles("_APPEND");
}

TEST_F(CwExportOnScreen, TheDialogIsDrivenWithKeys) {
    // The file names typed in with window messages, the rest with real keys.
    // From the first field (CheckBoxPAR) Shift+Tab goes back along the form:
    // Zpět, OK, CheckBoxShow unticked (no Notepad), Vybrat všechny,
    // Smazat všechny pressed with Space, the list's first two entries ticked,
    // the checked radio button, the first channel typed, Enter.
    const std::vector<gui::KeyStep> choose = {
        gui::Keys("shift+Tab shift+Tab shift+Tab space shift+Tab shift+Tab space"),
        gui::Keys("shift+Tab Home space Down space shift+Tab shift+Tab"), gui::Typed("7"),
        gui::Keys("Return")};
    // The same with a first channel of 0: refused with a box, after which the
    // focus is back in the channel's field, where 7 is typed instead.
    std::vector<gui::KeyStep> refused = choose;
    refused[2] = gui::Typed("0");
    struct Flow {
        const char* what;
        std::vector<gui::KeyStep> keys;
        std::vector<gui::KeyStep> after_box;  // keys once a box was answered
        std::string dmf;                      // empty: no file written
        // The list's first two entries: AI6.1.AI0 and AI6.1.AI1, inputs of real-3BF.
    };
    const Flow flows[] = {
        {"two entries from channel 7",
         choose,
         {},
         "begin\r\n     7 real input\r\n     8 real input\r\nend.\r\n"},
        {"channel 0 refused, then 7",
         refused,
         {gui::Keys("BackSpace"), gui::Typed("7"), gui::Keys("Return")},
         "begin\r\n     7 real input\r\n     8 real input\r\nend.\r\n"},
        {"Escape writes nothing", {gui::Keys("Escape")}, {}, ""},
    };
    gui::BoxWatcher boxes;
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        for (const CwFile& file : kFiles) fs::remove(work_ / file.name);
        bool closed = false;
        ASSERT_TRUE(ExportWithUser([&](HWND form) {
            for (const CwFile& file : kFiles) {
                SendMessageW(Control(form, file.edit), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>((work_ / file.name).wstring().c_str()));
            }
            std::string error;
            EXPECT_TRUE(gui::PressKeys(form, flow.keys, &error)) << error;
            if (!flow.after_box.empty()) {
                EXPECT_TRUE(gui::WaitUntil([&] { return !boxes.Boxes().empty(); }));
                EXPECT_TRUE(gui::WaitUntil([&] {
                    return GetForegroundWindow() == form && IsChild(form, gui::FocusIn(form));
                })) << "the dialog active again, a control focused; foreground "
                    << GetForegroundWindow() << " form " << form << " focus " << gui::FocusIn(form)
                    << " enabled " << IsWindowEnabled(form);
                EXPECT_TRUE(gui::PressKeys(form, flow.after_box, &error)) << error;
            }
            closed = gui::WaitUntil([&] { return !IsWindowVisible(form); });
        }));
        EXPECT_TRUE(closed) << "the keys closed the dialog";
        const std::vector<gui::BoxWatcher::Box> shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), flow.after_box.empty() ? 0u : 1u);
        if (!shown.empty()) {
            EXPECT_EQ(shown.front().text,
                      L"Chyba zadání počátečního kanálu.\r\nMusí být číslo v rozsahu 1-65000.");
        }
        boxes.Clear();
        EXPECT_EQ(ReadFile(work_ / "KADEX.DMF"), flow.dmf);
        EXPECT_EQ(fs::exists(work_ / "KADEX.PAR"), !flow.dmf.empty());
    }
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_cw_export_tests");
}
