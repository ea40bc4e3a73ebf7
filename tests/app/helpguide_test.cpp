// The user guide: every menu command is explained in it, every topic a command or window
// opens exists, and its pictures are in the program.

#include "commandids.h"
#include "helpwindow.h"
#include "tessavoxresources.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString guideSource()
{
    HelpWindow window; // registers the guide's resources
    QFile file(QStringLiteral(":/help/tessavox.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QSet<QString> anchors(const QString &html)
{
    QSet<QString> names;
    static const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &m : name.globalMatch(html))
        names.insert(m.captured(1));
    return names;
}

// "&About Tessavox..." as the guide writes it: "About Tessavox...".
QString plainCaption(const char *caption)
{
    return QString::fromUtf8(caption).remove(QLatin1Char('&')).trimmed();
}

TEST(HelpGuide, ExplainsEveryMenuCommandUnderATopicThatExists)
{
    const QString html = guideSource();
    ASSERT_FALSE(html.isEmpty());
    const QSet<QString> names = anchors(html);

    for (const auto &menu :
         {TessavoxResources::mainFrameMenu(), TessavoxResources::documentMenu()}) {
        for (const MenuItem &item : menu) {
            if (!item.caption || item.id == ID_FILE_MRU_FILE1)
                continue;
            const QString caption = plainCaption(item.caption);
            EXPECT_TRUE(html.contains(QStringLiteral("<td>%1</td>").arg(caption.toHtmlEscaped())))
                << "the command table lacks " << caption.toStdString();
            const QString topic = HelpWindow::topicForCommand(item.id);
            EXPECT_TRUE(names.contains(topic))
                << caption.toStdString() << " opens topic \"" << topic.toStdString() << '"';
        }
    }
    for (const char *view : {"CTessavoxFormView", "CPlotViewF1F2", "CPlotViewF1F3"})
        EXPECT_TRUE(names.contains(HelpWindow::topicForView(QString::fromLatin1(view)))) << view;
}

TEST(HelpGuide, LinksAndPicturesResolve)
{
    const QString html = guideSource();
    const QSet<QString> names = anchors(html);
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch &m : link.globalMatch(html))
        EXPECT_TRUE(names.contains(m.captured(1))) << m.captured(1).toStdString();

    static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const QRegularExpressionMatch &m : image.globalMatch(html)) {
        ++pictures;
        EXPECT_FALSE(QImage(QStringLiteral(":/help/") + m.captured(1)).isNull())
            << m.captured(1).toStdString();
    }
    EXPECT_GT(pictures, 0);
}

TEST(HelpGuide, OpensAtTheRequestedTopic)
{
    HelpWindow window;
    window.showTopic(QStringLiteral("batch"));
    EXPECT_EQ(window.currentTopic(), QStringLiteral("batch"));
    window.showTopic(QString());
    EXPECT_TRUE(window.currentTopic().isEmpty());
}

} // namespace
