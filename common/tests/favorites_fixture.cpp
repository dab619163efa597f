#include "favorites_fixture.h"

#include "ErrorCodes.h"
#include "LinkStore.h"

#include "fw/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace favtest {

std::string ShortcutText(const std::string& url, const std::string& lineEnd) {
    return "[DEFAULT]" + lineEnd + "BASEURL=" + url + "/base" + lineEnd + "[InternetShortcut]" + lineEnd + "URL=" +
           url + lineEnd + "Modified=A0C1B2D3E4F5C601C5" + lineEnd + "IconIndex=0" + lineEnd;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    fw::FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

void SetFileTimes(const std::string& path, std::int64_t created, std::int64_t accessed) {
    auto toFileTime = [](std::int64_t seconds) {
        const std::uint64_t ticks = static_cast<std::uint64_t>(seconds) * 10000000ull + 116444736000000000ull;
        return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    };
    fw::FileHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file) << path;
    const FILETIME c = toFileTime(created);
    const FILETIME a = toFileTime(accessed);
    ASSERT_TRUE(::SetFileTime(file.get(), &c, &a, nullptr)) << path;
}

std::pair<std::int64_t, std::int64_t> FileTimes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {-1, -1};
    auto seconds = [](const FILETIME& t) {
        const std::uint64_t ticks = (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
        return static_cast<std::int64_t>((ticks - 116444736000000000ull) / 10000000ull);
    };
    return {seconds(data.ftCreationTime), seconds(data.ftLastAccessTime)};
}

FavoritesValue::FavoritesValue() : saved_(HKEY_CURRENT_USER, kShellFoldersKey) {}

void FavoritesValue::Set(const std::string& folder) const {
    regtest::PutString(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", folder);
}

std::unique_ptr<CURLObject> LoadLink(const std::string& programFolder, const std::string& group,
                                     const std::string& name) {
    std::unique_ptr<CURLObject> record;
    if (CLinkStore(programFolder).LoadURLObject(CURLEntry(group, name), &record) != kErrNone) return nullptr;
    return record;
}

CURLObject DistinctTemplate() {
    CURLObject t;
    t.link.windowRect = {11, 22, 633, 444};
    t.link.title = "Default Template";
    t.link.address = "http://template.invalid/";
    t.link.comments = "from the template";
    t.link.stamp1 = 1111;
    t.link.stamp2 = 2222;
    t.link.stamp3 = 3333;
    t.link.refreshInterval = 77;
    t.link.refreshEnabled = 1;
    t.font.faceName = "Courier";
    t.font.sizeCode = 105;
    t.font.textColor = 0x123456;
    t.font.backgroundColor = 0x654321;
    t.font.useWindowsColors = 0;
    t.colors.useHoverColor = 1;
    t.colors.hoverColor = 0x00AA00;
    t.colors.visitedColor = 0x0000AA;
    t.colors.unvisitedColor = 0xAA0000;
    t.options.separateBrowser = 1;
    t.options.option4 = 1;
    t.skinName = "Blue";
    return t;
}

void MakeOldStore(const testsupport::TempProgramFolder& program, WithTemplate withTemplate) {
    program.MakeFolder("Links");
    program.MakeFolder("Links\\Old");
    program.MakeFolder("Groups");
    if (withTemplate == WithTemplate::kYes) {
        program.MakeFolder("Templates");
        CURLEntry templ("", "Default.vst");
        templ.kind = CURLEntry::kTemplate;
        EXPECT_EQ(CLinkStore(program.Path()).SaveURLObject(templ, DistinctTemplate()), kErrNone);
    }
    CURLObject old;
    old.link.title = "old";
    EXPECT_EQ(CLinkStore(program.Path()).SaveURLObject(CURLEntry("Old", "0.vsl"), old), kErrNone);
    program.WriteFile("Groups\\Work.vsg", "Links\\Old\\0.vsl\r\n");
}

void MakeFavorites(const testsupport::TempProgramFolder& favorites) {
    favorites.MakeFolder("News");
    favorites.MakeFolder("News\\Daily");
    WriteFileBytes(favorites / "a.url", ShortcutText("http://a.example/", "\r\n"));
    WriteFileBytes(favorites / "News\\Daily\\b.url", ShortcutText("http://b.example/", "\n"));
}

}  // namespace favtest
