// The shell's open requests: only --shell-open paths count, and they reach the running
// instance over its channel.

#include "apptest.h"
#include "shellopenchannel.h"

namespace {

TEST(ShellOpenArguments, PlainFileArgumentsOpenNothing)
{
    bool requested = true;
    EXPECT_TRUE(ShellOpenChannel::shellOpenPaths({"tessavox", "vowels.txt"}, &requested).isEmpty());
    EXPECT_FALSE(requested);

    const QStringList paths = ShellOpenChannel::shellOpenPaths(
        {"tessavox", "--shell-open", "vowels.txt", "/data/b.txt"}, &requested);
    EXPECT_TRUE(requested);
    EXPECT_EQ(paths, QStringList({QDir::current().absoluteFilePath("vowels.txt"), "/data/b.txt"}));
}

TEST_F(AppTest, ShellOpenRequestReachesTheRunningInstance)
{
    const QString a = formantFile(QStringLiteral("a.txt"));
    const QString b = formantFile(QStringLiteral("b.txt"));
    ASSERT_TRUE(ShellOpenChannel::send(app->shellChannel()->serverName(), {a, b}));
    ASSERT_TRUE(waitUntil([this] { return app->documents().size() == 2; }));
    EXPECT_EQ(app->documents().at(1)->title(), QStringLiteral("b.txt"));

    // A second instance on the same name finds the channel taken.
    ShellOpenChannel second;
    EXPECT_FALSE(second.listen(app->shellChannel()->serverName()));
    EXPECT_FALSE(ShellOpenChannel::send(QStringLiteral("tessavox-test-nobody-listens"), {a}, 200));
}

} // namespace
