// TFormLMTool, the start-up options dialog: three check boxes read from and
// written back to DIALOG.INI.
#pragma once

#include <string>

#include "ui/form.h"

namespace lm {

class TFormLMTool : public ui::Form {
public:
    explicit TFormLMTool(std::string driver_dir);

    void FormCreate();
    void ButtonOKClick();
    void ButtonZpetClick();

private:
    std::string driver_dir_;
};

}  // namespace lm
