#include "plot/fontpreload.h"
#include "plot/chartfonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <atomic>

#include <fontconfig/fontconfig.h>

namespace {

std::atomic<FontPreload *> g_running{nullptr};

// Fontconfig's own start also reads every configuration template it has, in use or not,
// only to list their descriptions: about a third of its work. The same rules, cache
// folders and fonts, without the descriptions; fontconfig's own start where that fails.
void readFontConfiguration()
{
    FcConfig *config = FcConfigCreate();
    bool ready = config && FcConfigParseAndLoad(config, nullptr, FcTrue);
    if (ready) {
        // Without a cache folder fontconfig's own start picks defaults: leave it to that.
        FcStrList *folders = FcConfigGetCacheDirs(config);
        ready = folders && FcStrListNext(folders);
        if (folders)
            FcStrListDone(folders);
    }
    ready = ready && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    if (config)
        FcConfigDestroy(config); // the current configuration keeps its own reference
    if (!ready)
        FcInit();
}

} // namespace

FontPreload::FontPreload()
{
    std::promise<void> done;
    m_done = done.get_future().share();
    m_thread =
        std::jthread([application = m_application.get_future(), done = std::move(done)]() mutable {
            readFontConfiguration();
            if (application.get()) {
                QFontDatabase::families();
                // What every chart measures first: its captions' font and its groups' labels.
                ChartFonts::displayFont();
                ChartFonts::defaultGuiFont(ChartFonts::kGroupLabelHeight, 700);
            }
            done.set_value();
        });
    g_running = this;
}

FontPreload::~FontPreload()
{
    if (!m_applicationTold)
        m_application.set_value(false);
    m_thread.join();
    g_running = nullptr;
}

void FontPreload::applicationReady()
{
    if (m_applicationTold)
        return;
    m_applicationTold = true;
    m_application.set_value(true);
}

void FontPreload::wait()
{
    if (const FontPreload *running = g_running)
        running->m_done.wait();
}
