#pragma once

#include <QString>

#include <stdexcept>

// Error raised by the file readers and writers. what() carries the English message (UTF-8);
// callers show it together with the file name.
class DIoError : public std::runtime_error
{
  public:
    explicit DIoError(const QString &message) : std::runtime_error(message.toStdString()) {}
    explicit DIoError(const char *message) : std::runtime_error(message) {}

    QString message() const { return QString::fromUtf8(what()); }
};
