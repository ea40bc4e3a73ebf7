#include "measure/resampler.h"

#include "measure/soxrlibrary.h"

#include <algorithm>
#include <cmath>
#include <utility>

Resampler::Resampler(double inRate, double outRate) : m_inRate(inRate), m_outRate(outRate)
{
    if (converts())
        start(SoxrLibrary::instance());
}

Resampler::Resampler(double inRate, double outRate, const SoxrLibrary &library)
    : m_inRate(inRate), m_outRate(outRate)
{
    if (converts())
        start(library);
}

void Resampler::start(const SoxrLibrary &library)
{
    if (!library.ok()) {
        m_error = library.error();
        return;
    }
    const soxr_io_spec_t io = library.ioSpec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = library.qualitySpec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    soxr *converter = library.create(m_inRate, m_outRate, 1, &error, &io, &quality, nullptr);
    if (error || !converter) {
        if (converter)
            library.destroy(converter);
        m_error = QStringLiteral("cannot resample from %1 Hz to %2 Hz: %3")
                      .arg(m_inRate)
                      .arg(m_outRate)
                      .arg(QString::fromUtf8(error ? error : "no converter"));
        return;
    }
    m_library = &library;
    m_soxr = converter;
}

Resampler::~Resampler()
{
    if (m_soxr)
        m_library->destroy(m_soxr);
}

Resampler::Resampler(Resampler &&other) noexcept
    : m_inRate(other.m_inRate), m_outRate(other.m_outRate),
      m_library(std::exchange(other.m_library, nullptr)),
      m_soxr(std::exchange(other.m_soxr, nullptr)), m_error(std::move(other.m_error))
{}

Resampler &Resampler::operator=(Resampler &&other) noexcept
{
    std::swap(m_inRate, other.m_inRate);
    std::swap(m_outRate, other.m_outRate);
    std::swap(m_library, other.m_library);
    std::swap(m_soxr, other.m_soxr);
    std::swap(m_error, other.m_error);
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
    bool failed = m_library->clear(m_soxr) != nullptr;
    if (!failed) {
        std::size_t used = 0;
        std::size_t made = 0;
        failed = m_library->process(m_soxr, input.data(), input.size(), &used, output.data(),
                                    length, &made) != nullptr;
        done = made;
    }
    while (!failed && done < length) {
        std::size_t made = 0;
        failed = m_library->process(m_soxr, nullptr, 0, nullptr, output.data() + done,
                                    length - done, &made) != nullptr;
        if (made == 0)
            break;
        done += made;
    }
    if (failed)
        std::fill(output.begin(), output.end(), 0.0f);
    return output;
}
