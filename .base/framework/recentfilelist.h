#pragma once

#include <QString>
#include <QStringList>

// The most recently opened or saved files, newest first, kept in the program's settings
// (QSettings with the application's organisation and name).
class RecentFileList
{
public:
    explicit RecentFileList(int capacity = 4);

    void load();
    void save() const;

    // Puts `path` first; an entry already there for the same file moves up.
    void add(const QString &path);
    void remove(int index);

    int capacity() const { return m_capacity; }
    int size() const { return int(m_paths.size()); }
    bool isEmpty() const { return m_paths.isEmpty(); }
    QString at(int index) const { return m_paths.value(index); }
    const QStringList &paths() const { return m_paths; }

    // Menu text of entry `index`: "&1 " and the path, shortened in the middle when long.
    QString menuText(int index) const;

    static inline const QString kSection = QStringLiteral("Recent File List");

private:
    int m_capacity;
    QStringList m_paths;
};
