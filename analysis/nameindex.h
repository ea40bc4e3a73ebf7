#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Gives each distinct name an index in order of first appearance: the groups, speakers and
// colours of a chart or an analysis are numbered as the rows first show them.
class NameIndex
{
public:
    int indexOf(const QString &text)
    {
        const auto it = m_index.constFind(text);
        if (it != m_index.constEnd())
            return *it;
        const int index = int(m_names.size());
        m_index.insert(text, index);
        m_names.append(text);
        return index;
    }
    const QStringList &names() const { return m_names; }

private:
    QHash<QString, int> m_index;
    QStringList m_names;
};
