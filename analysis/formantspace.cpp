#include "analysis/formantspace.h"

std::vector<std::span<const double>> FormantSpace::columns() const
{
    return {values.begin(), values.end()};
}

FormantSpace makeFormantSpace(const TokenColumns &tokens, const std::vector<Formant> &formants,
                              FrequencyScale scale, std::optional<NormalizationMethod> method)
{
    FormantSpace space;
    space.formants = formants;
    for (Formant f : formants) {
        if (!tokens.hasFormant(f)) {
            space.error = QStringLiteral("the tokens have no %1").arg(formantName(f));
            return space;
        }
    }
    if (method) {
        NormalizationResult result = normalize(tokens, *method, formants);
        if (!result.valid()) {
            space.error = result.messages.join(QLatin1Char(' '));
            return space;
        }
        space.messages = result.messages;
        for (Formant f : formants)
            space.values.push_back(std::move(result.values[std::size_t(f)]));
        return space;
    }
    for (Formant f : formants) {
        const std::span<const double> hz = tokens.values(f);
        std::vector<double> &scaled = space.values.emplace_back(hz.size());
        for (std::size_t i = 0; i < hz.size(); ++i)
            scaled[i] = hzToScale(scale, hz[i]);
    }
    return space;
}
