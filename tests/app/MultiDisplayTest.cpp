// SPDX-License-Identifier: MIT
#include "app/Nsmultidisplay.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace hl = vx::headless;
using vx::TRect;

namespace {

TEST(MultiDisplayTest, NewObjectHoldsNothing) {
    hl::Reset();
    nsMultiDisplay m;
    EXPECT_EQ(m.GetCount(), 0);
    TRect r{1, 2, 3, 4};
    EXPECT_FALSE(m.GetMonitorRect(0, r));
    EXPECT_EQ(r, TRect{});
    EXPECT_TRUE(hl::ApiLog().empty()) << "the constructor queries nothing";
}

struct Layout {
    const char* Name;
    std::vector<TRect> Monitors;
    std::optional<int> Metric; // what SM_CMONITORS says, when it disagrees
};

void PrintTo(const Layout& c, std::ostream* os) {
    *os << c.Name;
}

class MultiDisplaySnapshot : public ::testing::TestWithParam<Layout> {};

// Whatever the metric says, every index the caller may ask for yields a filled rectangle,
// the stored ones in enumeration order, and nothing is read outside them.
TEST_P(MultiDisplaySnapshot, CountIsTheMetricAndRectanglesAreSafe) {
    const Layout& l = GetParam();
    hl::Reset();
    hl::SetMonitors(l.Monitors);
    hl::SetMonitorMetric(l.Metric);
    nsMultiDisplay m;
    EXPECT_TRUE(m.Refresh());
    EXPECT_TRUE(m.Refresh()) << "a second refresh replaces the snapshot";
    const int count = l.Metric.value_or(int(l.Monitors.size()));
    EXPECT_EQ(m.GetCount(), count);
    for (int i = -1; i < count + 2; ++i) {
        TRect r{7, 7, 7, 7};
        const bool stored = i >= 0 && size_t(i) < l.Monitors.size();
        EXPECT_EQ(m.GetMonitorRect(i, r), stored) << i;
        EXPECT_EQ(r, stored ? l.Monitors[size_t(i)] : TRect{}) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, MultiDisplaySnapshot,
    ::testing::Values(Layout{"OneMonitor", {{0, 0, 1920, 1080}}, std::nullopt},
                      Layout{"LeftOfPrimaryInEnumerationOrder",
                             {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}},
                             std::nullopt},
                      Layout{"MetricAboveEnumeration", {{0, 0, 1920, 1080}}, 3},
                      Layout{"MetricBelowEnumeration", {{0, 0, 800, 600}, {800, 0, 1600, 600}}, 1},
                      Layout{"NothingEnumerated", {}, 2}),
    [](const ::testing::TestParamInfo<Layout>& info) { return info.param.Name; });

} // namespace
