// The initial data's stream format, as the browser writes it and the
// stand-in reads it: a round trip, and inputs that must be refused.
#include "adbanner/AdBannerData.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using adbanner::Decode;
using adbanner::Encode;
using adbanner::InitialData;

InitialData Browsers() {
    return {12383, 1588, u"Vessa", u"mo4vx"};
}

TEST(AdBannerFormat, TheBrowsersDataInBytes) {
    const std::vector<uint8_t> bytes = Encode(Browsers());
    const std::vector<uint8_t> expected = {0x5F, 0x30, 0, 0, 0x34, 0x06, 0,   0,                          // 12383, 1588
                                           10,   0,    0, 0, 'V',  0,    'e', 0, 's', 0, 's', 0, 'a', 0,  // "Vessa"
                                           10,   0,    0, 0, 'm',  0,    'o', 0, '4', 0, 'v', 0, 'x', 0};  // "mo4vx"
    EXPECT_EQ(bytes, expected);
    const auto back = Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->extentX, 12383);
    EXPECT_EQ(back->extentY, 1588);
    EXPECT_EQ(back->productName, u"Vessa");
    EXPECT_EQ(back->applicationKey, u"mo4vx");
}

TEST(AdBannerFormat, WhatFollowsIsNotRead) {
    std::vector<uint8_t> bytes = Encode(Browsers());
    bytes.insert(bytes.end(), {1, 2, 3});
    const auto back = Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->applicationKey, u"mo4vx");
}

TEST(AdBannerFormat, DamagedStreamsAreRefused) {
    const std::vector<uint8_t> good = Encode(Browsers());
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    for (size_t cut : {size_t{0}, size_t{7}, size_t{11}, size_t{21}, good.size() - 1})
        cases.push_back({"cut short", std::vector<uint8_t>(good.begin(), good.begin() + cut)});
    std::vector<uint8_t> odd = good;
    odd[8] = 9;  // an odd byte count is no UTF-16 text
    cases.push_back({"odd length", odd});
    std::vector<uint8_t> huge = good;
    huge[22] = 0xFF, huge[23] = 0xFF, huge[24] = 0xFF, huge[25] = 0xFF;  // the key's length: 4 GB
    cases.push_back({"length past the end", huge});
    std::vector<uint8_t> big = Encode({1, 1, std::u16string(adbanner::kMaxTextBytes / 2 + 1, u'a'), u""});
    cases.push_back({"text over the bound", big});
    for (const Case& c : cases) EXPECT_FALSE(Decode(c.bytes.data(), c.bytes.size())) << c.what << " " << c.bytes.size();
}

}  // namespace
