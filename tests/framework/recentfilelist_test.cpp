// The recent-file list: newest first, four entries, kept in the settings.

#include "recentfilelist.h"

#include "fakes.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, NewestFirstWithoutDuplicatesAndAtMostFour)
{
    SettingsSandbox sandbox;
    RecentFileList list(4);
    for (const char *name :
         {"/data/a.txt", "/data/b.txt", "/data/c.txt", "/data/d.txt", "/data/e.txt", "/data/c.txt"})
        list.add(QString::fromLatin1(name));
    EXPECT_EQ(list.paths(),
              QStringList({"/data/c.txt", "/data/e.txt", "/data/d.txt", "/data/b.txt"}));
}

TEST(RecentFileList, SurvivesASaveAndLoadUnderItsOwnSection)
{
    SettingsSandbox sandbox;
    RecentFileList list(4);
    list.add(QStringLiteral("/data/a.txt"));
    list.add(QStringLiteral("/data/b.txt"));
    list.save();
    EXPECT_EQ(QSettings().value(QStringLiteral("Recent File List/File1")).toString(),
              QStringLiteral("/data/b.txt"));

    list.remove(0);
    list.save();
    RecentFileList reloaded(4);
    reloaded.load();
    EXPECT_EQ(reloaded.paths(), QStringList({"/data/a.txt"}));
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Recent File List/File2")));
}

TEST(RecentFileList, MenuTextNumbersEntriesAndKeepsAmpersandsLiteral)
{
    SettingsSandbox sandbox;
    RecentFileList list(4);
    list.add(QStringLiteral("/data/R&D/vowels.txt"));
    EXPECT_EQ(list.menuText(0), QStringLiteral("&1 /data/R&&D/vowels.txt"));

    list.add(QStringLiteral("/") + QString(100, QLatin1Char('x')) + QStringLiteral("/end.txt"));
    const QString shortened = list.menuText(0);
    EXPECT_TRUE(shortened.contains(QStringLiteral("...")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("end.txt")));
    EXPECT_LT(shortened.size(), 70);
}

} // namespace
