#include "measure/resampler.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

std::vector<float> Resample(std::span<const float> input, double inRate, double outRate)
{
    if (input.empty() || inRate <= 0 || outRate <= 0)
        return {};
    if (inRate == outRate)
        return {input.begin(), input.end()};
    const auto outLength = std::size_t(std::llround(double(input.size()) * outRate / inRate));
    std::vector<float> output(outLength);
    if (outLength == 0)
        return output;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t done = 0;
    const soxr_error_t error =
        soxr_oneshot(inRate, outRate, 1, input.data(), input.size(), nullptr, output.data(),
                     outLength, &done, &io, &quality, nullptr);
    // A failure leaves silence rather than a half-converted signal; the analysis then finds
    // no formants and says so.
    if (error)
        std::fill(output.begin(), output.end(), 0.0f);
    return output;
}
