// Mutation test of the ad banner's initial data reader: damaged streams read
// or fail without reading past their bytes, and what reads writes back the
// same bytes up to where the reader stopped.
#include "adbanner/AdBannerData.h"
#include "mutator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(AdBannerDataMutation, StreamsReadOrFailCleanly) {
    const std::vector<uint8_t> good = adbanner::Encode({12383, 1588, u"Vessa", u"mo4vx"});
    const std::string valid(good.begin(), good.end());
    hosttest::Mutator mutator(0x5EEDBA7E);
    int read = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string bytes = mutator.Mutate(valid);
        const auto data = adbanner::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!data) continue;
        ++read;
        const std::vector<uint8_t> again = adbanner::Encode(*data);
        ASSERT_LE(again.size(), bytes.size());
        ASSERT_TRUE(std::equal(again.begin(), again.end(), reinterpret_cast<const uint8_t*>(bytes.data())));
    }
    EXPECT_GT(read, 0);
}

}  // namespace
