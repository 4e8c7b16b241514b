// Checks a driver directory in which one file is arbitrary bytes: the first
// byte chooses the file (TOOLS.INI, STARTUP.INI, one of two object files,
// SETCOM.INI or profiles.ini), the rest is its content; the other files are a small sound library.
// The files are in memory (nothing reaches the disk); the sample driver directory's files
// are good seeds. Every finding must lie inside its file.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"
#include "tools/lmcheck/check_driver_dir.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

const char* const kNames[] = {"TOOLS.INI", "STARTUP.INI", "A.DEF",
                              "B.DEF",     "SETCOM.INI",  "profiles.ini"};
constexpr std::size_t kFiles = sizeof kNames / sizeof kNames[0];

// The settings files are read by lines, byte 26 and all.
bool IsSettingsFile(const std::string& name) {
    return name == "SETCOM.INI" || name == "profiles.ini";
}

std::map<std::string, std::string> SoundFiles() {
    return {
        {"TOOLS.INI",
         "FIRMWARE 2 3\r\nTOOL ID 1 POPIS \"T\" BITMAP T.BMP\r\n"
         "OBJECTS A.DEF B.DEF END_OBJECTS END_TOOL\r\n"},
        {"STARTUP.INI", "HIDE_DIALOG OFF\r\nLOGFILE OFF\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n"},
        {"A.DEF",
         "OBJECT IDENT 1 JMENO \"A\" D_PROM ITEM IDENT 9999 JMENO \"H\" TYP WORD DELKA 2 "
         "FORMAT \"#####\" ITEM_END D_PROM_END OBJECT_END\r\n"},
        {"B.DEF",
         "OBJECT IDENT 2 JMENO \"B\" D_IN ITEM IDENT 1 JMENO \"S\" TYP USER SUBTYP STRING "
         "DELKA 4 SUBINDEX 4 FORMAT \"????\" DEFAULT \"ab\" ITEM_END D_IN_END OBJECT_END\r\n"},
        {"SETCOM.INI", "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n192.168.1.10\r\n1998\r\n"},
        {"profiles.ini",
         "[main]\r\ncount=1\r\nposition=0\r\n[profile000]\r\nName=A\r\nComPort=1\r\n"
         "ComSpeed=38400\r\nTimeOut=1,5\r\nAddress=1\r\nRetranslation=1\r\nRS485=0\r\nTCP=0\r\n"
         "TCPPort=1998\r\nTCPIP=192.168.1.10\r\n"},
    };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::map<std::string, std::string> files = SoundFiles();
    files[kNames[data[0] % kFiles]] =
        std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::MemoryPlatform platform;
    platform.SetQuiet(true);
    for (const auto& [name, content] : files) platform.Put(name, content);
    const std::string shown = fuzz::MemoryPlatform::DriverDir();
    const lmcheck::CheckResult result = lmcheck::CheckDriverDir(platform, shown);
    for (const lmcheck::Finding& finding : result.findings) {
        Check(finding.file.compare(0, shown.size(), shown) == 0);
        const auto file = files.find(finding.file.substr(shown.size()));
        if (file == files.end()) continue;  // a file named in TOOLS.INI that is not there
        // Nothing after a byte 26 of a definition file is read; the rest of
        // the file has no places.
        const std::string read = IsSettingsFile(file->first)
                                     ? file->second
                                     : file->second.substr(0, file->second.find('\x1A'));
        const fuzz::LineEnds ends = file->first == "SETCOM.INI"     ? fuzz::LineEnds::Lf
                                    : file->first == "profiles.ini" ? fuzz::LineEnds::Profile
                                                                    : fuzz::LineEnds::Any;
        Check(fuzz::Inside(read, finding.position, ends));
    }
    return 0;
}
