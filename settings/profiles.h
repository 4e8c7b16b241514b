// The named communication profiles in profiles.ini: section "main" with the
// number of profiles and the selected one, and a section "profile000",
// "profile001", ... per profile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/log_sink.h"
#include "library/load_problems.h"
#include "platform/files.h"
#include "settings/com_settings.h"

namespace lm::settings {

inline constexpr const char kProfilesFileName[] = "profiles.ini";
// The profile table's size: indices 0 to 500.
inline constexpr int kProfileSlots = 501;
inline constexpr std::size_t kMaxProfileName = 50;
inline constexpr std::size_t kMaxProfileIP = 15;

struct TComProfile {
    std::string Name;
    std::int32_t ComPort = 1;
    std::int32_t ComSpeed = 38400;
    double TimeOut = 10.0;
    std::uint8_t Address = 1;
    std::uint8_t Retranslation = 1;
    bool RS485 = false;
    bool TCP = false;
    std::string TCPIP = kDefaultIP;
    std::uint16_t TCPPort = kDefaultTcpPort;

    bool operator==(const TComProfile&) const = default;
};

// The profiles of the settings dialog: a fixed table, the number in use and
// the selected one.
struct ProfileTable {
    ProfileTable();  // every slot the factory profile "profil000" ... "profil500"
    std::vector<TComProfile> entries;
    int count = 0;
    int position = -1;
};

// The section of the profile at `index`: "profile%.3d".
std::string ProfileSection(int index);

// LoadProfiles: "count" and "position" from "main", then the sections of
// profiles 0 to count-1 into the table; a missing key gives its default
// (Name: the section's name). A count below 0 reads as 0, one above the table
// as the table's size; a position outside the profiles read as 0 (-1 without
// profiles). Names are cut to 50 characters, IP texts to 15. A number that is
// not one, or lies outside its field, gives the default. Each such repair is
// logged, and reported with its place to `problems` when given (lmcheck).
void LoadProfiles(std::string_view text, ProfileTable& table, char decimal_separator, LogSink& log,
                  LoadProblems* problems = nullptr);
void LoadProfiles(Files& files, const std::string& path, ProfileTable& table,
                  char decimal_separator, LogSink& log);

// SaveProfiles: "count" and "position" into "main" and all ten keys of
// profiles 0 to count-1 into their sections, in the file's existing text
// (every other line stays as it was), written whole through a temporary file.
std::string SavedProfilesText(std::string_view old_text, const ProfileTable& table,
                              char decimal_separator);
FileStatus SaveProfiles(Files& files, const std::string& path, const ProfileTable& table,
                        char decimal_separator);

}  // namespace lm::settings
