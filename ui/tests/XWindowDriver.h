#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Drives the top-level windows of another process from outside, as a window manager or a user
// at the keyboard would: finds them on the X display, asks them to close (WM_DELETE_WINDOW) and
// types keys into them. Only for tests run under a virtual X server; without an X display
// isOpen() is false.
class XWindowDriver
{
  public:
    using WindowId = unsigned long;

    XWindowDriver();
    ~XWindowDriver();
    XWindowDriver(const XWindowDriver &) = delete;
    XWindowDriver &operator=(const XWindowDriver &) = delete;

    bool isOpen() const { return m_display != nullptr; }

    struct Window {
        WindowId id = 0;
        // The window it is a dialog of (WM_TRANSIENT_FOR), 0 for a main window.
        WindowId transientFor = 0;
        int width = 0;
        int height = 0;
        QString title;
    };

    // The mapped top-level windows of process pid (by _NET_WM_PID).
    std::vector<Window> windowsOf(std::int64_t pid);

    // Sends the close request a window manager sends when the user closes a window.
    bool requestClose(WindowId window);
    // Gives `window` the keyboard focus and sends a key press and release of the X key symbol
    // `keysym` (with Shift when `shift`).
    bool sendKey(WindowId window, unsigned long keysym, bool shift = false);
    // Types lower-case letters, digits, '.', '-' and '/'.
    bool typeText(WindowId window, const QString &text);

    // Gives `window` the keyboard focus and waits until it keeps it (up to 3 s).
    void giveFocus(WindowId window);

  private:
    bool pressKey(WindowId window, unsigned long keysym, bool shift);

    struct _XDisplay *m_display = nullptr;
};
