#include "document/tabularroles.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 7> kVowelNames{"vowel", "label",   "symbol", "phoneme",
                                                      "phone", "segment", "ipa"};
constexpr std::array<std::string_view, 5> kSpeakerNames{"speaker", "talker", "subject",
                                                        "participant", "spk"};
constexpr std::array<std::string_view, 4> kSpeakerSuffixes{"", "id", "name", "code"};

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool isSeparator(char c)
{
    return c == ' ' || c == '_' || c == '.' || c == '-' || c == '\t';
}

// The name without a bracketed unit, in lower case.
std::string withoutUnit(std::string_view name)
{
    std::string out;
    int depth = 0;
    for (char c : name) {
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0) {
            out += lower(c);
        }
    }
    return out;
}

} // namespace

std::string TabularHeaderKey(std::string_view name)
{
    std::string key;
    for (char c : withoutUnit(name)) {
        if (!isSeparator(c))
            key += c;
    }
    return key;
}

std::optional<int> TabularRoleRank(TabularRole role, std::string_view name)
{
    const std::string key = TabularHeaderKey(name);
    switch (role) {
    case TabularRole::Vowel:
        for (std::size_t i = 0; i < kVowelNames.size(); ++i) {
            if (key == kVowelNames[i])
                return int(i);
        }
        return std::nullopt;
    case TabularRole::Speaker:
        for (std::size_t i = 0; i < kSpeakerNames.size(); ++i) {
            for (std::size_t j = 0; j < kSpeakerSuffixes.size(); ++j) {
                if (key == std::string(kSpeakerNames[i]) + std::string(kSpeakerSuffixes[j]))
                    return int(i * kSpeakerSuffixes.size() + j);
            }
        }
        return std::nullopt;
    default:
        break;
    }
    const std::string formant = "f" + std::to_string(int(role) - int(TabularRole::F0));
    if (key == formant)
        return 0;
    if (key == formant + "hz")
        return 1;
    return std::nullopt;
}

std::optional<TabularPointColumn> ParseTabularPoint(std::string_view name)
{
    const std::string text = withoutUnit(name);
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    if (i + 1 >= text.size() || text[i] != 'f' || text[i + 1] < '0' || text[i + 1] > '5')
        return std::nullopt;
    TabularPointColumn point;
    point.formant = text[i + 1] - '0';
    i += 2;
    // A point needs a mark between it and the formant: "F12" is no point of F1.
    const std::size_t marks = i;
    while (i < text.size() && (isSeparator(text[i]) || text[i] == '@'))
        ++i;
    if (i == marks)
        return std::nullopt;
    const std::string_view rest = std::string_view(text).substr(i);
    std::size_t end = 0;
    if (rest.starts_with("middle")) {
        end = 6;
    } else if (rest.starts_with("mid")) {
        end = 3;
    } else {
        int percent = 0;
        while (end < rest.size() && end < 3 && rest[end] >= '0' && rest[end] <= '9')
            percent = percent * 10 + (rest[end++] - '0');
        if (end == 0 || percent > 100)
            return std::nullopt;
        point.percent = percent;
        while (end < rest.size() && rest[end] == ' ')
            ++end;
        if (end < rest.size() && rest[end] == '%')
            ++end;
    }
    i += end;
    skipBlanks();
    if (i != text.size())
        return std::nullopt;
    return point;
}

const char *TabularRoleName(TabularRole role)
{
    static constexpr std::array<const char *, kTabularRoleCount> names{
        "vowel", "speaker", "F0", "F1", "F2", "F3", "F4", "F5"};
    return names[std::size_t(role)];
}
