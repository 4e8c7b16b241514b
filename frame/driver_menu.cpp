#include "frame/driver_menu.h"

#include "base/cp1250.h"

namespace lm {

const std::vector<MenuEntry>& DriverMenuEntries() {
    struct Row {
        std::uint16_t id;
        std::string_view text;  // empty: a separator
    };
    static constexpr Row kRows[] = {
        {3000, "&Překlad"_cp},
        {3001, "&Netlist"},
        {3999, ""},
        {3002, "&Klávesnice"_cp},
        {3003, "Načíst celou &CMOS"_cp},
        {3998, ""},
        {3004, "Pa&rametry komunikace"},
        {3005, "Změna komunikační &adresy"_cp},
        {3997, ""},
        {3006, "&Změnit tabulku návěští (.LAB)"_cp},
        {3009, "Po spuš&tění..."_cp},
        {3996, ""},
        {3010, "&Generovat soubory pro CP / CW"},
        {3995, ""},
        {3007, "&Ukázat / Schovat okno ovladače"_cp},
        {3008, "&O ovladači..."_cp},
    };
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> built;
        for (const Row& row : kRows)
            built.push_back({row.id, std::string(row.text), row.text.empty()});
        return built;
    }();
    return entries;
}

}  // namespace lm
