#include "ProgramFolder.h"

ErrorCode ProgramFolderFrom(const std::function<DWORD(char* buffer, DWORD size)>& read, std::string* out) {
    out->clear();
    // Long paths exceed MAX_PATH; a truncated name would give a wrong folder.
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD len = read(name.data(), static_cast<DWORD>(name.size()));
        if (len == 0) return kErrAppPath;
        if (len < name.size()) {
            name.resize(len);
            break;
        }
        if (name.size() > 32768) return kErrAppPath;
        name.resize(name.size() * 2);
    }
    const size_t cut = name.rfind('\\');
    if (cut != std::string::npos) *out = name.substr(0, cut);
    return kErrNone;
}

ErrorCode GetProgramFolder(std::string* out) {
    return ProgramFolderFrom([](char* buffer, DWORD size) { return ::GetModuleFileNameA(nullptr, buffer, size); },
                             out);
}
