// Every letter the driver's texts can hold (A-Z, a-z and the letters among
// the CP1250 bytes 0x80-0xFF) is drawn with a glyph of its own wherever the
// driver shows text: a form's caption, labels, edits, lists, combo boxes and
// string grid, its menus and its message boxes. The controls draw with the
// font the form realizes, the caption, menus and boxes with the system's.
// A letter counts as drawn when that font maps it to a glyph and its drawing
// is not empty, not the drawing of a code point no font has, holds no box,
// and, for a small letter with a mark above, keeps the body of its letter
// (what a font that garbles small sizes breaks). Screenshots of both windows
// are kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/cp1250.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/gui/gui_support.h"

namespace lm {
namespace {

using ui::ControlKind;

// Unassigned code points: no font has a glyph for them.
constexpr wchar_t kNoFontHasIt = 0x0378;
constexpr wchar_t kNoFontHasItEither = 0x0380;

// The letters as CP1250 bytes: A-Z, a-z, then the letters above 0x7F.
std::string Cp1250Letters() {
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    for (int b = 0x80; b <= 0xFF; ++b) {
        char32_t cp = Cp1250CodePoint(static_cast<unsigned char>(b));
        if (cp != 0xFFFD && IsCharAlphaW(static_cast<wchar_t>(cp))) letters += static_cast<char>(b);
    }
    return letters;
}

std::wstring WideOf(const std::string& cp1250) {
    std::wstring wide;
    for (unsigned char b : cp1250) wide += static_cast<wchar_t>(Cp1250CodePoint(b));
    return wide;
}

// The drawings are cells larger than any letter of the fonts tested.
constexpr int kCell = 48;

// The pixels of `c` drawn alone with the font of `dc`, black on white, near
// the cell's top left.
std::vector<std::uint32_t> Drawing(HDC dc, wchar_t c) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kCell;
    info.bmiHeader.biHeight = -kCell;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return {};
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, kCell, kCell};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 2, &c, 1);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + kCell * kCell);
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    return pixels;
}

// The connected pieces of ink of a drawing (neighbours diagonal too): their
// bounding rectangles, and whether that rectangle is inked all round and
// empty inside, as the box of a missing glyph is and no letter.
struct Piece {
    int left, top, right, bottom;
    bool box;
};

// Whether the pixel at x, y of a drawing is dark (outside it: no).
bool Inked(const std::vector<std::uint32_t>& pixels, int x, int y) {
    return x >= 0 && y >= 0 && x < kCell && y < kCell &&
           (pixels[static_cast<std::size_t>(y * kCell + x)] & 0xFF00) < 0x8000;
}

std::vector<Piece> Pieces(const std::vector<std::uint32_t>& pixels) {
    auto ink = [&](int x, int y) { return Inked(pixels, x, y); };
    std::vector<Piece> pieces;
    std::vector<bool> seen(pixels.size(), false);
    for (int start = 0; start < kCell * kCell; ++start) {
        if (seen[static_cast<std::size_t>(start)] || !ink(start % kCell, start / kCell)) continue;
        Piece piece{kCell, kCell, -1, -1, false};
        std::vector<int> todo = {start};
        seen[static_cast<std::size_t>(start)] = true;
        while (!todo.empty()) {
            const int x = todo.back() % kCell, y = todo.back() / kCell;
            todo.pop_back();
            piece.left = std::min(piece.left, x);
            piece.right = std::max(piece.right, x);
            piece.top = std::min(piece.top, y);
            piece.bottom = std::max(piece.bottom, y);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int next = (y + dy) * kCell + x + dx;
                    if (ink(x + dx, y + dy) && !seen[static_cast<std::size_t>(next)]) {
                        seen[static_cast<std::size_t>(next)] = true;
                        todo.push_back(next);
                    }
                }
            }
        }
        piece.box = piece.right - piece.left >= 2 && piece.bottom - piece.top >= 3;
        for (int y = piece.top; y <= piece.bottom && piece.box; ++y) {
            for (int x = piece.left; x <= piece.right && piece.box; ++x) {
                const bool rim =
                    x == piece.left || x == piece.right || y == piece.top || y == piece.bottom;
                piece.box = ink(x, y) == rim;
            }
        }
        pieces.push_back(piece);
    }
    return pieces;
}

bool HoldsABox(const std::vector<std::uint32_t>& pixels) {
    for (const Piece& piece : Pieces(pixels)) {
        if (piece.box) return true;
    }
    return false;
}

// The letter `c` is drawn on, when `c` is a small letter with a mark above
// it (acute, caron, ring...) and that letter has nothing above its body of
// its own (so not i, d, l, t); else 0. Its canonical decomposition tells.
wchar_t BodyUnderMark(wchar_t c) {
    if (!IsCharLowerW(c)) return 0;
    wchar_t parts[8] = {};
    const int count = NormalizeString(NormalizationD, &c, 1, parts, 8);
    if (count < 2 || std::wstring(L"idlt").find(parts[0]) != std::wstring::npos) return 0;
    for (int i = 1; i < count; ++i) {
        if (parts[i] >= 0x0300 && parts[i] <= 0x0314) return parts[0];
    }
    return 0;
}

// Whether a small letter with a mark above keeps the body of the letter it
// is made of: below the top row of that letter's drawing, the same pixels,
// moved sideways by a pixel at most (a bitmap font may reshape the top row
// and centre the two apart). A font that garbles such letters at a small size
// squeezes the whole body instead.
bool KeepsItsBody(HDC dc, const std::vector<std::uint32_t>& drawn, wchar_t body) {
    const auto body_drawn = Drawing(dc, body);
    int top = kCell;
    for (const Piece& piece : Pieces(body_drawn)) top = std::min(top, piece.top);
    if (top == 0 || top == kCell) return false;
    for (int shift = -1; shift <= 1; ++shift) {
        bool same = true;
        for (int y = top + 1; y < kCell && same; ++y) {
            for (int x = 0; x < kCell && same; ++x) {
                same = Inked(drawn, x, y) == Inked(body_drawn, x - shift, y);
            }
        }
        if (same) return true;
    }
    return false;
}

// What `font` does not draw of `letters`, and the face it realizes.
struct Lacks {
    std::wstring face, letters;
};

Lacks LacksOf(HFONT font, const std::wstring& letters) {
    Lacks lacks;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    lacks.face = face;
    std::vector<WORD> glyphs(letters.size());
    const DWORD mapped = GetGlyphIndicesW(dc, letters.c_str(), static_cast<int>(letters.size()),
                                          glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    const auto box = Drawing(dc, kNoFontHasIt);
    const auto empty = Drawing(dc, L' ');
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto drawn = Drawing(dc, letters[i]);
        if (mapped == GDI_ERROR || glyphs[i] == 0xFFFF || drawn == box || drawn == empty ||
            HoldsABox(drawn) ||
            (BodyUnderMark(letters[i]) != 0 &&
             !KeepsItsBody(dc, drawn, BodyUnderMark(letters[i])))) {
            lacks.letters += letters[i];
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return lacks;
}

// UTF-8, for the failure messages.
std::string Utf8(const std::wstring& text) {
    std::string utf8;
    for (wchar_t c : text) {
        const auto cp = static_cast<std::uint32_t>(c);
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return utf8;
}

ui::Control& Place(ui::Form& form, const char* name, ControlKind kind, ui::Rect bounds,
                   const std::string& text = "") {
    ui::Control c;
    c.name = name;
    c.kind = kind;
    c.bounds = bounds;
    c.text = text;
    return form.Add(std::move(c));
}

// A form whose every text is all the letters.
class LettersForm : public ui::Form {
public:
    // As wide as the screen lets, so that the caption shows every letter.
    explicit LettersForm(const std::string& letters) : ui::Form("TLetters", letters, 1020, 300) {
        left = 2;
        top = 40;
        Place(*this, "Label1", ControlKind::Label, {8, 8, 980, 13}, letters);
        Place(*this, "Edit1", ControlKind::Edit, {8, 28, 980, 21}, letters);
        Place(*this, "ListBox1", ControlKind::ListBox, {8, 56, 980, 30}).items = {letters};
        auto& checks = Place(*this, "CheckListBox1", ControlKind::CheckListBox, {8, 92, 980, 30});
        checks.items = {letters};
        checks.item_checks = {true};
        auto& list = Place(*this, "ComboBox1", ControlKind::ComboBox, {8, 128, 980, 21});
        list.read_only = true;
        list.items = {letters};
        list.selection = 0;
        auto& text = Place(*this, "ComboBox2", ControlKind::ComboBox, {8, 156, 980, 21});
        text.items = {letters};
        text.text = letters;
        auto& grid = Place(*this, "StringGrid1", ControlKind::StringGrid, {8, 184, 980, 60});
        grid.SetGridSize(2, 2);  // the editor is in the second row and column
        grid.column_widths = {20, 950};
        grid.row_height = 18;
        grid.fixed_pitch = true;
        grid.editing = true;
        grid.Cell(1, 0) = letters;
        grid.Cell(1, 1) = letters;
    }
};

HFONT SystemFont(LOGFONTW NONCLIENTMETRICSW::*which) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return nullptr;
    }
    return CreateFontIndirectW(&(metrics.*which));
}

class Letters : public ::testing::Test {
protected:
    const std::string letters_ = Cp1250Letters();
    const std::wstring wide_ = WideOf(letters_);
};

TEST_F(Letters, TheCheckFindsWhatAFontLacks) {
    ASSERT_NE(wide_.find(L'ů'), std::wstring::npos);
    ASSERT_EQ(wide_.find(L'€'), std::wstring::npos) << "no letter";
    HFONT caption = SystemFont(&NONCLIENTMETRICSW::lfCaptionFont);
    ASSERT_NE(caption, nullptr);
    struct Case {
        std::wstring letters, lacking;
    };
    const Case cases[] = {
        {L"Az", L""},
        {{L'A', kNoFontHasItEither, L'z'}, {kNoFontHasItEither}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(LacksOf(caption, c.letters).letters), Utf8(c.lacking));
    }
    // A small letter with a mark is told from one with another body.
    HDC caption_dc = CreateCompatibleDC(nullptr);
    HGDIOBJ caption_old = SelectObject(caption_dc, caption);
    EXPECT_EQ(BodyUnderMark(L'ů'), L'u');
    EXPECT_TRUE(KeepsItsBody(caption_dc, Drawing(caption_dc, L'ů'), L'u'));
    EXPECT_FALSE(KeepsItsBody(caption_dc, Drawing(caption_dc, L'ň'), L'u'));
    SelectObject(caption_dc, caption_old);
    DeleteDC(caption_dc);
    DeleteObject(caption);
    // The box an outline font draws for a missing glyph is found by its shape
    // too (a bitmap font draws its default character instead).
    HFONT outline = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                FIXED_PITCH | FF_MODERN, L"Courier New");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, outline);
    EXPECT_TRUE(HoldsABox(Drawing(dc, kNoFontHasItEither)));
    EXPECT_FALSE(HoldsABox(Drawing(dc, L'o')));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(outline);
}

TEST_F(Letters, EveryLetterIsDrawnInEveryPlaceOfAFormAndInTheSystemFonts) {
    LettersForm form(letters_);
    win32::FormWindow window(form, {});
    ASSERT_TRUE(window.ok());
    window.Sync();
    gui::Pump(100);
    HWND hwnd = window.hwnd();
    EXPECT_EQ(gui::Text(hwnd), wide_);

    struct Case {
        const char* place;
        std::function<HFONT()> font;
        std::function<std::wstring()> shown;  // what the window holds
    };
    auto control = [&](const wchar_t* name) { return gui::FindControl(hwnd, name); };
    auto font_of = [&](const wchar_t* name) {
        return [&, name] {
            return reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0));
        };
    };
    auto item = [&](const wchar_t* name, UINT message) {
        return [&, name, message] {
            wchar_t text[512] = {};
            SendMessageW(control(name), message, 0, reinterpret_cast<LPARAM>(text));
            return std::wstring(text);
        };
    };
    auto text_of = [&](const wchar_t* name) {
        return [&, name] { return gui::Text(control(name)); };
    };
    const Case cases[] = {
        {"Label1", font_of(L"Label1"), text_of(L"Label1")},
        {"Edit1", font_of(L"Edit1"), text_of(L"Edit1")},
        {"ListBox1", font_of(L"ListBox1"), item(L"ListBox1", LB_GETTEXT)},
        {"CheckListBox1", font_of(L"CheckListBox1"), item(L"CheckListBox1", LB_GETTEXT)},
        {"ComboBox1", font_of(L"ComboBox1"), item(L"ComboBox1", CB_GETLBTEXT)},
        {"ComboBox2", font_of(L"ComboBox2"), text_of(L"ComboBox2")},
        {"StringGrid1", font_of(L"StringGrid1"),
         [&] { return gui::Text(GetWindow(control(L"StringGrid1"), GW_CHILD)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        EXPECT_EQ(c.shown(), wide_);
        Lacks lacks = LacksOf(c.font(), wide_);
        EXPECT_EQ(Utf8(lacks.letters), "") << "not drawn in " << Utf8(lacks.face);
    }
    struct SystemCase {
        const char* place;
        LOGFONTW NONCLIENTMETRICSW::*font;
    };
    const SystemCase system_cases[] = {
        {"caption", &NONCLIENTMETRICSW::lfCaptionFont},
        {"small caption", &NONCLIENTMETRICSW::lfSmCaptionFont},
        {"menu", &NONCLIENTMETRICSW::lfMenuFont},
        {"message box", &NONCLIENTMETRICSW::lfMessageFont},
    };
    for (const SystemCase& c : system_cases) {
        SCOPED_TRACE(c.place);
        HFONT font = SystemFont(c.font);
        ASSERT_NE(font, nullptr);
        Lacks lacks = LacksOf(font, wide_);
        EXPECT_EQ(Utf8(lacks.letters), "") << "not drawn in " << Utf8(lacks.face);
        std::printf("%s: %s\n", c.place, Utf8(lacks.face).c_str());
        DeleteObject(font);
    }
    EXPECT_TRUE(gui::Screenshot(hwnd, "letters-form"));
}

// The driver's own error box, shown on this thread while another reads it.
TEST_F(Letters, EveryLetterIsDrawnInTheDriversMessageBox) {
    Win32Platform platform;
    std::wstring shown;
    Lacks lacks;
    bool screenshot = false;
    std::atomic<bool> found{false};
    std::thread reader([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && box == nullptr; ++i) {
            HWND w = FindWindowW(L"#32770", L"Chyba");
            if (w != nullptr && IsWindowVisible(w)) box = w;
            if (box == nullptr) Sleep(10);
        }
        if (box == nullptr) return;
        found = true;
        Sleep(150);  // its first paint
        HWND text = GetDlgItem(box, 0xFFFF);
        shown = gui::Text(text);
        lacks = LacksOf(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), wide_);
        screenshot = gui::Screenshot(box, "letters-message-box");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(platform.ShowMessageBox(BoxKind::Error, letters_), BoxAnswer::Ok);
    reader.join();
    ASSERT_TRUE(found) << "no box on the screen";
    EXPECT_EQ(shown, wide_);
    EXPECT_EQ(Utf8(lacks.letters), "") << "not drawn in " << Utf8(lacks.face);
    EXPECT_TRUE(screenshot);
}

}  // namespace
}  // namespace lm
