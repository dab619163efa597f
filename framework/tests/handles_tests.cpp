#include "fw/handles.h"
#include "fw/registry.h"

#include "testsupport/registry_scratch.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

static_assert(!std::is_copy_constructible_v<fw::Handle>);
static_assert(!std::is_copy_assignable_v<fw::RegKey>);
static_assert(std::is_nothrow_move_constructible_v<fw::FindHandle>);

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        fw::Handle a(raw);
        fw::Handle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), raw);
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags)) << "the owner must close the handle";
}

TEST(UniqueHandle, FileAndFindHandlesTreatInvalidValueAsEmpty) {
    fw::FileHandle file(::CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA("Z:\\no\\such\\*", &data));
    EXPECT_FALSE(find);
}

TEST(GdiOwners, ReleaseObjectsAndRestoreSelection) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
    {
        fw::Brush brush(raw);
        const HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
        {
            fw::SelectObjectGuard select(dc.get(), brush.get());
            EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), raw);
        }
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), before);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u) << "the brush must be deleted";
}

TEST(Registry, ReadsAreStrictAboutTypeAndTermination) {
    testsupport::ScratchKey scratch(HKEY_CURRENT_USER, "Software\\VessaTests\\Framework");
    fw::RegKey key = fw::CreateKey(HKEY_CURRENT_USER, scratch.Path(), KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    ASSERT_TRUE(fw::WriteString(key.get(), "s", "text"));
    ASSERT_TRUE(fw::WriteDword(key.get(), "d", 0xdeadbeef));
    // A string stored without its terminator.
    ASSERT_EQ(::RegSetValueExA(key.get(), "raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(::RegSetValueExA(key.get(), "wide", 0, REG_BINARY, eight, 8), ERROR_SUCCESS);

    EXPECT_EQ(fw::ReadString(key.get(), "s").value_or("?"), "text");
    EXPECT_EQ(fw::ReadString(key.get(), "raw").value_or("?"), "abc");
    EXPECT_FALSE(fw::ReadString(key.get(), "d"));
    EXPECT_FALSE(fw::ReadString(key.get(), "s", 3)) << "longer than the reader accepts";
    EXPECT_EQ(fw::ReadDword(key.get(), "d").value_or(0), 0xdeadbeefu);
    EXPECT_FALSE(fw::ReadDword(key.get(), "s"));
    EXPECT_FALSE(fw::ReadDword(key.get(), "wide"));
    EXPECT_FALSE(fw::ReadDword(key.get(), "missing"));
}

}  // namespace
