#include "tests/support/fault_platform.h"

namespace lm::test {
namespace {

// The file operation behind each file kind.
std::optional<FileOp> FileOpOf(FaultKind kind) {
    switch (kind) {
        case FaultKind::FileOpen:
            return FileOp::Open;
        case FaultKind::FileRead:
            return FileOp::ShortRead;
        case FaultKind::FileWrite:
            return FileOp::Write;
        case FaultKind::FileClose:
            return FileOp::Close;
        case FaultKind::FileRename:
            return FileOp::Rename;
        case FaultKind::FileDelete:
            return FileOp::Delete;
        default:
            return std::nullopt;
    }
}

constexpr int kShellFileNotFound = 2;

}  // namespace

const char* FaultKindName(FaultKind kind) {
    static const char* const kNames[kFaultKinds] = {
        "file open",   "file read",   "file write",       "file close",    "file rename",
        "file delete", "message box", "modal form",       "driver window", "shell start",
        "bitmap",      "menu",        "register message", "send message",  "atom add",
        "atom name",   "timer",
    };
    return kNames[static_cast<std::size_t>(kind)];
}

std::vector<FaultKind> AllFaultKinds() {
    std::vector<FaultKind> kinds;
    for (std::size_t i = 0; i < kFaultKinds; ++i) kinds.push_back(static_cast<FaultKind>(i));
    return kinds;
}

FaultPlatform::FaultPlatform(std::unique_ptr<Platform> inner)
    : PlatformWrapper(std::move(inner)), files_(target().files()) {}

void FaultPlatform::Arm(const PlatformFault& fault) {
    if (std::optional<FileOp> op = FileOpOf(fault.kind)) {
        files_.Add({*op, "", fault.nth, fault.from_then_on});
        return;
    }
    armed_.push_back(fault);
    armed_at_[Index(fault.kind)] = calls_[Index(fault.kind)];
}

void FaultPlatform::Disarm() {
    armed_.clear();
    files_.Clear();
}

int FaultPlatform::Calls(FaultKind kind) const {
    if (std::optional<FileOp> op = FileOpOf(kind)) return files_.Seen(*op, "");
    return calls_[Index(kind)];
}

int FaultPlatform::Injected(FaultKind kind) const {
    if (std::optional<FileOp> op = FileOpOf(kind)) return files_.Hits(*op);
    return injected_[Index(kind)];
}

bool FaultPlatform::Fails(FaultKind kind) {
    const int call = ++calls_[Index(kind)] - armed_at_[Index(kind)];
    for (const PlatformFault& fault : armed_) {
        if (fault.kind != kind) continue;
        if (call == fault.nth || (fault.from_then_on && call > fault.nth)) {
            ++injected_[Index(kind)];
            return true;
        }
    }
    return false;
}

BoxAnswer FaultPlatform::ShowMessageBox(BoxKind kind, std::string_view text) {
    // A box the system could not show was answered by nobody: the cautious answer.
    if (Fails(FaultKind::MessageBox)) return BoxAnswer::NotShown;
    return PlatformWrapper::ShowMessageBox(kind, text);
}

ui::ModalResult FaultPlatform::ShowModal(ui::Form& form) {
    if (Fails(FaultKind::ModalForm)) return ui::ModalResult::Cancel;
    return PlatformWrapper::ShowModal(form);
}

WindowHandle FaultPlatform::CreateDriverWindow(ui::Form& form, WindowEvents& events) {
    if (Fails(FaultKind::DriverWindow)) return 0;
    return PlatformWrapper::CreateDriverWindow(form, events);
}

int FaultPlatform::ShellOpen(const std::string& file, const std::string& parameters,
                             const std::string& directory, ShowMode show) {
    if (Fails(FaultKind::ShellStart)) return kShellFileNotFound;
    return PlatformWrapper::ShellOpen(file, parameters, directory, show);
}

BitmapHandle FaultPlatform::LoadBitmapFile(const std::string& path) {
    if (Fails(FaultKind::Bitmap)) return 0;
    return PlatformWrapper::LoadBitmapFile(path);
}

MenuHandle FaultPlatform::CreatePopupMenu(const std::vector<MenuEntry>& entries) {
    if (Fails(FaultKind::Menu)) return 0;
    return PlatformWrapper::CreatePopupMenu(entries);
}

unsigned FaultPlatform::RegisterMessage(const std::string& name) {
    if (Fails(FaultKind::RegisterMessage)) return 0;
    return PlatformWrapper::RegisterMessage(name);
}

std::optional<std::intptr_t> FaultPlatform::SendMessageTo(WindowHandle window, unsigned msg,
                                                          std::uintptr_t wparam,
                                                          std::intptr_t lparam) {
    if (Fails(FaultKind::SendMessage)) return std::nullopt;
    return PlatformWrapper::SendMessageTo(window, msg, wparam, lparam);
}

AtomId FaultPlatform::AddGlobalAtom(const std::string& text) {
    if (Fails(FaultKind::AtomAdd)) return 0;
    return PlatformWrapper::AddGlobalAtom(text);
}

std::string FaultPlatform::GlobalAtomName(AtomId atom) {
    if (Fails(FaultKind::AtomName)) return {};
    return PlatformWrapper::GlobalAtomName(atom);
}

bool FaultPlatform::StartTimer() {
    if (Fails(FaultKind::Timer)) return false;
    return PlatformWrapper::StartTimer();
}

}  // namespace lm::test
