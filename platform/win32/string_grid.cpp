// The string grid: a window of its own class that draws the model's cells
// (headings in the fixed rows and columns), moves the current cell with the
// mouse and the arrow keys, scrolls its rows, and edits the current cell in an
// edit box laid over it when the model allows editing.
#include <algorithm>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

constexpr int kLine = 1;  // grid line width
constexpr int kEditorId = 1;

int RowCount(const GridState& g) {
    return static_cast<int>(g.cells.size());
}

int ColumnCount(const GridState& g) {
    return g.cells.empty() ? 0 : static_cast<int>(g.cells.front().size());
}

int Width(const GridState& g, int column) {
    if (column >= 0 && column < static_cast<int>(g.widths.size())) {
        return g.widths[static_cast<std::size_t>(column)];
    }
    return ui::kDefaultColumnWidth;
}

int VisibleScrollingRows(HWND grid, const GridState& g) {
    RECT client{};
    GetClientRect(grid, &client);
    int pitch = g.row_height + kLine;
    int rows = (client.bottom - g.fixed_rows * pitch) / std::max(pitch, 1);
    return std::max(rows, 1);
}

// The cell's rectangle in the client area; false when it is scrolled away.
bool CellRect(const GridState& g, int column, int row, RECT& r) {
    if (row >= g.fixed_rows && row < g.top_row) return false;
    int pitch = g.row_height + kLine;
    int shown_row = row < g.fixed_rows ? row : g.fixed_rows + (row - g.top_row);
    int x = 0;
    for (int c = 0; c < column; ++c) x += Width(g, c) + kLine;
    r = {x, shown_row * pitch, x + Width(g, column), shown_row * pitch + g.row_height};
    return true;
}

bool HitTest(HWND grid, const GridState& g, int x, int y, int& column, int& row) {
    RECT client{};
    GetClientRect(grid, &client);
    for (int r = 0; r < RowCount(g); ++r) {
        for (int c = 0; c < ColumnCount(g); ++c) {
            RECT cell{};
            if (!CellRect(g, c, r, cell) || cell.top >= client.bottom) continue;
            if (x >= cell.left && x < cell.right + kLine && y >= cell.top &&
                y < cell.bottom + kLine) {
                column = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void UpdateScrollBar(HWND grid, GridState& g) {
    int first = g.fixed_rows;
    int last = RowCount(g) - 1;
    int page = VisibleScrollingRows(grid, g);
    int max_top = std::max(first, last - page + 1);
    g.top_row = std::clamp(g.top_row, first, max_top);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = first;
    info.nMax = std::max(first, last);
    info.nPage = static_cast<UINT>(page);
    info.nPos = g.top_row;
    SetScrollInfo(grid, SB_VERT, &info, TRUE);
}

void EnsureVisible(HWND grid, GridState& g, int row) {
    if (row < g.fixed_rows) return;
    int page = VisibleScrollingRows(grid, g);
    if (row < g.top_row) g.top_row = row;
    if (row >= g.top_row + page) g.top_row = row - page + 1;
}

bool EditableCell(const ui::Control& c) {
    return c.editing && c.row >= c.fixed_rows && c.row < c.RowCount() &&
           c.column >= c.fixed_columns && c.column < c.ColumnCount();
}

void PlaceEditor(ControlSlot& slot);

// Moves the current cell (clamped to the scrolling cells) and tells the form.
void MoveTo(ControlSlot& slot, int column, int row) {
    ui::Control& c = *slot.control;
    GridState& g = *slot.grid;
    if (c.RowCount() <= c.fixed_rows || c.ColumnCount() <= c.fixed_columns) return;
    column = std::clamp(column, c.fixed_columns, c.ColumnCount() - 1);
    row = std::clamp(row, c.fixed_rows, c.RowCount() - 1);
    if (column == c.column && row == c.row) return;
    c.column = column;
    c.row = row;
    EnsureVisible(slot.hwnd, g, row);
    slot.owner->Fire(c, ui::Event::SelectCell);
}

bool MoveByKey(ControlSlot& slot, WPARAM key) {
    const ui::Control& c = *slot.control;
    int page = VisibleScrollingRows(slot.hwnd, *slot.grid);
    switch (key) {
        case VK_UP:
            MoveTo(slot, c.column, c.row - 1);
            return true;
        case VK_DOWN:
            MoveTo(slot, c.column, c.row + 1);
            return true;
        case VK_PRIOR:
            MoveTo(slot, c.column, c.row - page);
            return true;
        case VK_NEXT:
            MoveTo(slot, c.column, c.row + page);
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(GetParent(hwnd));
    if (slot == nullptr || !slot->grid) return DefWindowProcW(hwnd, msg, wparam, lparam);
    WNDPROC old = slot->grid->editor_proc;
    if (msg == WM_GETDLGCODE)
        return CallWindowProcW(old, hwnd, msg, wparam, lparam) | DLGC_WANTARROWS;
    if (msg == WM_KEYDOWN && MoveByKey(*slot, wparam)) return 0;
    return CallWindowProcW(old, hwnd, msg, wparam, lparam);
}

void PlaceEditor(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    GridState& g = *slot.grid;
    RECT cell{};
    if (!EditableCell(c) || !CellRect(g, c.column, c.row, cell)) {
        if (g.editor != nullptr) ShowWindow(g.editor, SW_HIDE);
        return;
    }
    if (g.editor == nullptr) {
        g.editor = CreateWindowExW(
            0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, slot.hwnd,
            reinterpret_cast<HMENU>(INT_PTR{kEditorId}),
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(slot.hwnd, GWLP_HINSTANCE)), nullptr);
        if (g.editor == nullptr) return;
        g.editor_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(g.editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc)));
    }
    SendMessageW(g.editor, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
    SetWindowPos(g.editor, nullptr, cell.left + 2, cell.top + 2, cell.right - cell.left - 2,
                 cell.bottom - cell.top - 2, SWP_NOZORDER | SWP_NOACTIVATE);
    std::wstring text = Wide(c.Cell(c.column, c.row));
    int length = GetWindowTextLengthW(g.editor);
    std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(g.editor, shown.data(), length + 1);
    shown.resize(static_cast<std::size_t>(length));
    if (shown != text) {
        g.editor_syncing = true;
        SetWindowTextW(g.editor, text.c_str());
        SendMessageW(g.editor, EM_SETSEL, 0, -1);
        g.editor_syncing = false;
    }
    ShowWindow(g.editor, SW_SHOWNA);
    if (GetFocus() == slot.hwnd) SetFocus(g.editor);
}

void Paint(HWND grid, ControlSlot& slot) {
    GridState& g = *slot.grid;
    const ui::Control& c = *slot.control;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(grid, &ps);
    RECT client{};
    GetClientRect(grid, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ old_font =
        SelectObject(dc, g.font != nullptr ? g.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const bool editor_shown = g.editor != nullptr && IsWindowVisible(g.editor);
    for (int r = 0; r < RowCount(g); ++r) {
        for (int col = 0; col < ColumnCount(g); ++col) {
            RECT cell{};
            if (!CellRect(g, col, r, cell)) continue;
            if (cell.top >= client.bottom || cell.left >= client.right) continue;
            const bool fixed = r < g.fixed_rows || col < g.fixed_columns;
            const bool current = r == c.row && col == c.column && !editor_shown;
            RECT line_right{cell.right, cell.top, cell.right + kLine, cell.bottom + kLine};
            RECT line_bottom{cell.left, cell.bottom, cell.right + kLine, cell.bottom + kLine};
            FillRect(dc, &line_right, GetSysColorBrush(COLOR_BTNSHADOW));
            FillRect(dc, &line_bottom, GetSysColorBrush(COLOR_BTNSHADOW));
            int text_colour = COLOR_WINDOWTEXT;
            if (fixed) {
                FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
                DrawEdge(dc, &cell, BDR_RAISEDINNER, BF_RECT);
                text_colour = COLOR_BTNTEXT;
            } else if (current) {
                FillRect(dc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
                text_colour = COLOR_HIGHLIGHTTEXT;
            }
            if (!IsWindowEnabled(grid)) text_colour = COLOR_GRAYTEXT;
            SetTextColor(dc, GetSysColor(text_colour));
            std::wstring text =
                Wide(g.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)]);
            RECT text_rect{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
                      DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
        }
    }
    SelectObject(dc, old_font);
    EndPaint(grid, &ps);
}

void Scroll(ControlSlot& slot, int code) {
    GridState& g = *slot.grid;
    int page = VisibleScrollingRows(slot.hwnd, g);
    int top = g.top_row;
    switch (code) {
        case SB_LINEUP:
            --top;
            break;
        case SB_LINEDOWN:
            ++top;
            break;
        case SB_PAGEUP:
            top -= page;
            break;
        case SB_PAGEDOWN:
            top += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(slot.hwnd, SB_VERT, &info);
            top = info.nTrackPos;
            break;
        }
        default:
            return;
    }
    g.top_row = top;
    UpdateScrollBar(slot.hwnd, g);
    InvalidateRect(slot.hwnd, nullptr, FALSE);
    PlaceEditor(slot);
}

LRESULT CALLBACK GridProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr || !slot->grid) return DefWindowProcW(hwnd, msg, wparam, lparam);
    GridState& g = *slot->grid;
    switch (msg) {
        case WM_SETFONT:
            g.font = reinterpret_cast<HFONT>(wparam);
            if (LOWORD(lparam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(g.font);
        case WM_PAINT:
            Paint(hwnd, *slot);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills everything
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
            if (g.editor != nullptr && IsWindowVisible(g.editor)) SetFocus(g.editor);
            return 0;
        case WM_LBUTTONDOWN: {
            SetFocus(hwnd);
            int column = 0, row = 0;
            if (HitTest(hwnd, g, static_cast<short>(LOWORD(lparam)),
                        static_cast<short>(HIWORD(lparam)), column, row)) {
                MoveTo(*slot, column, row);
            }
            return 0;
        }
        case WM_KEYDOWN: {
            const ui::Control& c = *slot->control;
            if (wparam == VK_LEFT) {
                MoveTo(*slot, c.column - 1, c.row);
            } else if (wparam == VK_RIGHT) {
                MoveTo(*slot, c.column + 1, c.row);
            } else if (!MoveByKey(*slot, wparam)) {
                break;
            }
            return 0;
        }
        case WM_VSCROLL:
            Scroll(*slot, LOWORD(wparam));
            return 0;
        case WM_MOUSEWHEEL:
            Scroll(*slot, static_cast<short>(HIWORD(wparam)) > 0 ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        case WM_SIZE:
            UpdateScrollBar(hwnd, g);
            PlaceEditor(*slot);
            return 0;
        case WM_COMMAND:
            // The editor's text goes into the current cell as it is typed.
            if (LOWORD(wparam) == kEditorId && HIWORD(wparam) == EN_CHANGE && !g.editor_syncing) {
                ui::Control& c = *slot->control;
                if (EditableCell(c)) {
                    int length = GetWindowTextLengthW(g.editor);
                    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                    GetWindowTextW(g.editor, text.data(), length + 1);
                    text.resize(static_cast<std::size_t>(length));
                    c.Cell(c.column, c.row) = Narrow(text);
                    g.cells[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)] =
                        c.Cell(c.column, c.row);
                    slot->owner->Fire(c, ui::Event::Change);
                }
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

void CreateStringGrid(ControlSlot& slot, WindowRecipe& recipe) {
    recipe.window_class = kStringGridClass;
    recipe.style |= WS_TABSTOP | WS_VSCROLL;
    recipe.ex_style |= WS_EX_CLIENTEDGE;
    slot.grid = std::make_unique<GridState>();
}

// Repaints and places the editor when the model's grid changed.
void SyncStringGrid(ControlSlot& slot, bool) {
    const ui::Control& c = *slot.control;
    GridState& g = *slot.grid;
    const bool changed = !g.valid || c.cells != g.cells || c.column_widths != g.widths ||
                         c.row_height != g.row_height || c.fixed_rows != g.fixed_rows ||
                         c.fixed_columns != g.fixed_columns || c.row != g.row ||
                         c.column != g.column || c.editing != g.editing;
    if (!changed) return;
    const bool moved = c.row != g.row;
    g.cells = c.cells;
    g.widths = c.column_widths;
    g.row_height = std::max(c.row_height, 1);
    g.fixed_rows = std::max(c.fixed_rows, 0);
    g.fixed_columns = std::max(c.fixed_columns, 0);
    g.row = c.row;
    g.column = c.column;
    g.editing = c.editing;
    if (!g.valid) g.top_row = g.fixed_rows;
    g.valid = true;
    if (moved) EnsureVisible(slot.hwnd, g, c.row);
    UpdateScrollBar(slot.hwnd, g);
    InvalidateRect(slot.hwnd, nullptr, FALSE);
    PlaceEditor(slot);
}

}  // namespace

bool RegisterStringGridClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kStringGridClass, GridProc);
}

void UnregisterStringGridClass(HINSTANCE instance) {
    UnregisterClassW(kStringGridClass, instance);
}

void ReleaseStringGrid(ControlSlot& slot) {
    GridState& g = *slot.grid;
    if (g.editor != nullptr && g.editor_proc != nullptr) {
        SetWindowLongPtrW(g.editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g.editor_proc));
    }
}

const KindRenderer kStringGridRenderer{
    .create = CreateStringGrid,
    .sync = SyncStringGrid,
};

}  // namespace lm::win32
