// Commands go to the first target of the route that handles them; nobody handling means grey.

#include "framework/commandrouter.h"
#include "framework/messages.h"

#include <QCoreApplication>

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

class Target : public CommandTarget
{
public:
    using CommandTarget::addCommand;
};

class RouterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        router.setRoute([this] { return QList<CommandTarget *>{&view, nullptr, &doc, &app}; });
    }
    void TearDown() override { router.setRoute({}); }

    CommandRouter &router = CommandRouter::instance();
    Target view, doc, app;
};

TEST_F(RouterTest, FirstHandlerOnTheRouteRunsAndUnhandledOrDisabledCommandsAreGrey)
{
    QStringList ran;
    view.addCommand(1, [&] { ran << "view"; });
    doc.addCommand(1, [&] { ran << "doc"; });
    doc.addCommand(2, [&] { ran << "doc"; });
    app.addCommand(2, [&] { ran << "app"; });
    doc.addCommand(
        5, [&] { ran << "disabled"; }, [](CommandState &ui) { ui.setEnabled(false); });
    app.addCommand(
        6, [] {}, [](CommandState &ui) { ui.setChecked(); });

    EXPECT_TRUE(router.execute(1));
    EXPECT_TRUE(router.execute(2));
    EXPECT_FALSE(router.state(4).enabled);
    EXPECT_FALSE(router.execute(4));
    EXPECT_FALSE(router.state(5).enabled);
    EXPECT_FALSE(router.execute(5));
    EXPECT_EQ(ran, QStringList({"view", "doc"}));
    EXPECT_TRUE(router.state(6).enabled);
    EXPECT_TRUE(router.state(6).checked);
}

TEST_F(RouterTest, AFailingHandlerIsReportedInsteadOfEndingTheProgram)
{
    MessageCapture capture;
    view.addCommand(7, [] { throw std::runtime_error("Invalid row index"); });
    EXPECT_TRUE(router.execute(7));
    EXPECT_EQ(capture.messages(), QStringList({"Invalid row index"}));
}

// Requests come in bursts while the user works; they make one refresh, and never none.
TEST_F(RouterTest, ManyUpdateRequestsMakeOneRefresh)
{
    int refreshes = 0;
    const auto connection =
        QObject::connect(&router, &CommandRouter::updateRequested, [&] { ++refreshes; });
    CommandRouter::requestUpdate();
    CommandRouter::requestUpdate();
    QCoreApplication::processEvents();
    QObject::disconnect(connection);
    EXPECT_EQ(refreshes, 1);
}

} // namespace
