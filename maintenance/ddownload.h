#pragma once

#include "maintenance/dtransfer.h"

// Copies one file from the printer to a local path, replacing a local file of that name only
// once the whole file has arrived.
class ddownload : public dtransfer
{
    Q_OBJECT
  public:
    using dtransfer::dtransfer;

    // Blocks (nested event loop) until the copy ended; true when it ended without error.
    bool download(const QString &localPath, const QString &remotePath);

  protected:
    QSsh::SftpJobId startJob(QSsh::SftpChannel *channel) override;
};
