// Countdown faults in the calls a loaded module makes to the system: its
// import address table is patched so that each call of a kind below goes
// through a wrapper that counts it and either fails it the way the system
// fails (return value and last error) or forwards it. The Nth call of a kind
// fails, once or from then on. The module itself is not changed on disk and
// carries no hooks of its own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace lm::test {

enum class SystemCall {
    CreateFile,
    ReadFile,
    WriteFile,    // writes half the bytes, then reports a full disk
    CloseHandle,  // closes the handle, then reports a failed flush
    MoveFileEx,
    DeleteFile,
    MessageBox,
    ShellExecute,
    LoadImage,
    CreatePopupMenu,
    AppendMenu,
    RegisterWindowMessage,
    SendMessageTimeout,
    GlobalAddAtom,
    GlobalGetAtomName,
    SetTimer,
    CreateWindowEx,
    kCount
};
inline constexpr std::size_t kSystemCalls = static_cast<std::size_t>(SystemCall::kCount);

// The system function's name ("CreateFileW").
const char* SystemCallName(SystemCall call);

struct SystemFault {
    SystemCall call;
    int nth = 1;  // counted from the last ResetSystemCalls()
    bool from_then_on = false;
};

// Routes the module's imports of every kind through the wrappers; false with
// `error` naming an import that the module does not have.
bool HookSystemCalls(HMODULE module, std::string& error);

// Zeroes the counts and arms `fault` (none: every call forwards).
void ResetSystemCalls(std::optional<SystemFault> fault);
int SystemCalls(SystemCall call);
int SystemCallsFailed(SystemCall call);

// What the module last wrote whole to a file named `name` (the last part of
// the path, any case) since the last ResetSystemCalls(): every write and the
// close succeeded, renames followed; null when it wrote none whole.
const std::string* LastWrittenWhole(const std::wstring& name);

// Sees every message box before it is shown (not those made to fail).
void OnMessageBox(std::function<void(UINT flags, const wchar_t* text)> observer);
// Decides for every shell start that is not made to fail whether it really
// starts; one that does not is answered as started.
void OnShellStart(std::function<bool(const wchar_t* file, const wchar_t* parameters)> decide);

}  // namespace lm::test
