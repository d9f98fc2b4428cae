#pragma once

#include "maintenance/dtransfer.h"

// Copies one local file to the printer, replacing a file of the same remote name.
class dupload : public dtransfer
{
    Q_OBJECT
  public:
    using dtransfer::dtransfer;

    // Blocks (nested event loop) until the copy ended; true when it ended without error.
    bool upload(const QString &localPath, const QString &remotePath);

  protected:
    QSsh::SftpJobId startJob(QSsh::SftpChannel *channel) override;
};
