// The form windows' class registration, the modal loop and the hints.
#include "platform/win32/form_window.h"

#include <commctrl.h>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

HINSTANCE g_instance = nullptr;
bool g_classes_registered = false;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (window != nullptr && window->Handle(msg, wparam, lparam, result)) return result;
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

bool RegisterFormClass(const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks: those on a label the form draws are the label's.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = RendererInstance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A control's tool in the form's tooltip, by its window.
TOOLINFOW ToolOf(HWND form, HWND window) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    return tool;
}

// A drawn label's tool: its place on the form, none while it is hidden.
TOOLINFOW PaintedToolOf(HWND form, const ControlSlot& slot) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = static_cast<UINT_PTR>(slot.id);
    if (slot.applied.shown) tool.rect = RectOf(slot.applied.placement);
    return tool;
}

}  // namespace

bool RegisterChildClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HINSTANCE RendererInstance() {
    return g_instance != nullptr ? g_instance : GetModuleHandleW(nullptr);
}

void RegisterRendererClasses() {
    if (g_classes_registered) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    g_classes_registered = RegisterFormClass(kDriverWindowClass) &
                           RegisterFormClass(kFormWindowClass) &
                           RegisterStringGridClass(RendererInstance());
}

void SetRendererInstance(HINSTANCE instance) {
    g_instance = instance;
}

void UnregisterRendererClasses() {
    if (!g_classes_registered) return;
    UnregisterClassW(kDriverWindowClass, RendererInstance());
    UnregisterClassW(kFormWindowClass, RendererInstance());
    UnregisterStringGridClass(RendererInstance());
    ReleaseSharedFonts();
    g_classes_registered = false;
}

void FormWindow::SyncHint(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (c.hint == a.hint) return;
    if (tooltip_ == nullptr) {
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   RendererInstance(), nullptr);
        if (tooltip_ == nullptr) return;
    }
    std::wstring text = Wide(c.hint);
    TOOLINFOW tool = slot.painted ? PaintedToolOf(hwnd_, slot) : ToolOf(hwnd_, slot.hwnd);
    tool.lpszText = text.data();
    UINT message = a.hint.empty()   ? TTM_ADDTOOLW
                   : c.hint.empty() ? TTM_DELTOOLW
                                    : TTM_UPDATETIPTEXTW;
    SendMessageW(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));
    a.hint = c.hint;
}

void FormWindow::MovePaintedHint(ControlSlot& slot) {
    if (tooltip_ == nullptr || slot.applied.hint.empty()) return;
    TOOLINFOW tool = PaintedToolOf(hwnd_, slot);
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormWindow::DropPaintedHint(ControlSlot& slot) {
    if (tooltip_ == nullptr) return;
    TOOLINFOW tool = PaintedToolOf(hwnd_, slot);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

ui::ModalResult ShowModalForm(ui::Form& form, HWND owner) {
    form.modal_result = ui::ModalResult::None;
    if (form.centred) {
        form.left = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
        form.top = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
    }
    FormWindow::Options options;
    options.owner = owner;
    options.modal = true;
    FormWindow window(form, options);
    if (!window.ok()) return ui::ModalResult::Cancel;
    const bool disable_owner = owner != nullptr && IsWindowEnabled(owner);
    if (disable_owner) EnableWindow(owner, FALSE);
    window.Sync();
    window.FocusFirstField();
    MSG msg{};
    while (form.modal_result == ui::ModalResult::None && IsWindow(window.hwnd())) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            break;
        }
        // Tab through faces and a drawn label's mnemonic, which the dialog
        // manager cannot see.
        if (!window.OnTabKey(msg) && !window.OnLabelMnemonic(msg) &&
            !IsDialogMessageW(window.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        window.FollowFocus();
    }
    // The owner is enabled before the form goes, so that it gets the focus back.
    if (disable_owner) EnableWindow(owner, TRUE);
    ShowWindow(window.hwnd(), SW_HIDE);
    return form.modal_result == ui::ModalResult::None ? ui::ModalResult::Cancel : form.modal_result;
}

}  // namespace lm::win32
