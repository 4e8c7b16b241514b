// Reads arbitrary bytes as profiles.ini: the table stays within its slots and
// limits, the checking reader reads the same table and places every problem
// inside the file, the table saved into the file reads back with the same
// numbers, and a key written into the file reads back as written. The first
// byte picks the decimal separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "settings/profile_file.h"
#include "settings/profiles.h"

namespace {

using fuzz::Check;
namespace o = lm::settings;

o::ProfileTable Load(std::string_view text, char separator, lm::LoadProblems* problems) {
    fuzz::CheckingLog log;
    o::ProfileTable table;
    o::LoadProfiles(text, table, separator, log, problems);
    return table;
}

// The numbers and switches of the profiles in use; names and IP texts lose a
// pair of quotes at each reading, as the system's profile functions do.
bool SameNumbers(const o::ProfileTable& a, const o::ProfileTable& b, bool with_time_out) {
    if (a.count != b.count || a.position != b.position) return false;
    for (int i = 0; i < a.count; ++i) {
        const o::TComProfile &p = a.entries[static_cast<std::size_t>(i)],
                             &q = b.entries[static_cast<std::size_t>(i)];
        if (p.ComPort != q.ComPort || p.ComSpeed != q.ComSpeed || p.Address != q.Address ||
            p.Retranslation != q.Retranslation || p.RS485 != q.RS485 || p.TCP != q.TCP ||
            p.TCPPort != q.TCPPort || (with_time_out && p.TimeOut != q.TimeOut))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char separator = data[0] % 2 ? ',' : '.';
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const o::ProfileTable read = Load(text, separator, nullptr);
    Check(read.count >= 0 && read.count <= o::kProfileSlots);
    Check(read.count == 0 ? read.position == -1 : read.position >= 0 && read.position < read.count);
    for (int i = 0; i < read.count; ++i) {
        const o::TComProfile& p = read.entries[static_cast<std::size_t>(i)];
        Check(p.Name.size() <= o::kMaxProfileName && p.TCPIP.size() <= o::kMaxProfileIP);
    }
    fuzz::CollectedProblems problems;
    const o::ProfileTable checked = Load(text, separator, &problems);
    Check(SameNumbers(checked, read, true));
    for (const lm::LoadProblem& problem : problems.all) {
        Check(fuzz::Inside(text, problem.position, fuzz::LineEnds::Profile));
    }

    // Saved and read back: the same numbers; the time-out, written with 15
    // digits, reads back the same from the second saving on.
    const std::string saved = o::SavedProfilesText(text, read, separator);
    const o::ProfileTable again = Load(saved, separator, nullptr);
    Check(SameNumbers(again, read, false));
    const std::string saved_again = o::SavedProfilesText(saved, again, separator);
    Check(SameNumbers(Load(saved_again, separator, nullptr), again, true));

    o::ProfileFile file(text);
    file.Write("main", "count", "7");
    file.Write("profile000", "Name", "Kotelna");
    Check(file.Read("MAIN", "Count") == "7" && file.Read("profile000", "name") == "Kotelna");
    const o::ProfileFile reread(file.Text());
    Check(reread.Read("main", "count") == "7" && reread.Read("PROFILE000", "Name") == "Kotelna");
    return 0;
}
