#include "tools/lumarsim/work_folder.h"

#include <algorithm>
#include <cwctype>
#include <fstream>

namespace lumarsim {
namespace fs = std::filesystem;

namespace {

// The path with every link and ".." resolved as far as it exists.
fs::path Resolved(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) resolved = fs::absolute(path).lexically_normal();
    // "dir/" and "dir" name one folder.
    if (!resolved.has_filename() && resolved.has_parent_path()) resolved = resolved.parent_path();
    return resolved;
}

// Windows names files without regard to case.
bool SameName(const fs::path& a, const fs::path& b) {
#if defined(_WIN32)
    const std::wstring x = a.wstring(), y = b.wstring();
    return x.size() == y.size() &&
           std::equal(x.begin(), x.end(), y.begin(),
                      [](wchar_t p, wchar_t q) { return std::towlower(p) == std::towlower(q); });
#else
    return a == b;
#endif
}

// True when `inner` is `outer` or lies somewhere below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    auto o = outer.begin(), i = inner.begin();
    for (; o != outer.end(); ++o, ++i) {
        if (i == inner.end() || !SameName(*i, *o)) return false;
    }
    return true;
}

}  // namespace

bool PrepareWorkFolder(const fs::path& driver_dir, const fs::path& work, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(driver_dir, ec)) {
        error = "no driver directory " + driver_dir.string();
        return false;
    }
    const fs::path source = Resolved(driver_dir);
    const fs::path folder = Resolved(work);
    if (IsWithin(folder, source) || IsWithin(source, folder)) {
        error =
            "--work " + work.string() + " and --driver-dir " + driver_dir.string() +
            (folder == source           ? " are one folder"
             : IsWithin(folder, source) ? ": the working folder lies inside the driver directory"
                                        : ": the driver directory lies inside the working folder") +
            "; lumarsim copies the driver directory into WORK/OVLADACE/KADEX2 and replaces "
            "that copy, so the two must be apart";
        return false;
    }
    const fs::path target = folder / "OVLADACE" / "KADEX2";
    const fs::path mark = target / kWorkCopyMark;
    if (fs::exists(target, ec)) {
        if (!fs::is_directory(target, ec) || !fs::is_regular_file(mark, ec)) {
            error = target.string() + " is there and is no working copy of lumarsim (it has no " +
                    kWorkCopyMark +
                    "); lumarsim replaces only its own copies: move it away or choose another "
                    "--work";
            return false;
        }
        fs::remove_all(target, ec);
        if (ec) {
            error = "cannot remove the old working copy " + target.string() + ": " + ec.message();
            return false;
        }
    }
    fs::create_directories(target, ec);
    // The mark first: a copy that stops half way is still known as ours.
    {
        std::ofstream out(mark, std::ios::binary);
        out << "A working copy of " << source.string()
            << " made by lumarsim; lumarsim replaces it on its next run.\r\n";
        if (!out) {
            error = "cannot write " + mark.string();
            return false;
        }
    }
    // File by file: copying a folder into an existing one fails on some
    // runtimes even with overwrite allowed.
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename() == kWorkCopyMark) continue;  // a copy of a copy: ours anyway
        fs::copy(it->path(), target / it->path().filename(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    }
    if (ec) {
        error = "cannot prepare " + target.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace lumarsim
