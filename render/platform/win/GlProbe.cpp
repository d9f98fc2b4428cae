#include "render/GlHeaders.h"

#include "render/GlVersionCheck.h"

#include <windows.h>

namespace Orvane3Ds
{

// Reads the driver strings through a hidden window with a GDI pixel format and a WGL context.
QStringList probeGlStrings()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"Fake Window Class";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"Fake Window Class", L"To Get OpenGL Pixcel Format",
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window)
        return {};
    HDC dc = GetDC(window);
    QStringList strings;
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0) {
        if (DescribePixelFormat(dc, 1, sizeof(pfd), &pfd) == 0)
            format = -1;
        else
            format = 1;
    }
    if (format > 0 && SetPixelFormat(dc, format, &pfd)) {
        HGLRC rc = wglCreateContext(dc);
        if (rc && wglMakeCurrent(dc, rc)) {
            for (GLenum name : {GLenum(GL_VERSION), GLenum(GL_VENDOR), GLenum(GL_RENDERER),
                                GLenum(GL_SHADING_LANGUAGE_VERSION), GLenum(GL_EXTENSIONS)}) {
                const auto *text = reinterpret_cast<const char *>(glGetString(name));
                strings << QString::fromLatin1(text ? text : "");
            }
            wglMakeCurrent(nullptr, nullptr);
        }
        if (rc)
            wglDeleteContext(rc);
    }
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return strings;
}

} // namespace Orvane3Ds
