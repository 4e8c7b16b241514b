// Edit boxes, numeric edits (TFloatEdit) and memos: EDIT windows.
#include <windows.h>

#include <algorithm>

#include "platform/win32/control_kinds.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_text.h"
#include "ui/float_edit.h"
#include "ui/line_sync.h"

namespace lm::win32 {
namespace {

// Posted to a numeric edit that gave the focus away holding no number.
constexpr UINT kTakeFocusBack = WM_APP + 0x14E;

std::wstring JoinLines(const std::vector<std::string>& lines, std::size_t from) {
    std::wstring text;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (i > from) text += L"\r\n";
        text += Wide(lines[i]);
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    return lines;
}

// A numeric edit: its model filters the typed characters (a refused one
// beeps), steps the value with the arrow keys and normalises the text when
// the focus leaves; a text that is no number takes the focus back, silently.
LRESULT CALLBACK FloatEditProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    WNDPROC old = slot->old_proc;
    ui::Control& c = *slot->control;
    ui::TFloatEdit edit(c);
    switch (msg) {
        case WM_CHAR: {
            const char key = wparam < 0x80 ? static_cast<char>(wparam) : '\x7F';
            if (!edit.KeyPress(key)) {
                MessageBeep(MB_OK);
                return 0;
            }
            break;
        }
        case WM_KEYDOWN:
            if (wparam == VK_UP || wparam == VK_DOWN) {
                c.text = WindowText(hwnd);
                edit.KeyDown(wparam == VK_UP ? ui::ArrowKey::Up : ui::ArrowKey::Down);
                slot->owner->Fire(c, ui::Event::Change);
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            LRESULT result = CallWindowProcW(old, hwnd, msg, wparam, lparam);
            c.text = WindowText(hwnd);
            // A form closing (Zpět with a bad number) lets the focus go.
            const bool closing = slot->owner->form().modal_result != ui::ModalResult::None;
            // Only a refused key beeps; a text that is no number takes the
            // focus back without a sound.
            if (!edit.Exit() && !closing) {
                c.number.wants_focus = false;
                PostMessageW(hwnd, kTakeFocusBack, 0, 0);
            }
            slot->owner->Sync();
            return result;
        }
        case kTakeFocusBack:
            SetFocus(hwnd);
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            return 0;
        default:
            break;
    }
    return CallWindowProcW(old, hwnd, msg, wparam, lparam);
}

void CreateEdit(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = L"EDIT";
    recipe.style |= WS_TABSTOP | ES_AUTOHSCROLL;
    recipe.ex_style |= WS_EX_CLIENTEDGE;
}

void CreateMemo(ControlSlot& slot, WindowRecipe& recipe) {
    // Long lines wrap, as in a memo with only a vertical scroll bar.
    recipe.window_class = L"EDIT";
    recipe.style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (slot.control->vertical_scroll) recipe.style |= WS_VSCROLL;
    recipe.ex_style |= WS_EX_CLIENTEDGE;
}

// What every edit window takes: read-only and the length limit.
void SyncEditBox(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    if (all || c.read_only != a.read_only) {
        SendMessageW(h, EM_SETREADONLY, c.read_only ? TRUE : FALSE, 0);
        a.read_only = c.read_only;
    }
    if (all || c.max_length != a.max_length) {
        SendMessageW(h, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(c.max_length, 0)), 0);
        a.max_length = c.max_length;
    }
}

void SyncEdit(ControlSlot& slot, bool all) {
    SyncText(slot, all);
    SyncEditBox(slot, all);
}

void SyncFloatEdit(ControlSlot& slot, bool all) {
    SyncText(slot, all);
    SyncEditBox(slot, all);
    // A handler found the text no number: the user corrects it there.
    ui::Control& c = *slot.control;
    if (c.number.wants_focus) {
        c.number.wants_focus = false;
        PostMessageW(slot.hwnd, kTakeFocusBack, 0, 0);
    }
}

void SyncMemo(ControlSlot& slot, bool all) {
    SyncEditBox(slot, all);
    // The first text at once; later lines when the thread next takes
    // its messages, all lines written meanwhile in one go.
    if (all || !slot.FlushMemosLater()) SyncMemoLines(slot);
}

void EditCommand(ControlSlot& slot, HWND window, int code) {
    if (code != EN_CHANGE) return;
    ui::Control& c = *slot.control;
    c.text = WindowText(window);
    slot.applied.text = c.text;
    slot.owner->Fire(c, ui::Event::Change);
}

void MemoCommand(ControlSlot& slot, HWND window, int code) {
    if (code != EN_CHANGE) return;
    ui::Control& c = *slot.control;
    c.items = SplitLines(WindowText(window));
    slot.applied.items = c.items;
    slot.owner->Fire(c, ui::Event::Change);
}

// A numeric edit whose text a handler found no number takes the focus: it
// needs its window for that.
bool FloatEditNeedsWindow(const ui::Control& c) {
    return c.number.wants_focus;
}

// An edit box as the system draws one: a sunken frame around the field in
// the brush and colours the form gives an edit box (a static one when it is
// read-only or disabled), the text after the margin the font gives it.
void DrawEditFace(ControlSlot& slot, HDC dc, const RECT& client) {
    RECT field = client;
    DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillFaceField(slot, dc, field, !slot.control->read_only);
    DrawFaceText(slot, dc, field.left + 1 + slot.EditMargin(), field.top + 1, field);
}

}  // namespace

void SyncMemoLines(ControlSlot& slot) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    RendererStats& stats = slot.Stats();
    ui::LinePlan plan = a.valid ? ui::PlanLines(a.items, c.items) : ui::LinePlan{true, 0, 0};
    if (plan.replace_all) {
        SetWindowTextW(h, JoinLines(c.items, 0).c_str());
        a.items = c.items;
        ++stats.text_resets;
        return;
    }
    if (plan.drop > 0) {
        std::size_t chars = 0;
        for (std::size_t i = 0; i < plan.drop; ++i) chars += a.items[i].size() + 2;
        SendMessageW(h, EM_SETSEL, 0, static_cast<LPARAM>(chars));
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        a.items.erase(a.items.begin(), a.items.begin() + static_cast<std::ptrdiff_t>(plan.drop));
        stats.lines_dropped += static_cast<int>(plan.drop);
    }
    if (plan.append_from < c.items.size()) {
        std::wstring text = a.items.empty() ? std::wstring() : std::wstring(L"\r\n");
        text += JoinLines(c.items, plan.append_from);
        int end = GetWindowTextLengthW(h);
        SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(h, EM_SCROLLCARET, 0, 0);
        a.items.insert(a.items.end(),
                       c.items.begin() + static_cast<std::ptrdiff_t>(plan.append_from),
                       c.items.end());
        ++stats.appends;
        stats.lines_appended += static_cast<int>(c.items.size() - plan.append_from);
    }
}

const KindRenderer kEditRenderer{
    .create = CreateEdit,
    .sync = SyncEdit,
    .command = EditCommand,
    .face_text = FaceOfOwnText,
    .face_draw = DrawEditFace,
    .background = Background::Window,
    .made_with_text = true,
};

const KindRenderer kFloatEditRenderer{
    .create = CreateEdit,
    .subclass = FloatEditProc,
    .sync = SyncFloatEdit,
    .command = EditCommand,
    .face_text = FaceOfOwnText,
    .face_draw = DrawEditFace,
    .face_needs_window = FloatEditNeedsWindow,
    .background = Background::Window,
    .made_with_text = true,
};

const KindRenderer kMemoRenderer{
    .create = CreateMemo,
    .sync = SyncMemo,
    .command = MemoCommand,
    .background = Background::Window,
};

}  // namespace lm::win32
