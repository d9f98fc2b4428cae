#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace OrvaneDlp
{

// The header of a .vxpr work package and the number of layer records it really holds.
struct VxprInfo {
    QString title;
    int version = 0;
    float firstSliceHeight = 0.0f; // mm
    float lastSliceHeight = 0.0f;  // mm
    float layerThickness = 0.0f;   // mm
    int layerCount = 0;            // as the header states
    float volumeMl = 0.0f;
    int layerRecords = 0; // complete records found after the previews
};

// Reads a package's header and walks its layer records without loading them. Returns false with
// a message in *error when the data is not a package, is cut inside the header, previews or a
// record, holds counts that run past its end, or has more records than the header states. A
// package that ends cleanly after fewer records than stated (a cancelled export) is accepted;
// layerRecords tells how many there are.
bool readVxprInfo(QIODevice &device, VxprInfo *info, QString *error);
bool readVxprInfo(const QString &path, VxprInfo *info, QString *error);

// One JSON object with the fields of info (compact, no trailing newline).
QByteArray vxprInfoJson(const VxprInfo &info);

} // namespace OrvaneDlp
