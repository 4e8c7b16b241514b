#include "settings/profiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "library/texts.h"
#include "service/file_error_box.h"
#include "settings/profile_file.h"
#include "settings/settings_numbers.h"

namespace lm::settings {
namespace {

constexpr const char kMain[] = "main";

// Reads the keys of one file, with the defaults of missing or unreadable ones.
class KeyReader {
public:
    KeyReader(const ProfileFile& file, char separator, LogSink& log, LoadProblems* problems)
        : file_(file), separator_(separator), log_(log), problems_(problems) {}

    std::string Text(const std::string& section, const char* key, std::string fallback) {
        return file_.Read(section, key).value_or(std::move(fallback));
    }

    // An integer in [low, high]; the default when it is missing, not a number
    // or outside (logged; reported unless `report` is false).
    std::int32_t Int(const std::string& section, const char* key, std::int32_t fallback,
                     std::int64_t low = INT32_MIN, std::int64_t high = INT32_MAX,
                     bool report = true) {
        read_ = false;
        std::optional<std::string> text = file_.Read(section, key);
        if (!text) return fallback;
        std::optional<std::int32_t> value = TypedInt(*text);
        if (value && *value >= low && *value <= high) {
            read_ = true;
            return *value;
        }
        Logged(section, key, *text, std::to_string(fallback));
        if (report) Reported(section, key, *text, std::to_string(fallback));
        return fallback;
    }
    // True when the last Int came from the file.
    bool read() const { return read_; }

    // A real from `low` to `high`; the default when it is missing,
    // not a number or outside (logged and reported).
    double Real(const std::string& section, const char* key, double fallback, double low,
                double high) {
        std::optional<std::string> text = file_.Read(section, key);
        if (!text) return fallback;
        std::optional<double> value = TypedReal(*text, separator_);
        if (value && *value >= low && *value <= high) return *value;
        Repaired(section, key, *text, RealText(fallback, '.'));
        return fallback;
    }

    // A flag: 0 is off, any other number on (read as 1, logged and reported).
    bool Flag(const std::string& section, const char* key) {
        const std::int32_t value = Int(section, key, 0);
        if (value != 0 && value != 1) {
            Repaired(section, key, std::to_string(value), "1");
        }
        return value != 0;
    }

    // A value the reading changed: logged and reported.
    void Repaired(const std::string& section, const char* key, std::string_view was,
                  const std::string& now) {
        Logged(section, key, was, now);
        Reported(section, key, was, now);
    }
    void Logged(const std::string& section, const char* key, std::string_view was,
                const std::string& now) {
        log_.WriteWith([&] {
            return "profiles.ini: [" + section + "] " + key + "=" + std::string(was) + " read as " +
                   now;
        });
    }
    void Reported(const std::string& section, const char* key, std::string_view was,
                  const std::string& now) {
        if (problems_ == nullptr) return;
        problems_->Add({Severity::Warning, file_.PlaceOf(section, key).value_or(TextPosition{1, 1}),
                        "bad-value", "",
                        Concat({"[", section, "] ", key, "=", ShownToken(was),
                                ": the settings dialog reads it as ", Cp1250ToUtf8(now)})});
    }

private:
    const ProfileFile& file_;
    char separator_;
    LogSink& log_;
    LoadProblems* problems_;
    bool read_ = false;
};

TComProfile ReadProfile(KeyReader& keys, int index) {
    const std::string section = ProfileSection(index);
    TComProfile p;
    const std::string name = keys.Text(section, "Name", section);
    p.Name = Bounded(name, kMaxProfileName);
    if (p.Name.size() != name.size()) keys.Repaired(section, "Name", name, p.Name);
    p.ComPort = keys.Int(section, "ComPort", 1);
    p.ComSpeed = keys.Int(section, "ComSpeed", 38400);
    // The same bounds as a time-out in SETCOM.INI, where the profile goes
    // when it is chosen.
    p.TimeOut = keys.Real(section, "TimeOut", 10.0, kShortestTimeOut, kLongestTimeOut);
    p.Address = static_cast<std::uint8_t>(keys.Int(section, "Address", 1, 0, 255));
    p.Retranslation = static_cast<std::uint8_t>(keys.Int(section, "Retranslation", 1, 0, 255));
    p.RS485 = keys.Flag(section, "RS485");
    p.TCP = keys.Flag(section, "TCP");
    p.TCPPort = static_cast<std::uint16_t>(keys.Int(section, "TCPPort", 1998, 0, 65535));
    const std::string ip = keys.Text(section, "TCPIP", kDefaultIP);
    p.TCPIP = Bounded(ip, kMaxProfileIP);
    if (p.TCPIP.size() != ip.size()) keys.Repaired(section, "TCPIP", ip, p.TCPIP);
    return p;
}

}  // namespace

ProfileTable::ProfileTable() : entries(kProfileSlots) {
    for (int i = 0; i < kProfileSlots; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "profil%.3d", i);
        entries[static_cast<std::size_t>(i)].Name = name;
    }
}

std::string ProfileSection(int index) {
    char name[24];
    std::snprintf(name, sizeof name, "profile%.3d", index);
    return name;
}

void LoadProfiles(std::string_view text, ProfileTable& table, char decimal_separator, LogSink& log,
                  LoadProblems* problems) {
    const ProfileFile file(text);
    KeyReader keys(file, decimal_separator, log, problems);
    const std::int32_t count = keys.Int(kMain, "count", 0);
    table.count = count < 0 ? 0 : count > kProfileSlots ? kProfileSlots : count;
    if (table.count != count) {
        keys.Repaired(kMain, "count", std::to_string(count), std::to_string(table.count));
    }
    const std::int32_t position = keys.Int(kMain, "position", -1, INT32_MIN, INT32_MAX, false);
    const bool position_read = keys.read();
    table.position = position;
    if (table.count == 0) {
        table.position = -1;
    } else if (position < 0 || position >= table.count) {
        table.position = 0;
    }
    if (table.position != position) {
        keys.Logged(kMain, "position", std::to_string(position), std::to_string(table.position));
    }
    // Reported once, with the file's own text and the position the table ends with.
    if (!position_read || table.position != position) {
        if (std::optional<std::string> text = file.Read(kMain, "position")) {
            keys.Reported(kMain, "position", *text, std::to_string(table.position));
        }
    }
    for (int i = 0; i < table.count; ++i) {
        table.entries[static_cast<std::size_t>(i)] = ReadProfile(keys, i);
    }
    if (problems == nullptr) return;
    for (const ProfileFile::DuplicateSection& twice : file.DuplicateSections()) {
        problems->Add({Severity::Warning, twice.at, "duplicate-section", "",
                       Concat({"[", ShownToken(twice.name), "] is given again (first at line ",
                               std::to_string(twice.first.line),
                               "); the settings dialog reads the first one only"})});
    }
}

void LoadProfiles(Files& files, const std::string& path, ProfileTable& table,
                  char decimal_separator, LogSink& log) {
    LoadProfiles(files.ReadWhole(path).value_or(std::string()), table, decimal_separator, log);
}

std::string SavedProfilesText(std::string_view old_text, const ProfileTable& table,
                              char decimal_separator) {
    ProfileFile file(old_text);
    const int count = table.count < 0 ? 0 : std::min(table.count, kProfileSlots);
    file.Write(kMain, "count", std::to_string(count));
    file.Write(kMain, "position", std::to_string(table.position));
    auto flag = [](bool on) { return on ? "1" : "0"; };
    for (int i = 0; i < count; ++i) {
        const TComProfile& p = table.entries[static_cast<std::size_t>(i)];
        const std::string section = ProfileSection(i);
        file.Write(section, "Name", p.Name);
        file.Write(section, "ComPort", std::to_string(p.ComPort));
        file.Write(section, "ComSpeed", std::to_string(p.ComSpeed));
        file.Write(section, "TimeOut", RealText(p.TimeOut, decimal_separator));
        file.Write(section, "Address", std::to_string(p.Address));
        file.Write(section, "Retranslation", std::to_string(p.Retranslation));
        file.Write(section, "RS485", flag(p.RS485));
        file.Write(section, "TCP", flag(p.TCP));
        file.Write(section, "TCPPort", std::to_string(p.TCPPort));
        file.Write(section, "TCPIP", p.TCPIP);
    }
    return file.Text();
}

FileStatus SaveProfiles(Files& files, const std::string& path, const ProfileTable& table,
                        char decimal_separator) {
    std::optional<std::string> old_text = files.ReadWhole(path);
    if (!old_text && files.CanBeOpened(path)) {
        return FileStatus::Failed(FileErrorText(path, "přečíst"_cp, "."));
    }
    return ReplaceWholeFile(
        files, path, SavedProfilesText(old_text.value_or(std::string()), table, decimal_separator));
}

}  // namespace lm::settings
