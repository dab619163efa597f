#include "page_fixture.h"

namespace pagetest {

void PageTest::Start(const std::string& commandLine, const std::string& settledAt) {
    ASSERT_TRUE(ole);
    browser.emplace(commandLine);
    ASSERT_TRUE(Control().host().IsCreated()) << "the WebBrowser control was not created";
    watcher.On(kNavigateError, [this](const fw::DispArgs& a) { navigationEnds.push_back(a.String(1)); });
    ASSERT_EQ(watcher.Connect(Control().host().Control().get()), S_OK);
    ASSERT_TRUE(
        PumpUntil([&] { return Control().GetLocationURL() == settledAt && !Dlg().IsAnimationRunning(); }, 10000))
        << Control().GetLocationURL();
    ASSERT_TRUE(PumpPosted()) << "what the start navigation left queued";
}

void PageTest::NavigateAndWait(const std::string& address) {
    navigationEnds.clear();
    ASSERT_EQ(Control().Navigate(address), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !navigationEnds.empty(); }, 10000)) << address;
    ASSERT_TRUE(PumpPosted()) << "what the navigation's end left queued";
}

}  // namespace pagetest
