// The analog input modules ("domečky"): cai_modul.cfg beside the driver, one
// module type a line: its code character, a separator, the description up to
// column 45, then the range's min and max.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lm::dialogs {

inline constexpr const char kModuleFileName[] = "cai_modul.cfg";
// Read instead when cai_modul.cfg does not exist.
inline constexpr const char kOldModuleFileName[] = "caimodul.cfg";
inline constexpr std::size_t kMaxModules = 51;
inline constexpr std::size_t kModuleTextColumns = 45;

struct Module {
    std::string description;  // the first 45 columns: code, separator, text
    double min = 0, max = 0;
    char code() const { return description.empty() ? '\0' : description.front(); }
    // What the lists show: the description without code and separator.
    std::string shown() const { return description.size() > 2 ? description.substr(2) : ""; }
};

struct ModuleList {
    std::vector<Module> modules;  // at most kMaxModules, in file order
    // The first module line whose range is not two numbers (1-based), 0 = none.
    int bad_line = 0;
    // The first module line whose range the block's items cannot hold, 0 = none.
    int unfit_line = 0;
    bool too_many = false;  // module lines after the 51st were left out
};

// Reads the file's text. Lines that begin with ";" and lines shorter than 45
// characters are skipped. A module line whose min and max are not two finite
// numbers (a line of exactly 45 characters has none) is left out and its
// line remembered: offering a module with a made-up range would write that
// range into the block. The first module stands for "no module" and keeps
// its place whatever its range, which is never shown. Zero bytes in a
// description read as blanks. With `fits`, a module whose min or max it
// refuses is left out too (its line in `unfit_line`): the range would be
// stored in the block as another number.
ModuleList ParseModuleList(std::string_view text, const std::function<bool(double)>& fits = {});

}  // namespace lm::dialogs
