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

#include "platform/platform.h"
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

class FaultPlatform : public Platform {
public:
    explicit FaultPlatform(std::unique_ptr<Platform> inner);

    void Arm(const PlatformFault& fault);
    void Disarm();
    // Calls of a kind seen so far, and those of them that were made to fail.
    int Calls(FaultKind kind) const;
    int Injected(FaultKind kind) const;
    Platform& inner() { return *inner_; }
    const FaultyFiles& faulty_files() const { return files_; }

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
    ui::ModalResult ShowModal(ui::Form& form) override;
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override;
    void UpdateWindow(ui::Form& form) override { inner_->UpdateWindow(form); }
    void DestroyDriverWindow(ui::Form& form) override { inner_->DestroyDriverWindow(form); }
    void Beep() override { inner_->Beep(); }
    void SetBusyCursor(bool busy) override { inner_->SetBusyCursor(busy); }
    ScreenSize Screen() override { return inner_->Screen(); }
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override;
    void ShowHelp(const std::string& help_file, long context) override {
        inner_->ShowHelp(help_file, context);
    }
    // A save-file dialog that cannot be shown answers as a cancelled one.
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& file_name) override {
        if (Fails(FaultKind::ModalForm)) return std::nullopt;
        return inner_->ChooseSaveFile(title, filter, file_name);
    }
    BitmapHandle LoadBitmapFile(const std::string& path) override;
    void FreeBitmap(BitmapHandle bitmap) override { inner_->FreeBitmap(bitmap); }
    MenuHandle CreatePopupMenu(const std::vector<MenuEntry>& entries) override;
    void EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) override {
        inner_->EnableMenuItem(menu, id, enabled);
    }
    void DestroyMenu(MenuHandle menu) override { inner_->DestroyMenu(menu); }
    unsigned RegisterMessage(const std::string& name) override;
    std::optional<std::intptr_t> SendMessageTo(WindowHandle window, unsigned msg,
                                               std::uintptr_t wparam,
                                               std::intptr_t lparam) override;
    bool WindowExists(WindowHandle window) override { return inner_->WindowExists(window); }
    AtomId AddGlobalAtom(const std::string& text) override;
    std::string GlobalAtomName(AtomId atom) override;
    void DeleteGlobalAtom(AtomId atom) override { inner_->DeleteGlobalAtom(atom); }
    bool StartTimer() override;
    void StopTimer() override { inner_->StopTimer(); }
    std::string CurrentDirectory() override { return inner_->CurrentDirectory(); }
    std::string DateTimeText() override { return inner_->DateTimeText(); }
    char PathSeparator() override { return inner_->PathSeparator(); }
    Files& files() override { return files_; }
    char DecimalSeparator() override { return inner_->DecimalSeparator(); }

private:
    static std::size_t Index(FaultKind kind) { return static_cast<std::size_t>(kind); }
    // Counts a call of `kind`; true when it is to fail.
    bool Fails(FaultKind kind);

    std::unique_ptr<Platform> inner_;
    FaultyFiles files_;
    std::vector<PlatformFault> armed_;
    std::array<int, kFaultKinds> calls_{};
    std::array<int, kFaultKinds> injected_{};
    std::array<int, kFaultKinds> armed_at_{};
};

}  // namespace lm::test
