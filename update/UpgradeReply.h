#pragma once

#include <QString>
#include <QStringList>

// Pure rules of the main program's update service replies: the reply items, the failure
// markers, the version order and the transfer-rate text. No network here.
namespace UpgradeReply
{

// Marker of a service that does not know the asked action.
inline const char *const kNoActMarker = "errornum:*#0000noact";
// Marker of a query that got no answer in time (also what the query returns itself).
inline const char *const kTimeoutMarker = "timeout";

// The items of a reply split on ',' (empty items kept). Each item is "key=value"; an item that
// does not split on '=' into exactly two parts has no value. The first item whose key contains
// "version" gives the offered version, the first whose key contains "url" the download address,
// the first whose key contains "act" the echoed action.
struct Items {
    bool hasVersion = false;
    QString version;
    bool hasUrl = false;
    QString url;
    bool hasAct = false;
    QString act;
};
Items parseItems(const QStringList &items);

// True when the reply text carries one of the failure markers.
bool isFailure(const QString &reply);

// True when `offered` is newer than `current`: both split on '.', empty parts counting as 0;
// unless both have exactly four parts the offered one is not newer; the parts compare as
// integers from the first, the first unequal pair decides.
bool isNewerVersion(const QString &offered, const QString &current);

// "%1 %2" of the transfer speed (received * 1000 / elapsedMs bytes per second) with three
// decimals and its unit: "bytes/sec" below 1024, "kB/s" below 1048576, else "MB/s". An elapsed
// time of 0 ms counts as 1 ms.
QString rateText(qint64 received, qint64 elapsedMs);

} // namespace UpgradeReply
