#include "app/CrashHandler.h"

#include <QByteArray>
#include <QMessageBox>

#include <dbghelp.h>
#include <windows.h>

namespace
{

wchar_t s_dumpName[256];

LONG WINAPI unhandledExceptionFilter(EXCEPTION_POINTERS *exception)
{
    const HANDLE file = CreateFileW(s_dumpName, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return EXCEPTION_CONTINUE_SEARCH;

    MINIDUMP_EXCEPTION_INFORMATION info;
    info.ThreadId = GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    const BOOL written = MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file,
                                           MiniDumpNormal, &info, nullptr, nullptr);
    CloseHandle(file);
    if (!written)
        return EXCEPTION_CONTINUE_SEARCH;

    const QString code =
        QString::number(static_cast<quint32>(exception->ExceptionRecord->ExceptionCode), 16);
    const QString address = QString::number(
        reinterpret_cast<quintptr>(exception->ExceptionRecord->ExceptionAddress), 16);
    QMessageBox box(QMessageBox::Critical, CrashHandler::messageTitle(),
                    CrashHandler::messageText(code, address), QMessageBox::Ok);
    box.setTextFormat(Qt::RichText);
    box.exec();
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

bool CrashHandler::install(const Options &options)
{
    (void)options; // the box is shown by the crashing process itself
    const QString name = dumpFileName(QDateTime::currentDateTime());
    if (name.size() >= static_cast<int>(sizeof s_dumpName / sizeof s_dumpName[0]))
        return false;
    name.toWCharArray(s_dumpName);
    s_dumpName[name.size()] = L'\0';
    SetUnhandledExceptionFilter(unhandledExceptionFilter);
    return true;
}
