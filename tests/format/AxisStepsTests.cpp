#include "format/AxisSteps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
constexpr uint64_t kGiB = 1073741824;

std::vector<std::string> Texts(uint64_t bytes)
{
    std::vector<std::string> texts;
    for (const AxisLabel& label : PositionAxisLabels(bytes))
        texts.push_back(label.text);
    return texts;
}
}  // namespace

// Labels go up in round steps, as many decimals as the step needs, never past
// the end of the drive, each placed where its value lies on it.
TEST(PositionAxis, StepsAreRoundAndLabelsStandAtTheirValue)
{
    using Texts_ = std::vector<std::string>;
    EXPECT_EQ(Texts(kGiB * 3 / 2), (Texts_{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2", "1.4"}));
    EXPECT_EQ(Texts(kGiB * 11 / 5), (Texts_{"0.00", "0.25", "0.50", "0.75", "1.00", "1.25", "1.50", "1.75", "2.00"}));
    EXPECT_EQ(Texts(931 * kGiB), (Texts_{"0", "100", "200", "300", "400", "500", "600", "700", "800", "900"}));
    EXPECT_EQ(Texts(16 * 1048576).back(), "0.014");  // a 16 MiB stick: steps of 0.002
    EXPECT_TRUE(Texts(0).empty());

    const std::vector<AxisLabel> labels = PositionAxisLabels(kGiB * 3 / 2);
    EXPECT_NEAR(labels[1].fraction, 0.2 / 1.5, 1e-12);
    for (const uint64_t bytes : {uint64_t{1}, kGiB / 3, 7 * kGiB, 4000 * kGiB, uint64_t{1} << 62}) {
        const std::vector<AxisLabel> some = PositionAxisLabels(bytes);
        EXPECT_GE(some.size(), 5u) << bytes;
        EXPECT_LE(some.size(), 11u) << bytes;
        EXPECT_LE(some.back().fraction, 1.0) << bytes;
    }
}
