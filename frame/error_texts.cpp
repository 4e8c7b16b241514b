#include "frame/error_texts.h"

#include "base/cp1250.h"
#include "base/number_text.h"

namespace lm {

std::string ErrorText(std::uint16_t code) {
    static constexpr std::string_view kTexts[] = {
        "OK, žádná chyba."_cp,
        "Soubor TOOLS.INI/STARTUP.INI neexistuje, nebo je již načten."_cp,
        "Nelze přejít do režimu RUN."_cp,
        "Objekt nelze vytvořit - neexituje."_cp,
        "Nelze změnit instanci objektu."_cp,
        "Očekáváno celé číslo."_cp,
        "Očekáván textový řetězec."_cp,
        "Chyba konverze dat do textu."_cp,
        "Chyba konverze dat do bin.podoby při obec. STRTOBIN."_cp,
        "Chyba konverze dat - proměnnou STRING nelze převést do standardních typů."_cp,
        "Chyba konverze dat - cílová data jsou USER."_cp,
        "Chyba konverze dat do bin.podoby - neznámý SUBTYP."_cp,
        "Chyba konverze dat do bin.podoby - převod lze pouze na typ LONG."_cp,
        "Chyba konverze dat do bin.podoby - převod lze pouze z typu LONG."_cp,
        "Chyba - volána neznámá nebo nepodporovaná funkce."_cp,
        "Chyba - Maximální počet hradel je 500."_cp,
    };
    if (code < std::size(kTexts)) return std::string(kTexts[code]);
    // A menu command the host asked for and that did not run: the host hears
    // why, in place of the number of a text it does not have.
    if (code == kErrNotExported) return std::string(kNotExportedText);
    return std::string("LMDRIVER.DLL : Chybový text č. "_cp) + RightAligned(code, 4);
}

}  // namespace lm
