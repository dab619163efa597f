#include "testsupport/folder_link.h"

#include "testsupport/child_process.h"

#include <windows.h>

namespace testsupport {

namespace {

bool IsReparsePoint(const std::string& path) {
    const DWORD attrs = ::GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine starts a Unix program and hands back a process that has already
// ended, so the program's work is awaited by its effect (bounded).
template <typename Done>
bool AwaitEffect(Done done) {
    const ULONGLONG end = ::GetTickCount64() + 20000;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(5);
    }
    return true;
}

// Unix paths from this helper hold no quotes; the quotes keep spaces whole.
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

std::string UnixPathOf(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix =
        reinterpret_cast<ToUnix>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!toUnix) return {};
    std::wstring wide(windowsPath.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (n <= 0) return {};
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath) return {};
    std::string result(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const std::string unixLink = UnixPathOf(link);
    const std::string unixTarget = UnixPathOf(target);
    if (unixLink.empty() || unixTarget.empty()) return false;
    RunProgram("Z:\\bin\\ln", "-s " + Quoted(unixTarget) + " " + Quoted(unixLink));
    return AwaitEffect([&] { return IsReparsePoint(link); });
}

bool RemoveFolderLink(const std::string& link) {
    const std::string unixLink = UnixPathOf(link);
    if (unixLink.empty()) return false;
    RunProgram("Z:\\bin\\rm", "-f " + Quoted(unixLink));
    return AwaitEffect([&] { return ::GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

}  // namespace testsupport
