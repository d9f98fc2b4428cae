#include "app/CliPlatform.h"

#include "geometry/IProgressable.h"

#include <QFileInfo>

#include <atomic>
#include <io.h>
#include <stdio.h>
#include <windows.h>

namespace
{

std::atomic<IProgressable *> g_interruptTarget{nullptr};
std::atomic<bool> g_interrupted{false};

BOOL WINAPI onConsoleControl(DWORD type)
{
    if (type != CTRL_C_EVENT || g_interrupted.exchange(true))
        return FALSE; // the second Ctrl+C ends the process as usual
    if (IProgressable *target = g_interruptTarget.load())
        target->setCancel(true);
    return TRUE;
}

} // namespace

bool x11DisplayUsable()
{
    return true;
}

void installInterruptHandler(IProgressable *progress)
{
    g_interruptTarget = progress;
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void restoreInterrupt()
{
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    g_interruptTarget = nullptr;
}

bool interrupted()
{
    return g_interrupted;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

bool stderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

void installLosslessFileNames() {}
