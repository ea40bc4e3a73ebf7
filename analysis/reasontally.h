#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Why figures could not be computed, told once per reason with a count and a few of the
// things it applies to: a file of many speakers would otherwise repeat one reason for
// every speaker's every vowel. Reasons keep the order in which they first came.
class ReasonTally
{
public:
    // `things` names what the subjects are, in the plural ("vowels", "vowel pairs").
    explicit ReasonTally(QString things) : m_things(std::move(things)) {}

    void add(const QString &reason, const QString &subject);
    bool isEmpty() const { return m_reasons.empty(); }
    // How many subjects were given `reason`.
    int count(const QString &reason) const;

    // A line per reason: "SUBJECT: REASON" for a single subject, else
    // "REASON: N THINGS, as A; B; C and N - 3 more".
    QStringList lines(int examples = 3) const;

private:
    QString m_things;
    std::vector<std::pair<QString, QStringList>> m_reasons;
};
