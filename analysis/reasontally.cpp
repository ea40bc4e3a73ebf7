#include "analysis/reasontally.h"

#include <algorithm>

void ReasonTally::add(const QString &reason, const QString &subject)
{
    const auto found =
        std::ranges::find(m_reasons, reason, &std::pair<QString, QStringList>::first);
    if (found != m_reasons.end())
        found->second << subject;
    else
        m_reasons.emplace_back(reason, QStringList{subject});
}

int ReasonTally::count(const QString &reason) const
{
    const auto found =
        std::ranges::find(m_reasons, reason, &std::pair<QString, QStringList>::first);
    return found == m_reasons.end() ? 0 : int(found->second.size());
}

QStringList ReasonTally::lines(int examples) const
{
    QStringList out;
    for (const auto &[reason, subjects] : m_reasons) {
        if (subjects.size() == 1) {
            out << QStringLiteral("%1: %2").arg(subjects.front(), reason);
            continue;
        }
        QString line = QStringLiteral("%1: %L2 %3, as %4")
                           .arg(reason)
                           .arg(subjects.size())
                           .arg(m_things, subjects.mid(0, examples).join(QStringLiteral("; ")));
        if (subjects.size() > examples)
            line += QStringLiteral(" and %L1 more").arg(subjects.size() - examples);
        out << line;
    }
    return out;
}
