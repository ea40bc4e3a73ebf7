// Commands go to the first target of the route that handles them; nobody handling means grey.

#include "commandrouter.h"
#include "fakes.h"
#include "messages.h"

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
        CommandRouter::instance().setRoute([this] {
            return QList<CommandTarget *>{&view, nullptr, &document, &application};
        });
    }
    void TearDown() override { CommandRouter::instance().setRoute({}); }

    Target view;
    Target document;
    Target application;
};

TEST_F(RouterTest, FirstTargetOnTheRouteRunsTheCommand)
{
    QStringList ran;
    view.addCommand(1, [&] { ran << "view"; });
    document.addCommand(1, [&] { ran << "document"; });
    document.addCommand(2, [&] { ran << "document"; });
    application.addCommand(2, [&] { ran << "application"; });

    EXPECT_TRUE(CommandRouter::instance().execute(1));
    EXPECT_TRUE(CommandRouter::instance().execute(2));
    EXPECT_EQ(ran, QStringList({"view", "document"}));
}

TEST_F(RouterTest, UnhandledAndDisabledCommandsAreGreyedAndDoNotRun)
{
    bool ran = false;
    document.addCommand(
        5, [&] { ran = true; }, [](CmdUI &ui) { ui.Enable(false); });
    application.addCommand(
        6, [] {}, [](CmdUI &ui) { ui.SetCheck(); });

    EXPECT_FALSE(CommandRouter::instance().state(4).enabled);
    EXPECT_FALSE(CommandRouter::instance().execute(4));
    EXPECT_FALSE(CommandRouter::instance().state(5).enabled);
    EXPECT_FALSE(CommandRouter::instance().execute(5));
    EXPECT_FALSE(ran);
    const CmdUI checked = CommandRouter::instance().state(6);
    EXPECT_TRUE(checked.enabled);
    EXPECT_TRUE(checked.checked);
}

TEST_F(RouterTest, AFailingHandlerIsReportedInsteadOfEndingTheProgram)
{
    MessageCapture capture;
    view.addCommand(7, [] { throw std::runtime_error("Invalid row index"); });
    EXPECT_TRUE(CommandRouter::instance().execute(7));
    EXPECT_EQ(capture.messages(), QStringList({"Invalid row index"}));
}

TEST_F(RouterTest, ManyUpdateRequestsMakeOneRefresh)
{
    int refreshes = 0;
    const auto connection = QObject::connect(&CommandRouter::instance(),
                                             &CommandRouter::updateRequested, [&] { ++refreshes; });
    CommandRouter::requestUpdate();
    CommandRouter::requestUpdate();
    QCoreApplication::processEvents();
    QObject::disconnect(connection);
    EXPECT_EQ(refreshes, 1);
}

} // namespace
