// Scales: each formula at worked points, the branches of the piecewise ones, and values
// outside a scale's domain coming back as missing rather than as a number.

#include "analysis/frequencyscale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FrequencyScale, WorkedValuesOfEachFormula)
{
    EXPECT_EQ(hzToScale(FrequencyScale::Bark, 0.0), 0.0);
    EXPECT_NEAR(hzToScale(FrequencyScale::Bark, 1000.0), 8.510531510721993, 1e-13);
    EXPECT_NEAR(hzToScale(FrequencyScale::BarkTraunmuller, 1000.0), 8.527432432432432, 1e-13);
    EXPECT_NEAR(hzToScale(FrequencyScale::BarkSchroeder, 650.0), 6.169615109136801, 1e-13);
    EXPECT_NEAR(hzToScale(FrequencyScale::Erb, 1000.0), 15.621449713970488, 1e-12);
    EXPECT_NEAR(hzToScale(FrequencyScale::Mel, 700.0), 781.1728387480312, 1e-10);
    EXPECT_EQ(hzToScale(FrequencyScale::Hz, 1234.5), 1234.5);
}

TEST(FrequencyScale, TraunmullerCorrectsBothEnds)
{
    // Below 2 Bark and above 20.1 Bark the raw value is pulled out by 15% and 22%.
    EXPECT_NEAR(hzToScale(FrequencyScale::BarkTraunmuller, 100.0), 0.9557378640776699, 1e-13);
    EXPECT_NEAR(hzToScale(FrequencyScale::BarkTraunmuller, 12000.0), 23.04733123209169, 1e-12);
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

TEST(FrequencyScale, OutsideTheDomainIsMissing)
{
    EXPECT_TRUE(std::isnan(hzToScale(FrequencyScale::Erb, -1000.0)));
    EXPECT_TRUE(std::isnan(hzToScale(FrequencyScale::Mel, -700.0)));
    EXPECT_TRUE(std::isnan(hzToScale(FrequencyScale::BarkTraunmuller, -1960.0)));
    EXPECT_TRUE(std::isnan(hzToScale(FrequencyScale::Bark, std::nan(""))));
}

TEST(FrequencyScale, NamesParseBack)
{
    for (const FrequencyScaleInfo &info : frequencyScales())
        EXPECT_EQ(parseFrequencyScale(QString::fromLatin1(info.name)), info.scale);
    EXPECT_EQ(parseFrequencyScale(QStringLiteral("ERB")), FrequencyScale::Erb);
    EXPECT_FALSE(parseFrequencyScale(QStringLiteral("barks")));
}

} // namespace
