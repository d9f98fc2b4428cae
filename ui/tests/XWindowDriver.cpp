#include "XWindowDriver.h"

#include <QElapsedTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>

namespace
{

// One 32-bit property value of `window`; false when it is not set.
bool cardinalProperty(Display *display, ::Window window, Atom property, Atom type,
                      unsigned long *value)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType,
                                          &format, &count, &after, &data);
    const bool found = status == Success && data && format == 32 && count == 1;
    if (found)
        *value = *reinterpret_cast<unsigned long *>(data);
    if (data)
        XFree(data);
    return found;
}

QString windowTitle(Display *display, ::Window window)
{
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &actualType, &format,
                           &count, &after, &data) == Success &&
        data) {
        title = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
    }
    if (data)
        XFree(data);
    return title;
}

} // namespace

XWindowDriver::XWindowDriver() : m_display(XOpenDisplay(nullptr)) {}

XWindowDriver::~XWindowDriver()
{
    if (m_display)
        XCloseDisplay(m_display);
}

std::vector<XWindowDriver::Window> XWindowDriver::windowsOf(std::int64_t pid)
{
    std::vector<Window> found;
    if (!m_display)
        return found;
    const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    ::Window root = 0;
    ::Window parent = 0;
    ::Window *children = nullptr;
    unsigned int count = 0;
    // No window manager runs: the program's top-level windows are children of the root.
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        unsigned long owner = 0;
        if (!cardinalProperty(m_display, children[i], pidAtom, XA_CARDINAL, &owner) ||
            std::int64_t(owner) != pid)
            continue;
        Window window;
        window.id = children[i];
        window.width = attributes.width;
        window.height = attributes.height;
        ::Window transient = 0;
        if (XGetTransientForHint(m_display, children[i], &transient))
            window.transientFor = transient;
        window.title = windowTitle(m_display, children[i]);
        found.push_back(window);
    }
    if (children)
        XFree(children);
    return found;
}

bool XWindowDriver::requestClose(WindowId window)
{
    if (!m_display)
        return false;
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(m_display, window, False, NoEventMask, &event) != 0;
    XFlush(m_display);
    return sent;
}

void XWindowDriver::giveFocus(WindowId window)
{
    // Qt hands key events to the window it believes has the keyboard focus. A window manager
    // gives the focus to a window before the user types into it; do the same, and wait until
    // it stays there: the program itself moves the focus while its windows come and go (a
    // closed dialog hands it back to its parent, which passes it on to its modal dialog).
    QElapsedTimer total;
    total.start();
    QElapsedTimer stable;
    stable.start();
    while (total.elapsed() < 3000) {
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_display, &focus, &revert);
        if (focus != window) {
            XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
            XSync(m_display, False);
            stable.restart();
        } else if (stable.elapsed() >= 300) {
            return;
        }
        QThread::msleep(20);
    }
}

bool XWindowDriver::sendKey(WindowId window, unsigned long keysym, bool shift)
{
    if (!m_display)
        return false;
    giveFocus(window);
    return pressKey(window, keysym, shift);
}

bool XWindowDriver::pressKey(WindowId window, unsigned long keysym, bool shift)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (code == 0)
        return false;
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xkey.display = m_display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(m_display);
    event.xkey.subwindow = None;
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = code;
    event.xkey.state = shift ? ShiftMask : 0;
    event.xkey.type = KeyPress;
    bool sent = XSendEvent(m_display, window, True, KeyPressMask, &event) != 0;
    event.xkey.type = KeyRelease;
    sent = XSendEvent(m_display, window, True, KeyReleaseMask, &event) != 0 && sent;
    XFlush(m_display);
    return sent;
}

bool XWindowDriver::typeText(WindowId window, const QString &text)
{
    if (!m_display)
        return false;
    giveFocus(window);
    for (const QChar c : text) {
        unsigned long keysym = 0;
        if (c == QLatin1Char('.'))
            keysym = XK_period;
        else if (c == QLatin1Char('-'))
            keysym = XK_minus;
        else if (c == QLatin1Char('/'))
            keysym = XK_slash;
        else if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                 (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            keysym = c.unicode();
        else
            return false;
        if (!pressKey(window, keysym, false))
            return false;
    }
    return true;
}
