// Host-visible facts shared by the entry tests against the linked driver and
// against the real LMDRIVER.DLL under Wine.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/cp1250.h"

namespace lm::test {

struct ErrTextCase {
    std::uint16_t code;
    std::string_view text;  // CP1250, without the zero byte
};

inline const std::vector<ErrTextCase>& ErrTextCases() {
    static const std::vector<ErrTextCase> cases = {
        {0, "OK, žádná chyba."_cp},
        {1, "Soubor TOOLS.INI/STARTUP.INI neexistuje, nebo je již načten."_cp},
        {2, "Nelze přejít do režimu RUN."_cp},
        {3, "Objekt nelze vytvořit - neexituje."_cp},
        {4, "Nelze změnit instanci objektu."_cp},
        {5, "Očekáváno celé číslo."_cp},
        {6, "Očekáván textový řetězec."_cp},
        {7, "Chyba konverze dat do textu."_cp},
        {8, "Chyba konverze dat do bin.podoby při obec. STRTOBIN."_cp},
        {9, "Chyba konverze dat - proměnnou STRING nelze převést do standardních typů."_cp},
        {10, "Chyba konverze dat - cílová data jsou USER."_cp},
        {11, "Chyba konverze dat do bin.podoby - neznámý SUBTYP."_cp},
        {12, "Chyba konverze dat do bin.podoby - převod lze pouze na typ LONG."_cp},
        {13, "Chyba konverze dat do bin.podoby - převod lze pouze z typu LONG."_cp},
        {14, "Chyba - volána neznámá nebo nepodporovaná funkce."_cp},
        {15, "Chyba - Maximální počet hradel je 500."_cp},
        {16,
         "Dotaz na překlad nelze zobrazit: projekt nebyl přeložen ani nahrán do systému RX7."_cp},
        {17, "LMDRIVER.DLL : Chybový text č.   17"_cp},
        {99, "LMDRIVER.DLL : Chybový text č.   99"_cp},
        {12345, "LMDRIVER.DLL : Chybový text č. 12345"_cp},
    };
    return cases;
}

// Codes the host may send that the driver does not serve.
inline std::vector<std::uint16_t> UnknownCodes() {
    std::vector<std::uint16_t> codes = {0, 26};
    for (std::uint16_t c = 29; c <= 35; ++c) codes.push_back(c);
    for (std::uint16_t c = 40; c <= 55; ++c) codes.push_back(c);
    for (std::uint16_t c : {57, 100, 999, 65535}) codes.push_back(static_cast<std::uint16_t>(c));
    return codes;
}

inline constexpr std::string_view kIdentifyText =
    "VORTEL KADEX-RX7 LM-Driver\nverze 4.05 ze dne 1.12.2005";

}  // namespace lm::test
