// A file name as the one parameter of a program the shell starts (Notepad,
// Control Web): in quotation marks when it holds a blank, so that
// "C:\Lumar projekty\novy.cw" reaches the program as one name and not as two.
// A name without blanks stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace lm {

inline std::string FileParameter(std::string_view path) {
    if (path.find_first_of(" \t") == std::string_view::npos) return std::string(path);
    std::string quoted = "\"";
    quoted += path;
    quoted += '"';
    return quoted;
}

}  // namespace lm
