// The recent-file list: newest first, four entries, kept in the settings, and its menu text.

#include "framework/recentfilelist.h"

#include "fakes.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, NewestFirstAtMostFourKeptInItsOwnSectionAndNumberedInTheMenu)
{
    SettingsSandbox sandbox;
    RecentFileList list(4);
    for (const char *name :
         {"/d/a.txt", "/d/b.txt", "/d/c.txt", "/d/d.txt", "/d/e.txt", "/d/c.txt"})
        list.add(QString::fromLatin1(name));
    EXPECT_EQ(list.paths(), QStringList({"/d/c.txt", "/d/e.txt", "/d/d.txt", "/d/b.txt"}));
    list.save();
    for (int i = 0; i < 3; ++i)
        list.remove(1);
    list.save();
    RecentFileList reloaded(4);
    reloaded.load();
    EXPECT_EQ(reloaded.paths(), QStringList({"/d/c.txt"}));
    EXPECT_EQ(QSettings().value("Recent File List/File1").toString(), "/d/c.txt");
    EXPECT_FALSE(QSettings().contains("Recent File List/File2"));

    // Ampersands stay literal; a long path is shortened in the middle.
    list.add(QStringLiteral("/data/R&D/vowels.txt"));
    EXPECT_EQ(list.menuText(0), QStringLiteral("&1 /data/R&&D/vowels.txt"));
    list.add(QStringLiteral("/") + QString(100, QLatin1Char('x')) + QStringLiteral("/end.txt"));
    const QString shortened = list.menuText(0);
    EXPECT_TRUE(shortened.contains(QStringLiteral("...")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("end.txt")));
    EXPECT_LT(shortened.size(), 70);
}

} // namespace
