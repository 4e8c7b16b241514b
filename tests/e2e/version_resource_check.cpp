// Reads LMDRIVER.DLL's version resource back with the version API, as the
// file's Properties page does, and compares it with the identity the driver
// hands the host at identify. Prints what it read; exit code 1 on a mismatch.
//   lm_version_resource_check LMDRIVER.DLL
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "frame/driver_texts.h"

namespace {

int failures = 0;

std::wstring FromCp1250(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    int n = MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    return wide;
}

void Expect(const wchar_t* what, const std::wstring& read, const std::wstring& expected) {
    std::wprintf(L"%ls: %ls\n", what, read.c_str());
    if (read != expected) {
        std::wprintf(L"  MISMATCH: the driver's identity gives \"%ls\"\n", expected.c_str());
        ++failures;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: lm_version_resource_check LMDRIVER.DLL\n", stderr);
        return 2;
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
    std::vector<unsigned char> info(size);
    if (size == 0 || !GetFileVersionInfoW(argv[1], 0, size, info.data())) {
        std::wprintf(L"%ls has no version resource (error %lu)\n", argv[1], GetLastError());
        return 1;
    }

    // The identity: "VORTEL KADEX-RX7 LM-Driver\nverze 4.05 ze dne 1.12.2005".
    std::string_view identify = lm::texts::kIdentify;
    std::string_view description = lm::texts::kDescription;
    std::string_view version = lm::texts::kVersion;
    version.remove_prefix(version.find(' ') + 1);
    version = version.substr(0, version.find(' '));
    unsigned major = std::stoul(std::string(version.substr(0, version.find('.'))));
    unsigned minor = std::stoul(std::string(version.substr(version.find('.') + 1)));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        std::puts("no fixed file info");
        return 1;
    }
    auto numbers = [](DWORD ms, DWORD ls) {
        return std::to_wstring(HIWORD(ms)) + L"." + std::to_wstring(LOWORD(ms)) + L"." +
               std::to_wstring(HIWORD(ls)) + L"." + std::to_wstring(LOWORD(ls));
    };
    std::wstring numeric = std::to_wstring(major) + L"." + std::to_wstring(minor) + L".0.0";
    Expect(L"fixed file version", numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS), numeric);
    Expect(L"fixed product version", numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS),
           numeric);
    Expect(L"file type", fixed->dwFileType == VFT_DLL ? L"DLL" : L"not a DLL", L"DLL");

    struct Translation {
        WORD language;
        WORD code_page;
    }* translation = nullptr;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        std::puts("no translation");
        return 1;
    }
    Expect(L"language and code page",
           std::to_wstring(translation->language) + L", " + std::to_wstring(translation->code_page),
           L"1029, 1250");  // Czech, Central European

    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04X%04X\\", translation->language,
                  translation->code_page);
    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        std::wstring path = std::wstring(block) + name;
        if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars) ||
            value == nullptr)
            return std::wstring(L"(none)");
        return std::wstring(value);
    };
    std::wstring dotted = FromCp1250(version);
    Expect(L"FileVersion", text(L"FileVersion"), dotted);
    Expect(L"ProductVersion", text(L"ProductVersion"), dotted);
    Expect(L"ProductName", text(L"ProductName"),
           FromCp1250(identify.substr(0, identify.find('\n'))));
    Expect(L"CompanyName", text(L"CompanyName"),
           FromCp1250(description.substr(0, description.find(' '))));
    Expect(L"FileDescription", text(L"FileDescription"), FromCp1250(description));
    Expect(L"OriginalFilename", text(L"OriginalFilename"), L"LMDRIVER.DLL");
    std::wprintf(L"version resource: %d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
