// A stand-in for the browser program, for launcher tests. Copied into a test's
// program folder as Vessa.exe, it appends one line to "launches.log" beside
// itself with its arguments, the time and the page settings it sees, then
// raises "BrowserID" unless "behaviour.txt" there says "silent".
//
// Log line: tick|arguments|font|size|dlgcolors|background|text|hover|usehover|visited|anchor
#include "fw/command_line.h"
#include "fw/file.h"
#include "fw/registry.h"

#include <windows.h>

#include <string>

namespace {

constexpr char kScripts[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
constexpr char kMain[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr char kSettings[] = "Software\\Microsoft\\Internet Explorer\\Settings";
constexpr char kAppSettings[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings";

std::string ReadText(const char* path, const char* name) {
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, path, KEY_READ);
    if (!key) return "<nokey>";
    return fw::ReadString(key.get(), name).value_or("<missing>");
}

std::string ReadFontSize() {
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, kScripts, KEY_READ);
    if (!key) return "<nokey>";
    DWORD type = 0, value = 0, size = sizeof(value);
    if (::RegQueryValueExA(key.get(), "IEFontSize", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return std::to_string(value) + (type == REG_BINARY && size == 4 ? "" : "<badtype>");
}


}  // namespace

int main() {
    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string folder = fw::FolderOf(self);

    std::string line = std::to_string(::GetTickCount());
    auto field = [&line](const std::string& text) {
        line += '|';
        line += text;
    };
    field(fw::CommandLineArguments(::GetCommandLineA()));
    field(ReadText(kScripts, "IEPropFontName"));
    field(ReadFontSize());
    field(ReadText(kMain, "Use_DlgBox_Colors"));
    for (const char* name : {"Background Color", "Text Color", "Anchor Color Hover", "Use Anchor Hover Color",
                             "Anchor Color Visited", "Anchor Color"})
        field(ReadText(kSettings, name));
    line += "\r\n";

    fw::FileHandle log(::CreateFileA((folder + "\\launches.log").c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (log) ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    log.reset();

    std::string behaviour;
    fw::ReadWholeFile(folder + "\\behaviour.txt", behaviour);
    if (behaviour.rfind("silent", 0) != 0) {
        fw::RegKey key = fw::CreateKey(HKEY_LOCAL_MACHINE, kAppSettings, KEY_ALL_ACCESS);
        if (key) {
            const uint32_t id = fw::ReadDword(key.get(), "BrowserID").value_or(0);
            fw::WriteDword(key.get(), "BrowserID", id + 1);
            ::RegFlushKey(key.get());
        }
    }
    return 0;
}
