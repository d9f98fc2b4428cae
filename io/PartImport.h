#pragma once

#include "geometry/DModelOperator.h"
#include "geometry/PlatformSize.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <functional>
#include <list>
#include <memory>
#include <vector>

class DIoPartBase;
class IProgressable;
class Model;

// A file of a load that could not be read, and why (the reader's English message).
struct ImportFailure {
    QString path;
    QString reason;

    // "<file name>: <reason>"; the reason alone when there is no path.
    QString text() const;
    // text() with the reason in the user's language (translateIoReason()), for the window.
    QString displayText() const;
};
using ImportFailures = QList<ImportFailure>;

// The reason of a reader or writer error in the installed translation (context "DIoError"): the
// whole reason when it is a known text, else the kind of error before its first ": " with the
// details after it (file names, counts, system errors) as they are. Unknown reasons unchanged.
QString translateIoReason(const QString &reason);
Q_DECLARE_METATYPE(ImportFailure)
Q_DECLARE_METATYPE(ImportFailures)

// Creates the reader for a part file, or null when no reader handles its suffix. The default is
// createPartReader(); tests install fakes.
using PartReaderFactory = std::function<std::unique_ptr<DIoPartBase>(const QString &path)>;
PartReaderFactory defaultPartReaderFactory();

// Message given for a file whose suffix no reader handles.
QString unknownPartTypeMessage();

// The models read by one part load, the files that failed, and whether it was cancelled.
struct PartLoad {
    ModelList models;
    ImportFailures failures;
    bool cancelled = false;
};

// Reads the files in order on the calling thread. File i of n gets progress "level1" = (i, n,
// "avg") on `progress` (may be null), which is also every reader's progress object and cancel
// source. Each model gets the reader's source kind and the file name (with extension) as base
// name. A file that fails (reader error, unknown suffix, no geometry) is listed in failures; the
// others are still read. After a cancel no further file is read and cancelled is set.
PartLoad readParts(const QStringList &files, IProgressable *progress,
                   const PartReaderFactory &factory = defaultPartReaderFactory());

// The placement of a part load that touches only the new models: drop onto the platform, then
// automatic layout among themselves with spacing 0. Safe on a worker thread.
void arrangeNewModels(DModelOperator &op, const ModelList &models);

// What a headless import produced.
struct ImportResult {
    ModelList models;           // placed on the platform, in file order
    std::vector<bool> inBounds; // per model: within the platform bounds
    ImportFailures failures;    // files that could not be read
    bool cancelled = false;
};

// Imports parts the way the program does in one load into an empty scene: read, drop onto the
// platform, lay out with spacing 0, place beside (ending at x = X/2), then the bounds test per
// model. Runs on the calling thread; progress may be null.
ImportResult importPartsHeadless(const QStringList &files, const PlatformSize &platform = {},
                                 IProgressable *progress = nullptr,
                                 const PartReaderFactory &factory = defaultPartReaderFactory());
