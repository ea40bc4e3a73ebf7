#include "app/helpwindow.h"

#include "framework/commandids.h"

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
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_MRU_FILE1:
    case ID_FILE_MRU_FILE2:
    case ID_FILE_MRU_FILE3:
    case ID_FILE_MRU_FILE4:
        return QStringLiteral("opening");
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_SAVE_BITMAP:
    case ID_APP_EXIT:
        return QStringLiteral("export");
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_SETUP:
        return QStringLiteral("printing");
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_ADD_ROW:
    case ID_EDIT_REMOVE_ROW:
    case ID_EDIT_SORT:
    case ID_EDIT_ASSIGN_ORDER:
        return QStringLiteral("table");
    case ID_FILE_VIEW_MODIFY:
        return QStringLiteral("menus");
    case ID_PLOT_F1F2:
    case ID_PLOT_F1F2PRIME:
    case ID_PLOT_F1F3:
        return QStringLiteral("charts");
    case ID_OPTIONS_CALC_DISPLAY:
        return QStringLiteral("options");
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_WINDOW_NEW:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE:
    case ID_HELP_FINDER:
    case ID_HELP:
    case ID_CONTEXT_HELP:
    case ID_APP_ABOUT:
        return QStringLiteral("windows");
    default:
        return {};
    }
}

QString HelpWindow::topicForView(const QString &className)
{
    if (className == QStringLiteral("CTessavoxFormView"))
        return QStringLiteral("table");
    if (className.startsWith(QStringLiteral("CPlotView")))
        return QStringLiteral("charts");
    return {};
}
