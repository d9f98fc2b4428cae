#pragma once

#include <QString>

class QIODevice;

// Targets of the writers that are not regular files.
//
// A work package or project is normally written to a temporary file beside the target and
// renamed over it once complete, so a failed write keeps the previous file. That would replace
// a FIFO or a device node by a regular file (and fails where the folder is not writable, as for
// /dev/stdout); such targets are instead written straight, in one stream, after the whole
// content has been produced.

// True for "-" (standard output) and for an existing path (links followed) that is not a
// regular file or a folder: a FIFO, a character or block device, a socket.
bool isStreamTarget(const QString &path);

// Copies source (readable and seekable; read from its start) into the stream target path ("-"
// is standard output). False with the reason in *error.
bool copyToStreamTarget(QIODevice &source, const QString &path, QString *error);
