#include "dialogs/dlg_str.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "service/file_error_box.h"

namespace lm::dialogs {
namespace {

using ui::ControlKind;

constexpr const char kGrid[] = "StringGrid1";

}  // namespace

std::string Ruler(int maximum) {
    switch (maximum) {
        case 8:
            return "76543210";
        case 16:
            return "5432109876543210";
        case 18:
            return "345678901234567890";
        case 20:
            return "2345678901234567890";
        default:
            break;
    }
    std::string ruler;
    for (int i = 1; i <= maximum && i <= kMaxRuler; ++i) ruler += static_cast<char>('0' + i % 10);
    return ruler;
}

TDlgStr::TDlgStr(Platform& platform, Files& files, std::string driver_dir)
    : ui::Form("TDlgStr", std::string("Seznam text. položek"_cp), 488, 340),
      platform_(platform),
      files_(files),
      driver_dir_(std::move(driver_dir)) {
    Build();
    FormCreate();
}

void TDlgStr::Build() {
    centred = true;
    ui::Control& grid = Add(kGrid, ControlKind::StringGrid, {8, 8, 464, 240}, "");
    grid.column_widths = {150, 286};
    grid.fixed_pitch = true;
    grid.vertical_scroll = true;
    grid.row_height = 18;
    grid.editing = true;
    Add("Label1", ControlKind::Label, {8, 256, 464, 13}, "");
    Add("OKBtn", ControlKind::Button, {316, 278, 75, 25}, "OK").default_button = true;
    Add("CancelBtn", ControlKind::Button, {397, 278, 75, 25}, "Zpět"_cp).cancel_button = true;
    On(kGrid, ui::Event::SelectCell, [this] { StringGrid1SelectCell(); });
    On(kGrid, ui::Event::Change, [this] { StringGrid1SetEditText(); });
    On("OKBtn", ui::Event::Click, [this] { OKBtnClick(); });
    On("CancelBtn", ui::Event::Click, [this] { CancelBtnClick(); });
}

void TDlgStr::FormCreate() {
    // A missing file is the caller's fault; the dialog then shows one empty row.
    StringTable table = ReadStringTable(files_, driver_dir_).value_or(StringTable{});
    if (table.rows.empty()) table.rows.emplace_back();
    caption = table.title;
    maximum_ = table.maximum;
    rows_ = table.rows.size();
    Form& f = *this;
    f["Label1"].text.clear();
    ui::Control& grid = f[kGrid];
    grid.SetGridSize(2, static_cast<int>(rows_) + 1);
    grid.Cell(0, 0) = std::string("Položka"_cp);
    grid.Cell(1, 0) = Ruler(maximum_);
    for (std::size_t r = 0; r < rows_; ++r) {
        grid.Cell(0, static_cast<int>(r) + 1) = table.rows[r].name;
        grid.Cell(1, static_cast<int>(r) + 1) = table.rows[r].text;
    }
    grid.column = 1;
    grid.row = 1;
    ShowCount(1);
}

void TDlgStr::SetEditable(bool editable) {
    (*this)[kGrid].editing = editable;
}

void TDlgStr::ShowCount(int row) {
    ui::Control& grid = (*this)[kGrid];
    if (row < 1 || row >= grid.RowCount()) return;
    // Twenty characters leave room for one: the display's last column.
    const int m = maximum_ == 20 ? 19 : maximum_;
    const std::string& name = grid.Cell(0, row);
    const int length = static_cast<int>(grid.Cell(1, row).size());
    std::string text = name;
    if (length > m) {
        text += " - Překročen maximální počet znaků ("_cp;
        text += std::to_string(m);
        text += ") !";
    } else {
        text += " - zbývá "_cp;
        text += std::to_string(m - length);
        text += " znaků"_cp;
    }
    (*this)["Label1"].text = std::move(text);
}

void TDlgStr::StringGrid1SelectCell() {
    ShowCount((*this)[kGrid].row);
}

void TDlgStr::StringGrid1SetEditText() {
    ShowCount((*this)[kGrid].row);
}

void TDlgStr::OKBtnClick() {
    const ui::Control& grid = (*this)[kGrid];
    StringTable table;
    table.title = caption;
    table.maximum = maximum_;
    for (int r = 1; r < grid.RowCount(); ++r) {
        table.rows.push_back(
            {Bounded(grid.Cell(0, r), kMaxRowText), Bounded(grid.Cell(1, r), kMaxRowText)});
    }
    if (FileStatus written = WriteStringTable(files_, driver_dir_, table); !written) {
        platform_.ShowMessageBox(BoxKind::Error, FileErrorText(driver_dir_ + kDialogFileName,
                                                               "zapsat", ": ", written.reason));
        return;
    }
    Close(ui::ModalResult::Ok);
}

void TDlgStr::CancelBtnClick() {
    Close(ui::ModalResult::Cancel);
}

}  // namespace lm::dialogs
