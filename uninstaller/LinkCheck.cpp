#include "LinkCheck.h"

#include "fw/handles.h"

#include <windows.h>

namespace {

bool FinalPath(const std::string& path, HANDLE open, std::string* out) {
    fw::FileHandle file;
    if (!open) {
        file.reset(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file) return false;
        open = file.get();
    }
    char buffer[1024];
    const DWORD length = ::GetFinalPathNameByHandleA(open, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof buffer) return false;
    out->assign(buffer, length);
    return true;
}

}  // namespace

bool IsOwnPath(const std::string& path, void* open) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos || slash + 1 >= path.size()) return false;
    std::string own, folder;
    if (!FinalPath(path, static_cast<HANDLE>(open), &own) || !FinalPath(path.substr(0, slash), nullptr, &folder))
        return false;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    folder += path.substr(slash + 1);
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, own.c_str(), -1, folder.c_str(), -1) == CSTR_EQUAL;
}
