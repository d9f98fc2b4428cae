#include "updater/ProcessControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

namespace ProcessControl
{

QString executableName(const QString &programName)
{
    return QStringLiteral("%1.exe").arg(programName);
}

QList<qint64> findRunning(const QString &programName)
{
    const std::wstring wanted = executableName(programName).toStdWString();
    QList<qint64> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (wanted == entry.szExeFile && entry.th32ProcessID != GetCurrentProcessId())
            found << qint64(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

bool endRunning(const QString &programName, int)
{
    QProcess::execute(QStringLiteral("taskkill"),
                      {QStringLiteral("-im"), executableName(programName), QStringLiteral("-f")});
    return findRunning(programName).isEmpty();
}

int startInstaller(const QString &path)
{
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (code == SE_ERR_ACCESSDENIED)
        code = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"runas", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return int(code);
}

} // namespace ProcessControl
