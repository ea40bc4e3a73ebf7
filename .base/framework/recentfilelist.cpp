#include "framework/recentfilelist.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr int kMaxMenuPath = 60;

QString key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

QString normalised(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

RecentFileList::RecentFileList(int capacity) : m_capacity(qMax(1, capacity)) {}

void RecentFileList::load()
{
    m_paths.clear();
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 0; i < m_capacity; ++i) {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths.append(path);
    }
}

void RecentFileList::save() const
{
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 0; i < m_capacity; ++i) {
        if (i < m_paths.size())
            settings.setValue(key(i), m_paths.at(i));
        else
            settings.remove(key(i));
    }
}

void RecentFileList::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString full = normalised(path);
    for (int i = int(m_paths.size()) - 1; i >= 0; --i) {
        if (normalised(m_paths.at(i)) == full)
            m_paths.removeAt(i);
    }
    m_paths.prepend(full);
    while (m_paths.size() > m_capacity)
        m_paths.removeLast();
}

void RecentFileList::remove(int index)
{
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}

QString RecentFileList::menuText(int index) const
{
    QString path = QDir::toNativeSeparators(at(index));
    if (path.size() > kMaxMenuPath) {
        const int keep = (kMaxMenuPath - 3) / 2;
        path = path.left(keep) + QStringLiteral("...") + path.right(keep);
    }
    // A literal '&' in a path would otherwise become a mnemonic.
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}
