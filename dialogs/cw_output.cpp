#include "dialogs/cw_output.h"

#include "base/cp1250.h"
#include "dialogs/cw_out_dlg.h"
#include "exports/cw_items.h"
#include "exports/cw_types.h"
#include "exports/netlist_walk.h"
#include "values/number_texts.h"

namespace lm::dialogs {

std::string CwPortText(const settings::TComSettings& settings) {
    std::string text = "COM";
    text += std::to_string(settings.ComPort);
    text += ' ';
    text += std::to_string(settings.ComSpeed);
    text += "Bd ";
    text += settings.RS485 ? "RS485" : "RS232";
    text += ", Adresa=";
    text += std::to_string(settings.Address);
    text += ", Retranslace=";
    text += std::to_string(settings.Retranslation);
    text += ", Timeout=";
    text += REAL_TEXT(settings.TimeOut, 3, 1);
    text += 's';
    return text;
}

CwOutput::CwOutput(const ServiceContext& context, SettingsSource settings)
    : platform_(context.platform),
      log_(context.log),
      exports_(context),
      settings_(std::move(settings)) {}

void CwOutput::NetList(std::uint32_t checksum, const dLMN_NODE* netlist, InstanceList& instances) {
    log_.Write("LM ENTRY: NetList to CW_OUT");
    log_.WriteWith([&] { return "   CRC32 = " + std::to_string(checksum); });
    log_.Write("CW_OUT data from net to project");
    ConvertNetlistConstants(netlist, instances, checksum, log_);
    GenerateControlWeb(instances);
}

void CwOutput::GenerateControlWeb(InstanceList& instances) {
    log_.Write("CW_OUT data convert end");
    TCWOutDlg dlg(platform_);
    std::vector<std::string> entries;
    for (const CwItem& item : CwItems(instances.head(), false)) {
        entries.push_back(CwListEntry(item));
        log_.WriteWith([&] { return "CW_OUT add \"" + entries.back() + "\""; });
    }
    dlg.SetItems(entries);
    log_.Write("CW_OUT add completed");
    const std::optional<settings::TComSettings> shown = settings_ ? settings_() : std::nullopt;
    dlg["LabelPort"].text = CwPortText(shown.value_or(settings::TComSettings{}));
    dlg.SetFileNames(names_);

    if (platform_.ShowModal(dlg) == ui::ModalResult::Ok) {
        const CwExportChoice choice = dlg.Choice();
        names_ = choice.paths;
        log_.Write("CW_OUT - OK pressed");
        const char* labels[kCwFileCount] = {
            "PAR NAME = ", "DMF NAME = ", "CW  NAME = ", "CP  NAME = "};
        for (std::size_t i = 0; i < kCwFileCount; ++i) {
            log_.WriteWith([&] { return labels[i] + names_[i]; });
        }
        log_.Write(choice.run ? "CW_RUN=true" : "CW_RUN=false");
        if (!ApplyCwTicks(instances.head(), dlg.Ticks())) {
            platform_.ShowMessageBox(BoxKind::Error,
                                     "Není vybrána žádná položka pro nadřízený systém."_cp);
        } else {
            const std::optional<settings::TComSettings> settings =
                settings_ ? settings_() : std::nullopt;
            if (!settings || choice.first_channel == 0) {
                platform_.ShowMessageBox(BoxKind::Error,
                                         "Chyba při čtení souboru pro nastavení komunikace."_cp);
            } else {
                exports_.Export(choice, CwItems(instances.head(), true), *settings);
            }
        }
    }
    log_.Write("CW_OUT parameters loaded from dialog");
}

}  // namespace lm::dialogs
