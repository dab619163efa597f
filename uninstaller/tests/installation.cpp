#include "installation.h"

#include "Checksum.h"
#include "harness_util.h"
#include "install_test_util.h"

#include "fw/file.h"
#include "testsupport/child_process.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>

namespace twtest {

namespace {

constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kLibraries[] = {"TwAd.dll", "QdNetDetect.dll", "ZhkDLL.dll"};

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

void SetEnv(const char* name, const std::string& value) {
    ::SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

ProgramFilesOverride::ProgramFilesOverride(DWORD type, const std::string& data) {
    fw::RegKey key;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ | KEY_SET_VALUE, key.put()),
              ERROR_SUCCESS);
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, &savedType_, reinterpret_cast<BYTE*>(buffer),
                           &size) == ERROR_SUCCESS)
        saved_ = std::string(buffer, size);
    EXPECT_EQ(::RegSetValueExA(key.get(), "ProgramFilesDir", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

ProgramFilesOverride::~ProgramFilesOverride() {
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (saved_)
        ::RegSetValueExA(key.get(), "ProgramFilesDir", 0, savedType_, reinterpret_cast<const BYTE*>(saved_->data()),
                         static_cast<DWORD>(saved_->size()));
    else
        ::RegDeleteValueA(key.get(), "ProgramFilesDir");
}

void RemoveVendorTraces() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) ::RegDeleteTreeA(root, "SOFTWARE\\Tarnwick, Inc.");
    fw::RegKey run;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, KEY_SET_VALUE, run.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(run.get(), "Tarnwick Ad Client");
    for (const char* library : kLibraries) ::DeleteFileA((WindowsFolder() + "\\" + library).c_str());
}

Installation::Installation(const std::string& scenario) : root_(InstallRoot(scenario)) {
    EXPECT_TRUE(fw::FolderExists(root_)) << root_;
    StopClients();
    RemoveVendorTraces();
    programFiles_.emplace(root_ + "\\Program Files");
    const std::string regedit = WindowsFolder() + "\\regedit.exe";
    EXPECT_EQ(testsupport::RunProgram(regedit, "/s \"" + root_ + "\\install.reg\""), 0);
    for (const char* library : kLibraries) {
        const std::string from = root_ + "\\Windows\\" + library;
        if (fw::FileExists(from)) {
            EXPECT_TRUE(::CopyFileA(from.c_str(), (WindowsFolder() + "\\" + library).c_str(), FALSE));
        }
    }
    if (fw::FolderExists(Harbor())) {
        const std::string fake = testsupport::TestBinaryFolder() + "\\fake_twadbot.exe";
        EXPECT_TRUE(::CopyFileA(fake.c_str(), (Harbor() + "\\TwAdBot.exe").c_str(), FALSE));
    }
    log_ = root_ + "\\client.log";
    readyName_ = UniqueName("adbot_ready");
    ready_ = testsupport::MakeNamedEvent(readyName_);
    SetEnv("TWADBOT_LOG", log_);
    SetEnv("TWADBOT_READY", readyName_);
}

Installation::~Installation() {
    StopClients();
    RemoveVendorTraces();
    programFiles_.reset();
    for (const char* name : {"TWADBOT_LOG", "TWADBOT_READY", "TWADBOT_WATCH", "TWADBOT_MODE", "TWADBOT_HOLD"})
        SetEnv(name, "");
}

void Installation::StopClients() {
    // Ask any stand-in to quit, and wait until nobody holds its mutex.
    fw::Handle kill(::CreateEventA(nullptr, FALSE, FALSE, "Tarnwick Kill Ad Client"));
    for (int round = 0; round < 20 && ClientMutexHeld(); ++round) {
        ::SetEvent(kill.get());
        fw::Handle mutex(::CreateMutexA(nullptr, FALSE, "Tarnwick Ad Client"));
        const DWORD got = ::WaitForSingleObject(mutex.get(), 5000);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) ::ReleaseMutex(mutex.get());
    }
    ::ResetEvent(kill.get());
}

bool Installation::ClientMutexHeld() {
    fw::Handle mutex(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "Tarnwick Ad Client"));
    if (!mutex) return false;
    const DWORD got = ::WaitForSingleObject(mutex.get(), 0);
    if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
        ::ReleaseMutex(mutex.get());
        return false;
    }
    return true;
}

std::string Installation::User() const {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

std::vector<std::string> Installation::Changed(const std::string& prefix, const std::string& except) const {
    std::vector<std::string> changed;
    std::istringstream manifest(ReadBytes(root_ + "\\manifest.txt"));
    std::string line;
    int seen = 0;
    while (std::getline(manifest, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string relative = line.substr(space + 1);
        if (relative.compare(0, prefix.size(), prefix) != 0) continue;
        if (!except.empty() && relative.ends_with(except)) continue;
        ++seen;
        CMd5Checksum md5;
        std::uint8_t digest[16];
        if (!md5.OfPath((root_ + "\\" + relative).c_str(), digest) || Hex(digest, 16) != line.substr(0, space))
            changed.push_back(relative);
    }
    if (seen == 0) changed.push_back("nothing in the manifest below " + prefix);
    return changed;
}

bool Installation::Exists(const std::string& path) const {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Installation::StartClient(const std::string& watch, const std::string& mode, const std::string& hold) {
    SetEnv("TWADBOT_WATCH", watch);
    SetEnv("TWADBOT_MODE", mode);
    SetEnv("TWADBOT_HOLD", hold);
    ::ResetEvent(ready_.get());
    // Started as the uninstaller starts it: no arguments, living on by itself.
    const std::string program = Harbor() + "\\TwAdBot.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    fw::Handle process(info.hProcess);
    fw::Handle thread(info.hThread);
    const bool ready = testsupport::WaitEventOrExit(ready_.get(), process.get());
    ::ResetEvent(ready_.get());
    return ready;
}

bool Installation::WaitClientReady(unsigned long timeoutMs) {
    const bool ready = ::WaitForSingleObject(ready_.get(), timeoutMs) == WAIT_OBJECT_0;
    ::ResetEvent(ready_.get());
    return ready;
}

std::vector<std::string> Installation::ClientLog() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(log_));
    std::string line;
    while (std::getline(log, line)) lines.push_back(line);
    return lines;
}

int Installation::RunUninstaller(const std::string& arguments) const {
    testsupport::ChildProcess run;
    if (!run.Start(testsupport::TestBinaryFolder() + "\\TwUninstaller.exe", arguments)) return -100;
    // A client that does not quit is waited for a minute.
    return run.Wait(180000);
}

}  // namespace twtest
