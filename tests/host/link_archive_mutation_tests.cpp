// Mutation test of the link file reader: damaged link records load or fail
// with an archive error, never crash, overrun or allocate without bound, and
// whatever loads stores and loads again to the same record.
#include "URLObject.h"
#include "mutator.h"

#include <gtest/gtest.h>

namespace {

std::string ValidLink() {
    CURLObject link;
    link.link.title = "A title long enough to need the three-byte length prefix? no, but it has some text";
    link.link.address = "http://example.invalid/some/page.html";
    link.link.comments = std::string(300, 'c');  // a longer prefix
    link.skinName = "Blue";
    link.font.faceName = "Courier New";
    return fw::StoreObject(link);
}

TEST(LinkArchiveMutation, DamagedRecordsLoadOrFailCleanly) {
    const std::string valid = ValidLink();
    ASSERT_NE(fw::LoadObject<CURLObject>(valid), nullptr);
    hosttest::Mutator mutator(0x5EED0001);
    int loaded = 0, refused = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string bytes = mutator.Mutate(valid);
        try {
            std::unique_ptr<CURLObject> link = fw::LoadObject<CURLObject>(bytes);
            ++loaded;
            if (!link) continue;
            const std::string again = fw::StoreObject(*link);
            std::unique_ptr<CURLObject> reloaded = fw::LoadObject<CURLObject>(again);
            ASSERT_NE(reloaded, nullptr) << "input " << i;
            ASSERT_EQ(fw::StoreObject(*reloaded), again) << "input " << i;
        } catch (const fw::ArchiveException&) {
            ++refused;
        }
    }
    EXPECT_EQ(loaded + refused, hosttest::kMutationsPerReader);
    EXPECT_GT(refused, 0);
    EXPECT_GT(loaded, 0);
}

}  // namespace
