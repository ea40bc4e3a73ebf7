#include "app/helpwindow.h"

#include "app/commandtable.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QString kGuide = QStringLiteral("qrc:/help/tessavox.html");

} // namespace

// The guide is compiled into a static library, whose resources need registering by hand.
static void registerGuide()
{
    Q_INIT_RESOURCE(tessavox);
}

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    registerGuide();
    setWindowTitle(QStringLiteral("Tessavox Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::showTopic(const QString &topic)
{
    QUrl url(kGuide);
    if (!topic.isEmpty())
        url.setFragment(topic);
    m_browser->setSource(url);
    if (topic.isEmpty())
        m_browser->scrollToAnchor(QString());
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentTopic() const
{
    return m_browser->source().fragment();
}

QString HelpWindow::topicForCommand(int id)
{
    const Command *command = CommandTable::find(id);
    return command ? QString::fromLatin1(command->helpTopic) : QString();
}

QString HelpWindow::topicForView(const QString &className)
{
    if (className == QStringLiteral("CTessavoxFormView"))
        return QStringLiteral("table");
    if (className.startsWith(QStringLiteral("CPlotView")))
        return QStringLiteral("charts");
    return {};
}
