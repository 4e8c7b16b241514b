// A platform that hands every call to another one, its target. A platform
// that changes a few calls (faults, a recording, other answers) derives from
// it and overrides only those; everything else reaches the target unchanged.
#pragma once

#include <memory>
#include <utility>

#include "platform/platform.h"

namespace lm {

class PlatformWrapper : public Platform {
public:
    explicit PlatformWrapper(std::unique_ptr<Platform> target) : target_(std::move(target)) {}

    Platform& target() { return *target_; }

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override {
        return target_->ShowMessageBox(kind, text);
    }
    ui::ModalResult ShowModal(ui::Form& form) override { return target_->ShowModal(form); }
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override {
        return target_->CreateDriverWindow(form, events);
    }
    void UpdateWindow(ui::Form& form) override { target_->UpdateWindow(form); }
    void DestroyDriverWindow(ui::Form& form) override { target_->DestroyDriverWindow(form); }
    void Beep() override { target_->Beep(); }
    void SetBusyCursor(bool busy) override { target_->SetBusyCursor(busy); }
    ScreenSize Screen() override { return target_->Screen(); }
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override {
        return target_->ShellOpen(file, parameters, directory, show);
    }
    void ShowHelp(const std::string& help_file, long context) override {
        target_->ShowHelp(help_file, context);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& file_name) override {
        return target_->ChooseSaveFile(title, filter, file_name);
    }
    BitmapHandle LoadBitmapFile(const std::string& path) override {
        return target_->LoadBitmapFile(path);
    }
    void FreeBitmap(BitmapHandle bitmap) override { target_->FreeBitmap(bitmap); }
    MenuHandle CreatePopupMenu(const std::vector<MenuEntry>& entries) override {
        return target_->CreatePopupMenu(entries);
    }
    void EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) override {
        target_->EnableMenuItem(menu, id, enabled);
    }
    void DestroyMenu(MenuHandle menu) override { target_->DestroyMenu(menu); }
    unsigned RegisterMessage(const std::string& name) override {
        return target_->RegisterMessage(name);
    }
    std::optional<std::intptr_t> SendMessageTo(WindowHandle window, unsigned msg,
                                               std::uintptr_t wparam,
                                               std::intptr_t lparam) override {
        return target_->SendMessageTo(window, msg, wparam, lparam);
    }
    bool WindowExists(WindowHandle window) override { return target_->WindowExists(window); }
    AtomId AddGlobalAtom(const std::string& text) override { return target_->AddGlobalAtom(text); }
    std::string GlobalAtomName(AtomId atom) override { return target_->GlobalAtomName(atom); }
    void DeleteGlobalAtom(AtomId atom) override { target_->DeleteGlobalAtom(atom); }
    bool StartTimer() override { return target_->StartTimer(); }
    void StopTimer() override { target_->StopTimer(); }
    std::string CurrentDirectory() override { return target_->CurrentDirectory(); }
    std::string DateTimeText() override { return target_->DateTimeText(); }
    char PathSeparator() override { return target_->PathSeparator(); }
    Files& files() override { return target_->files(); }
    char DecimalSeparator() override { return target_->DecimalSeparator(); }

private:
    std::unique_ptr<Platform> target_;
};

}  // namespace lm
