#include "update/InstallerLaunch.h"

#include <QDir>

#include <windows.h>

#include <shellapi.h>

bool startInstaller(const QString &path, bool elevated, QString *error)
{
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const wchar_t *verb = elevated ? L"runas" : L"open";
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, verb, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (code <= 32) {
        *error = QStringLiteral("ShellExecute failed with %1 for %2").arg(code).arg(path);
        return false;
    }
    return true;
}
