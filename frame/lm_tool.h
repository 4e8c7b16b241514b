// TFormLMTool, the start-up options dialog: three check boxes read from and
// written back to DIALOG.INI. Whether the write succeeded is kept for the
// caller, who shows the box (the form itself draws nothing).
#pragma once

#include <string>

#include "platform/files.h"
#include "ui/form.h"

namespace lm {

class TFormLMTool : public ui::Form {
public:
    TFormLMTool(Files& files, std::string driver_dir);

    void FormCreate();
    void ButtonOKClick();
    void ButtonZpetClick();

    // The outcome of ButtonOKClick's write of DIALOG.INI (ok when not clicked).
    const FileStatus& write_status() const { return write_status_; }

private:
    Files& files_;
    std::string driver_dir_;
    FileStatus write_status_;
};

}  // namespace lm
