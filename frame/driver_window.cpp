#include "frame/driver_window.h"

#include "base/cp1250.h"
#include "base/window_messages.h"
#include "frame/driver_texts.h"
#include "frame/driver_window_form.h"
#include "service/file_error_box.h"

namespace lm {

std::string DriverDirectoryOf(const std::string& current_directory, char separator) {
    std::string dir = current_directory;
    dir += separator;
    dir += texts::kDriverSubdirectory1;
    dir += separator;
    dir += texts::kDriverSubdirectory2;
    dir += separator;
    return Bounded(dir);
}

DriverWindow::DriverWindow(DriverWide& wide)
    : wide_(wide), platform_(wide.platform), form_(BuildDriverWindowForm()) {
    ui::Form& f = *form_;
    f.On("ButtonStatus", ui::Event::Click, [this] { ButtonStatusClick(); });
    f.On("Button1", ui::Event::Click, [this] { Button1Click(); });
    f.On("CheckLog", ui::Event::Click, [this] { CheckLogClick(); });
    f.On("ButtonClear", ui::Event::Click, [this] { ButtonClearClick(); });
    f.On("ButtonHelp", ui::Event::Click, [this] { ButtonHelpClick(); });
    f.On("ButtonAbout", ui::Event::Click, [this] { ButtonAboutClick(); });
    f.On("CheckHra", ui::Event::Click, [this] { CheckHraClick(); });

    // Inicializace
    f["LabelName"].text = texts::kLineName;
    f.caption = texts::kWindowCaption;
    f["CheckHra"].visible = false;
    f["LabelName2"].text = texts::kVersion;

    f.left = platform_.Screen().width - f.width;
    f.top = 0;

    f["ButtonStatus"].text = "Status >>";
    status_shown_ = false;
    f.height = kStatusClosedHeight;

    wide_.log.set_enabled(f["CheckLog"].checked);
    f["LabelSetCom"].text.clear();
    f["Memo1"].items.clear();
    wide_.log.set_memo([this](std::string_view line) { AddMemoLine(line); });

    wide_.driver_dir = DriverDirectoryOf(platform_.CurrentDirectory(), platform_.PathSeparator());
    wide_.log.set_file(wide_.DriverFile(texts::kLogFileName));
    wide_.log.Write("------------------- inicializace --------------------");

    f["LabelRUN"].visible = false;

    RegisterMessages();

    f["Edit1"].text.clear();
    f["Edit2"].text.clear();
    wide_.data_changed = false;

    AddMemoLine(texts::kDescription);
    AddMemoLine(std::string("Adresář="_cp) + wide_.driver_dir);

    wide_.in_entry = false;
    wide_.send_msg_enabled = true;
    f["lBase"].text.clear();

    window_ = platform_.CreateDriverWindow(f, *this);
    f.Touch();
    platform_.UpdateWindow(f);
}

void DriverWindow::RegisterMessages() {
    wide_.msg_rec_to_lmr = platform_.RegisterMessage(kMsgRecToLmr);
    if (wide_.msg_rec_to_lmr == 0) {
        platform_.ShowMessageBox(
            BoxKind::Error,
            "CHYBA REGISTRACE FUNKCE \"REC_TO_LMR\". RUN-režim nebude fungovat !"_cp);
    }
    wide_.msg_lumar_service = platform_.RegisterMessage(kMsgLumarService);
    if (wide_.msg_lumar_service == 0) {
        platform_.ShowMessageBox(BoxKind::Error, "CHYBA REGISTRACE FUNKCE \"LUMAR_SERVICE\" !");
    }
    wide_.msg_tolan = platform_.RegisterMessage(kMsgTolan);
}

DriverWindow::~DriverWindow() {
    // TotalKonec: the services have released the library and the instances;
    // the window goes last and takes the timer with it.
    wide_.log.set_memo(nullptr);
    if (window_ != 0) platform_.StopTimer();
    platform_.DestroyDriverWindow(*form_);
}

void DriverWindow::Refresh() {
    form_->Touch();
    platform_.UpdateWindow(*form_);
}

void DriverWindow::AddMemoLine(std::string_view line) {
    auto& lines = (*form_)["Memo1"].items;
    if (lines.size() >= kMemoLineLimit)
        lines.erase(lines.begin(), lines.begin() + kMemoLineLimit / 10);
    lines.emplace_back(line);
    Refresh();
}

void DriverWindow::SetStatusShown(bool shown) {
    status_shown_ = shown;
    form_->height = shown ? kStatusOpenHeight : kStatusClosedHeight;
    (*form_)["ButtonStatus"].text = shown ? "<< Status" : "Status >>";
    Refresh();
}

void DriverWindow::ButtonStatusClick() {
    SetStatusShown(!status_shown_);
}

void DriverWindow::Button1Click() {
    form_->state = ui::WindowState::Minimized;
    Refresh();
}

void DriverWindow::CheckLogClick() {
    wide_.log.set_enabled((*form_)["CheckLog"].checked);
}

void DriverWindow::ButtonClearClick() {
    (*form_)["Memo1"].items.clear();
    Refresh();
    const std::string log_file = wide_.DriverFile(texts::kLogFileName);
    Files& files = platform_.files();
    if (!files.CanBeOpened(log_file)) return;
    platform_.Beep();
    if (platform_.ShowMessageBox(BoxKind::Question, "Smazat také .LOG soubor na disku ?"_cp) !=
        BoxAnswer::Yes) {
        return;
    }
    wide_.log.CloseFile();  // the next line starts a new file
    if (FileStatus deleted = files.Delete(log_file); !deleted) {
        ShowFileError(platform_, log_file, "smazat", deleted.reason);
    }
}

void DriverWindow::ApplyStartupOptions(const StartupOptions& options) {
    ui::Form& window = *form_;
    if (options.hide_dialog) window.visible = false;
    if (window.visible) {
        window.state = ui::WindowState::Normal;
        SetStatusShown(options.status_dialog);
    } else {
        window.state = ui::WindowState::Minimized;
        status_shown_ = options.status_dialog;
    }
    wide_.log.set_enabled(options.log_file);
    window["CheckLog"].checked = options.log_file;
    Refresh();
}

void DriverWindow::ButtonHelpClick() {
    platform_.ShowHelp(wide_.DriverFile(texts::kHelpFileName), 1);
}

void DriverWindow::ButtonAboutClick() {
    if (open_about_) open_about_();
}

void DriverWindow::on_timer() {
    if (events_ != nullptr) events_->on_timer();
}

bool DriverWindow::on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                              std::intptr_t& result) {
    return events_ != nullptr && events_->on_message(msg, wparam, lparam, result);
}

}  // namespace lm
