#include "measure/resampler.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <utility>

Resampler::Resampler(double inRate, double outRate) : m_inRate(inRate), m_outRate(outRate)
{
    if (inRate <= 0 || outRate <= 0 || inRate == outRate)
        return;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inRate, outRate, 1, &error, &io, &quality, nullptr);
    if (error)
        m_soxr = nullptr;
}

Resampler::~Resampler()
{
    if (m_soxr)
        soxr_delete(m_soxr);
}

Resampler::Resampler(Resampler &&other) noexcept
    : m_inRate(other.m_inRate), m_outRate(other.m_outRate),
      m_soxr(std::exchange(other.m_soxr, nullptr))
{}

Resampler &Resampler::operator=(Resampler &&other) noexcept
{
    std::swap(m_inRate, other.m_inRate);
    std::swap(m_outRate, other.m_outRate);
    std::swap(m_soxr, other.m_soxr);
    return *this;
}

std::vector<float> Resampler::process(std::span<const float> input)
{
    if (input.empty() || m_inRate <= 0 || m_outRate <= 0)
        return {};
    if (m_inRate == m_outRate)
        return {input.begin(), input.end()};
    const auto length = std::size_t(std::llround(double(input.size()) * m_outRate / m_inRate));
    std::vector<float> output(length, 0.0f);
    if (length == 0 || !m_soxr)
        return output;
    // The whole signal, then the end of input, which drains what the filter still holds.
    std::size_t done = 0;
    bool failed = soxr_clear(m_soxr) != nullptr;
    if (!failed) {
        std::size_t used = 0;
        std::size_t made = 0;
        failed = soxr_process(m_soxr, input.data(), input.size(), &used, output.data(), length,
                              &made) != nullptr;
        done = made;
    }
    while (!failed && done < length) {
        std::size_t made = 0;
        failed = soxr_process(m_soxr, nullptr, 0, nullptr, output.data() + done, length - done,
                              &made) != nullptr;
        if (made == 0)
            break;
        done += made;
    }
    if (failed)
        std::fill(output.begin(), output.end(), 0.0f);
    return output;
}
