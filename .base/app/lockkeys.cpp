#include "app/lockkeys.h"

#ifdef TESSAVOX_HAVE_X11
#include <QGuiApplication>

// X11 defines macros that clash with Qt names; it comes last.
#include <X11/XKBlib.h>

std::optional<bool> systemLockKeyState(Qt::Key key)
{
    const char *name = nullptr;
    switch (key) {
    case Qt::Key_CapsLock:
        name = "Caps Lock";
        break;
    case Qt::Key_NumLock:
        name = "Num Lock";
        break;
    case Qt::Key_ScrollLock:
        name = "Scroll Lock";
        break;
    default:
        return std::nullopt;
    }
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    Bool on = False;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}

#else

std::optional<bool> systemLockKeyState(Qt::Key)
{
    return std::nullopt;
}

#endif
