// A platform that fails on request, around any other: the Nth call of a kind
// fails, once or from then on, and every call is counted by kind. A failed
// call answers as the system does when it fails (no window, no atom, a shell
// error code, a box that could not be shown) and never reaches the platform
// inside. File faults go through FaultyFiles with a path part that matches
// every path, so they count and fail by kind too.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform_wrapper.h"
#include "tests/support/faulty_files.h"

namespace lm::test {

enum class FaultKind {
    FileOpen,
    FileRead,  // a read that returns only part of the file
    FileWrite,
    FileClose,
    FileRename,
    FileDelete,
    MessageBox,
    ModalForm,
    DriverWindow,
    ShellStart,
    Bitmap,
    Menu,
    RegisterMessage,
    SendMessage,
    AtomAdd,
    AtomName,
    Timer,
    kCount
};
inline constexpr std::size_t kFaultKinds = static_cast<std::size_t>(FaultKind::kCount);

const char* FaultKindName(FaultKind kind);
std::vector<FaultKind> AllFaultKinds();

struct PlatformFault {
    FaultKind kind;
    int nth = 1;                // the nth call of the kind from the time the fault is armed
    bool from_then_on = false;  // and every one after it
};

class FaultPlatform : public PlatformWrapper {
public:
    explicit FaultPlatform(std::unique_ptr<Platform> inner);

    void Arm(const PlatformFault& fault);
    void Disarm();
    // Calls of a kind seen so far, and those of them that were made to fail.
    int Calls(FaultKind kind) const;
    int Injected(FaultKind kind) const;
    Platform& inner() { return target(); }
    const FaultyFiles& faulty_files() const { return files_; }

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
    ui::ModalResult ShowModal(ui::Form& form) override;
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override;
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override;
    // A save-file dialog that cannot be shown answers as a cancelled one.
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& file_name) override {
        if (Fails(FaultKind::ModalForm)) return std::nullopt;
        return PlatformWrapper::ChooseSaveFile(title, filter, file_name);
    }
    BitmapHandle LoadBitmapFile(const std::string& path) override;
    MenuHandle CreatePopupMenu(const std::vector<MenuEntry>& entries) override;
    unsigned RegisterMessage(const std::string& name) override;
    std::optional<std::intptr_t> SendMessageTo(WindowHandle window, unsigned msg,
                                               std::uintptr_t wparam,
                                               std::intptr_t lparam) override;
    AtomId AddGlobalAtom(const std::string& text) override;
    std::string GlobalAtomName(AtomId atom) override;
    bool StartTimer() override;
    Files& files() override { return files_; }

private:
    static std::size_t Index(FaultKind kind) { return static_cast<std::size_t>(kind); }
    // Counts a call of `kind`; true when it is to fail.
    bool Fails(FaultKind kind);

    FaultyFiles files_;
    std::vector<PlatformFault> armed_;
    std::array<int, kFaultKinds> calls_{};
    std::array<int, kFaultKinds> injected_{};
    std::array<int, kFaultKinds> armed_at_{};
};

}  // namespace lm::test
