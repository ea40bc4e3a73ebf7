#pragma once

#include <QLatin1String>
#include <QString>

#include <optional>
#include <span>

// Lookups in the tables of named choices (scales, normalisations, ellipse kinds): each
// entry holds its value in the member `value` points to and its command-line name in
// `name`.

// The entry for `value`; the table's first when no entry has it.
template <typename Info, typename Value>
const Info &NamedChoiceInfo(std::span<const Info> table, Value Info::*member, Value value)
{
    for (const Info &info : table) {
        if (info.*member == value)
            return info;
    }
    return table.front();
}

// The value named `name`, in any case; none when no entry has that name.
template <typename Info, typename Value>
std::optional<Value> ParseNamedChoice(std::span<const Info> table, Value Info::*member,
                                      const QString &name)
{
    for (const Info &info : table) {
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.*member;
    }
    return std::nullopt;
}
