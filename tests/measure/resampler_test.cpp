// The resampler keeps time: a click stays where it was, whatever the rates, and one
// converter serves signal after signal without carrying anything over.

#include "measure/resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

std::size_t peakAt(const std::vector<float> &signal)
{
    return std::size_t(
        std::max_element(signal.begin(), signal.end(),
                         [](float a, float b) { return std::abs(a) < std::abs(b); }) -
        signal.begin());
}

TEST(Resampler, ClickStaysInPlaceAndLengthFollowsTheRates)
{
    for (const auto &[in, out] :
         {std::pair{44100.0, 11000.0}, std::pair{16000.0, 9516.0}, std::pair{8000.0, 14000.0}}) {
        std::vector<float> click(std::size_t(0.3 * in), 0.0f);
        click[std::size_t(0.1 * in)] = 1;
        Resampler resampler(in, out);
        for (int pass = 0; pass < 2; ++pass) {
            const std::vector<float> converted = resampler.process(click);
            EXPECT_EQ(converted.size(), std::size_t(std::llround(0.3 * in * out / in)));
            EXPECT_NEAR(double(peakAt(converted)), 0.1 * out, 1.0) << in << " -> " << out;
        }
    }
    Resampler same(16000, 16000);
    EXPECT_EQ(same.process(std::vector<float>{1, 2, 3}), (std::vector<float>{1, 2, 3}));
    EXPECT_TRUE(same.process({}).empty());
}

} // namespace
