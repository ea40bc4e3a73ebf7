// Scales: each formula at worked points, the branches of the piecewise ones, and values
// outside a scale's domain coming back as missing rather than as a number.

#include "analysis/frequencyscale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FrequencyScale, EachFormulaAtWorkedValuesMissingOutsideItsDomainAndByName)
{
    using enum FrequencyScale;
    EXPECT_EQ(hzToScale(Bark, 0.0), 0.0);
    EXPECT_NEAR(hzToScale(Bark, 1000.0), 8.510531510721993, 1e-13);
    EXPECT_NEAR(hzToScale(BarkTraunmuller, 1000.0), 8.527432432432432, 1e-13);
    // Below 2 Bark and above 20.1 Bark the raw value is pulled out by 15% and 22%.
    EXPECT_NEAR(hzToScale(BarkTraunmuller, 100.0), 0.9557378640776699, 1e-13);
    EXPECT_NEAR(hzToScale(BarkTraunmuller, 12000.0), 23.04733123209169, 1e-12);
    EXPECT_NEAR(hzToScale(BarkSchroeder, 650.0), 6.169615109136801, 1e-13);
    EXPECT_NEAR(hzToScale(Erb, 1000.0), 15.621449713970488, 1e-12);
    EXPECT_NEAR(hzToScale(Mel, 700.0), 781.1728387480312, 1e-10);
    EXPECT_EQ(hzToScale(Hz, 1234.5), 1234.5);

    for (auto [scale, hz] :
         {std::pair{Erb, -1000.0}, {Mel, -700.0}, {BarkTraunmuller, -1960.0}, {Bark, std::nan("")}})
        EXPECT_TRUE(std::isnan(hzToScale(scale, hz))) << hz;

    for (const FrequencyScaleInfo &info : frequencyScales())
        EXPECT_EQ(parseFrequencyScale(QString::fromLatin1(info.name)), info.scale);
    EXPECT_EQ(parseFrequencyScale(QStringLiteral("ERB")), Erb);
    EXPECT_FALSE(parseFrequencyScale(QStringLiteral("barks")));
}

TEST(FrequencyScale, ChartBarkIsExactForWholeHertz)
{
    // The charts convert integers in this order; any other order moves the last bits.
    for (int hz : {250, 1499, 3500}) {
        const double k = hz * 0.001;
        const double q = k * 0.13333333333333333;
        EXPECT_EQ(HzToBarkZwicker(hz), 13.0 * std::atan(0.76 * k) + 3.5 * std::atan(q * q));
    }
}

} // namespace
