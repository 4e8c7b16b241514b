#include "platform/win32/font_cache.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

struct CachedFont {
    FontKey key;
    HFONT font = nullptr;
    bool made = false;     // false: the stock font stands in, nothing to delete
    int item_height = 0;   // 0: not measured yet
    int edit_margin = -1;  // -1: not asked yet
};

// A handful of entries at most (a form uses one face and size in few styles).
std::vector<CachedFont>& Cache() {
    static std::vector<CachedFont> cache;
    return cache;
}

CachedFont& Entry(const FontKey& key) {
    for (CachedFont& cached : Cache()) {
        if (cached.key == key) return cached;
    }
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(key.size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    const std::wstring face = Wide(key.face);
    HFONT font = CreateFontW(
        height, 0, 0, 0, key.bold ? FW_BOLD : FW_NORMAL, FALSE, key.underline ? TRUE : FALSE, FALSE,
        EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        (key.fixed_pitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_SWISS), face.c_str());
    CachedFont cached{key, font, font != nullptr, 0, -1};
    if (font == nullptr) cached.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Cache().push_back(cached);
    return Cache().back();
}

}  // namespace

HFONT SharedFont(const FontKey& key) {
    return Entry(key).font;
}

int SharedItemHeight(const FontKey& key) {
    CachedFont& cached = Entry(key);
    if (cached.item_height == 0) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, cached.font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        cached.item_height = std::max<int>(tm.tmHeight + 3, 13);
    }
    return cached.item_height;
}

int SharedEditMargin(const FontKey& key) {
    CachedFont& cached = Entry(key);
    if (cached.edit_margin < 0) {
        cached.edit_margin = 0;
        HWND probe = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (probe != nullptr) {
            SendMessageW(probe, WM_SETFONT, reinterpret_cast<WPARAM>(cached.font), FALSE);
            cached.edit_margin = LOWORD(SendMessageW(probe, EM_GETMARGINS, 0, 0));
            DestroyWindow(probe);
        }
    }
    return cached.edit_margin;
}

void ReleaseSharedFonts() {
    for (CachedFont& cached : Cache()) {
        if (cached.made) DeleteObject(cached.font);
    }
    Cache().clear();
}

}  // namespace lm::win32
