#include "URLObject.h"

#include "link_test_util.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

using linktest::FromHex;
using linktest::ToHex;

namespace {

constexpr std::uint32_t kStamp = 0x3B9ACA00;  // 2001-09-09

CURLObject FixedDefault() {
    CURLObject record;
    record.link.stamp1 = record.link.stamp2 = record.link.stamp3 = kStamp;
    return record;
}

CURLObject Reload(const std::string& bytes) {
    std::unique_ptr<CURLObject> loaded = fw::LoadObject<CURLObject>(bytes);
    EXPECT_NE(loaded, nullptr);
    return loaded ? *loaded : CURLObject();
}

TEST(LinkRecord, DefaultsAndConstructionTime) {
    const std::int64_t before = std::time(nullptr);
    const CURLObject r;
    const std::int64_t after = std::time(nullptr);
    EXPECT_EQ(r.link.windowRect, URLRect{});
    EXPECT_EQ(r.link.title, "");
    EXPECT_EQ(r.link.address, "http://");
    EXPECT_EQ(r.link.comments, "");
    for (std::int64_t stamp : {r.link.stamp1, r.link.stamp2, r.link.stamp3}) {
        EXPECT_GE(stamp, before);
        EXPECT_LE(stamp, after);
    }
    EXPECT_EQ(r.link.refreshInterval, 300);
    EXPECT_EQ(r.link.refreshEnabled, 0);
    EXPECT_EQ(r.link.reservedA, 0);
    EXPECT_EQ(r.link.reservedB, 0);
    EXPECT_EQ(r.font.faceName, "Arial");
    EXPECT_EQ(r.font.sizeCode, 103);
    EXPECT_EQ(r.font.textColor, 0u);
    EXPECT_EQ(r.font.backgroundColor, 0xFFFFFFu);
    EXPECT_EQ(r.font.useWindowsColors, 1);
    EXPECT_EQ(r.colors.useHoverColor, 0);
    EXPECT_EQ(r.colors.hoverColor, 0x0000FFu);
    EXPECT_EQ(r.colors.visitedColor, 0x800080u);
    EXPECT_EQ(r.colors.unvisitedColor, 0xFF0000u);
    EXPECT_EQ(r.options.separateBrowser, 0);
    EXPECT_EQ(r.options.option2, 1);
    EXPECT_EQ(r.options.option3, 1);
    EXPECT_EQ(r.options.option4, 0);
    EXPECT_EQ(r.options.option5, 1);
    EXPECT_EQ(r.skinName, "vessa");
}

TEST(LinkRecord, DefaultRecordStoresAsTheGoldenBytes) {
    const std::string golden = linktest::GoldenDefaultRecord(kStamp);
    ASSERT_EQ(golden.size(), 134u);
    EXPECT_EQ(ToHex(fw::StoreObject(FixedDefault())), ToHex(golden));

    // With the real clock: equal once the three stamps are masked.
    const std::int64_t before = std::time(nullptr);
    std::string stored = fw::StoreObject(CURLObject());
    ASSERT_EQ(stored.size(), 134u);
    const std::size_t at = linktest::StampOffset(1, 8, 1);
    fw::ArchiveReader stamps(std::string_view(stored).substr(at, 12));
    for (int i = 0; i < 3; ++i) EXPECT_GE(stamps.ReadTime(), before);
    stored.replace(at, 12, linktest::Dword(kStamp) + linktest::Dword(kStamp) + linktest::Dword(kStamp));
    EXPECT_EQ(ToHex(stored), ToHex(golden));

    EXPECT_FALSE(Reload(golden).DiffersFrom(FixedDefault()));
}

TEST(LinkRecord, FileOrderDiffersFromMemoryOrder) {
    CURLObject r;
    r.link.windowRect = {-10, 20, 800, 600};
    r.link.title = "T";
    r.link.address = "a";
    r.link.comments.push_back('c');
    r.link.stamp1 = 1;
    r.link.stamp2 = 2;
    r.link.stamp3 = 3;
    r.link.refreshInterval = 60;
    r.link.refreshEnabled = 1;
    r.link.reservedA = 7;
    r.link.reservedB = -1;
    r.font = {"F", 105, 0x112233, 0x445566, 0};
    r.colors = {1, 0x010203, 0x040506, 0x070809};
    r.options = {1, 9, 8, 7, 6};
    r.skinName = "S";
    const std::string expected = FromHex(
        "FFFF 0200 0A00 'CURLObject'"
        "F6FFFFFF 14000000 20030000 58020000"
        "01 'T' 01 'a' 01 'c'"
        "01000000 02000000 03000000"
        "01000000 3C000000"  // refresh enabled, then the interval
        "07000000 FFFFFFFF"
        "01 'S' 01 'F'"      // skin, then the font face
        "69000000 00000000"  // size code, then the Windows-colours flag
        "33221100 66554400"
        "01000000 03020100 06050400 09080700"
        "01000000 09000000 08000000 07000000 06000000");
    const std::string stored = fw::StoreObject(r);
    EXPECT_EQ(ToHex(stored), ToHex(expected));

    // Every field, the ones nothing compares included, comes back unchanged.
    const CURLObject back = Reload(stored);
    EXPECT_FALSE(back.DiffersFrom(r));
    EXPECT_EQ(back.link.stamp3, 3);
    EXPECT_EQ(back.link.reservedA, 7);
    EXPECT_EQ(back.link.reservedB, -1);
    EXPECT_EQ(back.options.option2, 9);
    EXPECT_EQ(back.options.option3, 8);
    EXPECT_EQ(back.options.option5, 6);
    EXPECT_EQ(ToHex(fw::StoreObject(back)), ToHex(stored));
}

TEST(LinkRecord, ForeignFlagValuesAreWrittenBackAsRead) {
    // Flags hold whatever 32-bit value a file carries; nothing narrows them to 0 or 1.
    std::string bytes = linktest::GoldenDefaultRecord(kStamp);
    const std::size_t refreshFlag = linktest::StampOffset(1, 8, 1) + 12;
    bytes.replace(refreshFlag, 4, linktest::Dword(5));
    bytes.replace(bytes.size() - 20, 4, linktest::Dword(0xFFFFFFFF));  // separate-browser flag
    const CURLObject r = Reload(bytes);
    EXPECT_EQ(r.link.refreshEnabled, 5);
    EXPECT_EQ(r.options.separateBrowser, -1);
    EXPECT_EQ(ToHex(fw::StoreObject(r)), ToHex(bytes));
}

TEST(LinkRecord, LongTextsTakeLongerPrefixes) {
    CURLObject r = FixedDefault();
    r.link.title.assign(300, 'T');
    std::string stored = fw::StoreObject(r);
    EXPECT_EQ(ToHex(stored.substr(32, 3)), ToHex(FromHex("FF 2C 01")));
    EXPECT_EQ(stored.size(), 134u + 300 + 2);

    r = FixedDefault();
    r.link.comments.assign(70000, 'c');
    r.link.comments[69999] = 'z';
    stored = fw::StoreObject(r);
    const std::size_t at = 32 + 1 + 8;
    EXPECT_EQ(ToHex(stored.substr(at, 7)), ToHex(FromHex("FF FF FF 70 11 01 00")));
    EXPECT_EQ(stored.size(), 134u + 70000 + 6);
    const CURLObject back = Reload(stored);
    EXPECT_EQ(back.link.comments, r.link.comments);
    EXPECT_EQ(back.link.stamp1, kStamp);  // the fields after the comments are in place
    EXPECT_FALSE(back.DiffersFrom(r));
}

TEST(LinkRecord, OnlySchema2Loads) {
    for (std::uint16_t schema : {0, 1, 3, 0xFFFF}) {
        std::string bytes = linktest::GoldenDefaultRecord(kStamp);
        bytes[2] = static_cast<char>(schema);
        bytes[3] = static_cast<char>(schema >> 8);
        try {
            fw::LoadObject<CURLObject>(bytes);
            ADD_FAILURE() << "schema " << schema << " loaded";
        } catch (const fw::ArchiveException& e) {
            EXPECT_EQ(e.cause(), fw::ArchiveException::Cause::kBadSchema) << schema;
        }
    }
}

TEST(LinkRecord, DiffersFromComparesExactlyTheUserFields) {
    struct Case {
        const char* field;
        std::function<void(CURLObject&)> change;
        bool differs;
    } cases[] = {
        {"stamp 1", [](CURLObject& r) { r.link.stamp1 += 1; }, false},
        {"stamp 2", [](CURLObject& r) { r.link.stamp2 += 1; }, false},
        {"stamp 3", [](CURLObject& r) { r.link.stamp3 += 1; }, false},
        {"reserved A", [](CURLObject& r) { r.link.reservedA = 1; }, false},
        {"reserved B", [](CURLObject& r) { r.link.reservedB = 1; }, false},
        {"option 2", [](CURLObject& r) { r.options.option2 = 0; }, false},
        {"option 3", [](CURLObject& r) { r.options.option3 = 0; }, false},
        {"option 5", [](CURLObject& r) { r.options.option5 = 0; }, false},
        {"option 4", [](CURLObject& r) { r.options.option4 = 1; }, true},
        {"separate browser", [](CURLObject& r) { r.options.separateBrowser = 1; }, true},
        {"rect left", [](CURLObject& r) { r.link.windowRect.left = 1; }, true},
        {"rect top", [](CURLObject& r) { r.link.windowRect.top = 1; }, true},
        {"rect right", [](CURLObject& r) { r.link.windowRect.right = 1; }, true},
        {"rect bottom", [](CURLObject& r) { r.link.windowRect.bottom = 1; }, true},
        {"title case", [](CURLObject& r) { r.link.title[0] = 'n'; }, true},
        {"address", [](CURLObject& r) { r.link.address += 'x'; }, true},
        {"comments", [](CURLObject& r) { r.link.comments.push_back('c'); }, true},
        {"refresh interval", [](CURLObject& r) { r.link.refreshInterval = 60; }, true},
        {"refresh enabled", [](CURLObject& r) { r.link.refreshEnabled = 1; }, true},
        {"face", [](CURLObject& r) { r.font.faceName[0] = 'a'; }, true},
        {"size", [](CURLObject& r) { r.font.sizeCode = 101; }, true},
        {"text colour", [](CURLObject& r) { r.font.textColor = 1; }, true},
        {"background", [](CURLObject& r) { r.font.backgroundColor = 1; }, true},
        {"Windows colours", [](CURLObject& r) { r.font.useWindowsColors = 0; }, true},
        {"hover flag", [](CURLObject& r) { r.colors.useHoverColor = 1; }, true},
        {"hover", [](CURLObject& r) { r.colors.hoverColor = 1; }, true},
        {"visited", [](CURLObject& r) { r.colors.visitedColor = 1; }, true},
        {"unvisited", [](CURLObject& r) { r.colors.unvisitedColor = 1; }, true},
        {"skin", [](CURLObject& r) { r.skinName[0] = 'V'; }, true},
    };
    CURLObject base = FixedDefault();
    base.link.title = "News";
    for (const auto& c : cases) {
        CURLObject changed = base;
        c.change(changed);
        EXPECT_EQ(changed.DiffersFrom(base), c.differs) << c.field;
        EXPECT_EQ(base.DiffersFrom(changed), c.differs) << c.field;
    }
    EXPECT_FALSE(base.DiffersFrom(base));
}

TEST(LinkRecord, SubRecordComparisons) {
    const CURLObject a = FixedDefault();
    CURLObject b = a;
    b.font.sizeCode = 104;
    EXPECT_TRUE(a.link.IsEqual(b.link));
    EXPECT_FALSE(a.font.IsEqual(b.font));
    EXPECT_TRUE(a.colors.IsEqual(b.colors));
    b.colors.visitedColor = 0;
    EXPECT_FALSE(a.colors.IsEqual(b.colors));
    b.options.option3 = 5;
    EXPECT_TRUE(a.options.IsEqual(b.options));
}

}  // namespace
