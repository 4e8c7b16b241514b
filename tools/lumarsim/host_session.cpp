#include "tools/lumarsim/host_session.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"

namespace lumarsim {

std::string Shown(const char* cp1250) {
    if (cp1250 == nullptr) return "(nil)";
    return lm::Cp1250ToUtf8(lm::ReadZeroText(cp1250));
}

int HostSession::Call(PARAM_ENTRY& record, const char* name) {
    int result = library_.Call(record);
    std::fprintf(out_, "> %-14s code %2u -> %s, error %u, wparam1 %u\n", name, record.lmd_func,
                 result ? "TRUE" : "FALSE", record.error, record.wparam1);
    return result;
}

void HostSession::Expect(bool ok, const char* what) {
    if (ok) return;
    ++failures_;
    std::fprintf(out_, "  !! unexpected: %s\n", what);
}

bool HostSession::Identify() {
    PARAM_ENTRY r{};
    r.lmd_func = 1;
    r.wparam1 = 3;
    r.lparam1 = 34;
    int result = Call(r, "identify");
    std::fprintf(out_, "  driver:  %s\n  name:    %s\n", Shown(r.string1).c_str(),
                 Shown(r.string2).c_str());
    std::string text = Shown(static_cast<const char*>(r.data1));
    for (std::size_t nl; (nl = text.find('\n')) != std::string::npos;) text.replace(nl, 1, " / ");
    std::fprintf(out_, "  about:   %s\n", text.c_str());
    Expect(result == 1 && r.wparam1 == 1, "identify refused the host's version");
    return r.wparam1 == 1;
}

bool HostSession::LoadDriver() {
    PARAM_ENTRY r{};
    r.lmd_func = 2;
    int result = Call(r, "load driver");
    Expect(result == 1 && r.wparam1 == 1, "load driver failed");
    return result == 1;
}

std::string HostSession::ErrText(std::uint16_t code) {
    PARAM_ENTRY r{};
    r.lmd_func = 5;
    r.wparam1 = code;
    int result = Call(r, "errtext");
    Expect(result == 1 && r.string1 != nullptr, "errtext gave no text");
    std::string text = Shown(r.string1);
    std::fprintf(out_, "  text %u: %s\n", code, text.c_str());
    return text;
}

void HostSession::Unknown(std::uint16_t code) {
    PARAM_ENTRY r{};
    r.lmd_func = code;
    int result = Call(r, "(unknown)");
    Expect(result == 0 && r.error == 14, "an unknown code was not refused with error 14");
}

bool HostSession::UnloadDriver() {
    PARAM_ENTRY r{};
    r.lmd_func = 3;
    int result = Call(r, "unload driver");
    Expect(result == 1, "unload driver failed");
    return result == 1;
}

}  // namespace lumarsim
