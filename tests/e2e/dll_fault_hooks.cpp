#include "tests/e2e/dll_fault_hooks.h"

#include <shellapi.h>

#include <array>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <map>

namespace lm::test {
namespace {

// A file the module has open for writing: what it holds as far as the
// module wrote it, and whether a write failed.
struct Written {
    std::wstring name;
    std::string bytes;
    bool failed = false;
};

// The last part of a path in capitals: the key of the files written.
std::wstring FileKey(const wchar_t* path) {
    std::wstring key(path);
    const std::size_t slash = key.find_last_of(L"\\/");
    if (slash != std::wstring::npos) key.erase(0, slash + 1);
    for (wchar_t& c : key) c = static_cast<wchar_t>(towupper(c));
    return key;
}

std::string Content(const wchar_t* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Hooks {
    std::map<HANDLE, Written> writing;
    std::map<std::wstring, std::string> whole;  // by FileKey
    std::array<void*, kSystemCalls> original{};
    std::array<int, kSystemCalls> calls{};
    std::array<int, kSystemCalls> failed{};
    std::optional<SystemFault> fault;
    std::function<void(UINT, const wchar_t*)> box_observer;
    std::function<bool(const wchar_t*, const wchar_t*)> shell_decide;
};
Hooks g_hooks;

std::size_t Index(SystemCall call) {
    return static_cast<std::size_t>(call);
}

// Counts a call; true when it is to fail, with `error` as the last error.
bool Fails(SystemCall call, DWORD error) {
    const int n = ++g_hooks.calls[Index(call)];
    const std::optional<SystemFault>& fault = g_hooks.fault;
    if (!fault || fault->call != call) return false;
    if (n != fault->nth && !(fault->from_then_on && n > fault->nth)) return false;
    ++g_hooks.failed[Index(call)];
    SetLastError(error);
    return true;
}

template <class Fn>
Fn Original(SystemCall call) {
    return reinterpret_cast<Fn>(g_hooks.original[Index(call)]);
}

HANDLE WINAPI HookCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE model) {
    if (Fails(SystemCall::CreateFile, ERROR_ACCESS_DENIED)) return INVALID_HANDLE_VALUE;
    const bool writes = (access & (GENERIC_WRITE | FILE_APPEND_DATA | FILE_WRITE_DATA)) != 0;
    std::string kept;
    if (writes && disposition != CREATE_ALWAYS && disposition != TRUNCATE_EXISTING)
        kept = Content(name);
    const HANDLE file = Original<decltype(&CreateFileW)>(SystemCall::CreateFile)(
        name, access, share, sa, disposition, flags, model);
    if (writes && file != INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        g_hooks.writing[file] = {FileKey(name), std::move(kept), false};
        SetLastError(error);
    }
    return file;
}

BOOL WINAPI HookReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED ov) {
    if (Fails(SystemCall::ReadFile, ERROR_READ_FAULT)) {
        if (read != nullptr) *read = 0;
        return FALSE;
    }
    return Original<decltype(&ReadFile)>(SystemCall::ReadFile)(file, buffer, size, read, ov);
}

BOOL WINAPI HookWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                          LPOVERLAPPED ov) {
    const auto write = Original<decltype(&WriteFile)>(SystemCall::WriteFile);
    if (Fails(SystemCall::WriteFile, ERROR_DISK_FULL)) {
        DWORD half = 0;
        if (size / 2 != 0) write(file, bytes, size / 2, &half, ov);
        if (written != nullptr) *written = half;
        if (auto it = g_hooks.writing.find(file); it != g_hooks.writing.end()) {
            it->second.bytes.append(static_cast<const char*>(bytes), half);
            it->second.failed = true;
        }
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    DWORD done = 0;
    const BOOL ok = write(file, bytes, size, &done, ov);
    if (written != nullptr) *written = done;
    if (auto it = g_hooks.writing.find(file); it != g_hooks.writing.end()) {
        it->second.bytes.append(static_cast<const char*>(bytes), done);
        it->second.failed = it->second.failed || !ok;
    }
    return ok;
}

BOOL WINAPI HookCloseHandle(HANDLE handle) {
    const BOOL closed = Original<decltype(&CloseHandle)>(SystemCall::CloseHandle)(handle);
    const bool fails = Fails(SystemCall::CloseHandle, ERROR_DISK_FULL);
    if (auto it = g_hooks.writing.find(handle); it != g_hooks.writing.end()) {
        if (closed && !fails && !it->second.failed)
            g_hooks.whole[it->second.name] = std::move(it->second.bytes);
        g_hooks.writing.erase(it);
    }
    return fails ? FALSE : closed;
}

BOOL WINAPI HookMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (Fails(SystemCall::MoveFileEx, ERROR_ACCESS_DENIED)) return FALSE;
    const BOOL moved = Original<decltype(&MoveFileExW)>(SystemCall::MoveFileEx)(from, to, flags);
    if (moved && to != nullptr) {
        auto it = g_hooks.whole.find(FileKey(from));
        if (it != g_hooks.whole.end()) {
            std::string bytes = std::move(it->second);
            g_hooks.whole.erase(it);
            g_hooks.whole[FileKey(to)] = std::move(bytes);
        } else {
            g_hooks.whole.erase(FileKey(to));
        }
    }
    return moved;
}

BOOL WINAPI HookDeleteFileW(LPCWSTR name) {
    if (Fails(SystemCall::DeleteFile, ERROR_ACCESS_DENIED)) return FALSE;
    const BOOL deleted = Original<decltype(&DeleteFileW)>(SystemCall::DeleteFile)(name);
    if (deleted) g_hooks.whole.erase(FileKey(name));
    return deleted;
}

int WINAPI HookMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
    if (Fails(SystemCall::MessageBox, ERROR_NOT_ENOUGH_MEMORY)) return 0;
    if (g_hooks.box_observer) g_hooks.box_observer(flags, text != nullptr ? text : L"");
    return Original<decltype(&MessageBoxW)>(SystemCall::MessageBox)(owner, text, caption, flags);
}

HINSTANCE WINAPI HookShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                   LPCWSTR folder, INT show) {
    if (Fails(SystemCall::ShellExecute, ERROR_FILE_NOT_FOUND))
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
    if (g_hooks.shell_decide && !g_hooks.shell_decide(file != nullptr ? file : L"",
                                                      parameters != nullptr ? parameters : L""))
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    return Original<decltype(&ShellExecuteW)>(SystemCall::ShellExecute)(owner, verb, file,
                                                                        parameters, folder, show);
}

HANDLE WINAPI HookLoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy,
                             UINT flags) {
    if (Fails(SystemCall::LoadImage, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
    return Original<decltype(&LoadImageW)>(SystemCall::LoadImage)(instance, name, type, cx, cy,
                                                                  flags);
}

HMENU WINAPI HookCreatePopupMenu() {
    if (Fails(SystemCall::CreatePopupMenu, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
    return Original<decltype(&CreatePopupMenu)>(SystemCall::CreatePopupMenu)();
}

BOOL WINAPI HookAppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    if (Fails(SystemCall::AppendMenu, ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
    return Original<decltype(&AppendMenuW)>(SystemCall::AppendMenu)(menu, flags, id, text);
}

UINT WINAPI HookRegisterWindowMessageW(LPCWSTR name) {
    if (Fails(SystemCall::RegisterWindowMessage, ERROR_NOT_ENOUGH_MEMORY)) return 0;
    return Original<decltype(&RegisterWindowMessageW)>(SystemCall::RegisterWindowMessage)(name);
}

LRESULT WINAPI HookSendMessageTimeoutW(HWND window, UINT msg, WPARAM wparam, LPARAM lparam,
                                       UINT flags, UINT timeout, PDWORD_PTR result) {
    if (Fails(SystemCall::SendMessageTimeout, ERROR_TIMEOUT)) return 0;
    return Original<decltype(&SendMessageTimeoutW)>(SystemCall::SendMessageTimeout)(
        window, msg, wparam, lparam, flags, timeout, result);
}

ATOM WINAPI HookGlobalAddAtomW(LPCWSTR text) {
    if (Fails(SystemCall::GlobalAddAtom, ERROR_NOT_ENOUGH_MEMORY)) return 0;
    return Original<decltype(&GlobalAddAtomW)>(SystemCall::GlobalAddAtom)(text);
}

UINT WINAPI HookGlobalGetAtomNameW(ATOM atom, LPWSTR buffer, int size) {
    if (Fails(SystemCall::GlobalGetAtomName, ERROR_INVALID_HANDLE)) return 0;
    return Original<decltype(&GlobalGetAtomNameW)>(SystemCall::GlobalGetAtomName)(atom, buffer,
                                                                                  size);
}

UINT_PTR WINAPI HookSetTimer(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc) {
    if (Fails(SystemCall::SetTimer, ERROR_NOT_ENOUGH_MEMORY)) return 0;
    return Original<decltype(&SetTimer)>(SystemCall::SetTimer)(window, id, ms, proc);
}

HWND WINAPI HookCreateWindowExW(DWORD ex_style, LPCWSTR window_class, LPCWSTR title, DWORD style,
                                int x, int y, int cx, int cy, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
    if (Fails(SystemCall::CreateWindowEx, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
    return Original<decltype(&CreateWindowExW)>(SystemCall::CreateWindowEx)(
        ex_style, window_class, title, style, x, y, cx, cy, parent, menu, instance, param);
}

struct Hook {
    const char* name;
    void* wrapper;
};

// In the order of SystemCall.
const std::array<Hook, kSystemCalls>& HookTable() {
    static const std::array<Hook, kSystemCalls> table = {{
        {"CreateFileW", reinterpret_cast<void*>(&HookCreateFileW)},
        {"ReadFile", reinterpret_cast<void*>(&HookReadFile)},
        {"WriteFile", reinterpret_cast<void*>(&HookWriteFile)},
        {"CloseHandle", reinterpret_cast<void*>(&HookCloseHandle)},
        {"MoveFileExW", reinterpret_cast<void*>(&HookMoveFileExW)},
        {"DeleteFileW", reinterpret_cast<void*>(&HookDeleteFileW)},
        {"MessageBoxW", reinterpret_cast<void*>(&HookMessageBoxW)},
        {"ShellExecuteW", reinterpret_cast<void*>(&HookShellExecuteW)},
        {"LoadImageW", reinterpret_cast<void*>(&HookLoadImageW)},
        {"CreatePopupMenu", reinterpret_cast<void*>(&HookCreatePopupMenu)},
        {"AppendMenuW", reinterpret_cast<void*>(&HookAppendMenuW)},
        {"RegisterWindowMessageW", reinterpret_cast<void*>(&HookRegisterWindowMessageW)},
        {"SendMessageTimeoutW", reinterpret_cast<void*>(&HookSendMessageTimeoutW)},
        {"GlobalAddAtomW", reinterpret_cast<void*>(&HookGlobalAddAtomW)},
        {"GlobalGetAtomNameW", reinterpret_cast<void*>(&HookGlobalGetAtomNameW)},
        {"SetTimer", reinterpret_cast<void*>(&HookSetTimer)},
        {"CreateWindowExW", reinterpret_cast<void*>(&HookCreateWindowExW)},
    }};
    return table;
}

}  // namespace

const char* SystemCallName(SystemCall call) {
    return HookTable()[Index(call)].name;
}

bool HookSystemCalls(HMODULE module, std::string& error) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::array<bool, kSystemCalls> found{};
    for (auto* dll =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         imports.VirtualAddress != 0 && dll->Name != 0; ++dll) {
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (dll->OriginalFirstThunk != 0 ? dll->OriginalFirstThunk : dll->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<const char*>(
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)
                    ->Name);
            for (std::size_t i = 0; i < kSystemCalls; ++i) {
                if (std::strcmp(name, HookTable()[i].name) != 0) continue;
                auto* slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (*slot != HookTable()[i].wrapper) g_hooks.original[i] = *slot;
                DWORD old = 0;
                VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
                *slot = HookTable()[i].wrapper;
                VirtualProtect(slot, sizeof *slot, old, &old);
                found[i] = true;
            }
        }
    }
    for (std::size_t i = 0; i < kSystemCalls; ++i) {
        if (!found[i]) {
            error = std::string("the module does not import ") + HookTable()[i].name;
            return false;
        }
    }
    return true;
}

void ResetSystemCalls(std::optional<SystemFault> fault) {
    g_hooks.calls = {};
    g_hooks.failed = {};
    g_hooks.fault = fault;
    g_hooks.whole.clear();
    g_hooks.writing.clear();
}

const std::string* LastWrittenWhole(const std::wstring& name) {
    auto it = g_hooks.whole.find(FileKey(name.c_str()));
    return it == g_hooks.whole.end() ? nullptr : &it->second;
}

int SystemCalls(SystemCall call) {
    return g_hooks.calls[Index(call)];
}

int SystemCallsFailed(SystemCall call) {
    return g_hooks.failed[Index(call)];
}

void OnMessageBox(std::function<void(UINT flags, const wchar_t* text)> observer) {
    g_hooks.box_observer = std::move(observer);
}

void OnShellStart(std::function<bool(const wchar_t* file, const wchar_t* parameters)> decide) {
    g_hooks.shell_decide = std::move(decide);
}

}  // namespace lm::test
