#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>
#include <vector>

class Mesh3D;

namespace OrvaneDlp
{

// What the accuracy dialog offers before an export, decided from the scene's SLC models.
struct AccuracyPlan {
    QStringList accuracies;       // entries of the layer-thickness list
    bool accuracyEditable = true; // false when SLC models dictate the thickness
    int precisionWarnings = 0;    // how many times "MultiSlc" is shown (title "PrecisionError")
    bool askSlcQuestion = false;  // ask "hasSlc" (title "PrecisionTip"); Cancel ends the check
    QString windowTitleKey = QStringLiteral("Accuracy Setting");
};

// The layer thicknesses of the SLC contour models among meshes, in scene order.
std::vector<float> slcLayerThicknesses(const std::vector<std::shared_ptr<Mesh3D>> &meshes);

// Without SLC models: the entries of accuracysSetting ("ui/accuracys", split at ':' keeping
// empty pieces), editable. With SLC models: one warning per further thickness that differs from
// the first, the SLC question, then only the first thickness ("%g"-style, 6 significant digits)
// and the title key "hasalreadSlc".
AccuracyPlan planAccuracyChoice(const std::vector<float> &slcThicknesses,
                                const QString &accuracysSetting);

// "hh_mm_ss_zzz_" of time, the default name prefix.
QString accuracyTimeStamp(const QTime &time);
// True when prefix is one or more characters none of which is \ / " : * ? < > | or a space.
bool isValidNamePrefix(const QString &prefix);
// The prefix field after typing: when invalid, its last character is removed (tooltip case).
QString correctTypedPrefix(const QString &prefix, bool *rejected = nullptr);
// File name after the accuracy changed: prefix (or stamp when empty), accuracy, ".vxpr".
QString nameAfterAccuracyChange(const QString &prefix, const QString &stamp,
                                const QString &accuracy);
// File name after the prefix changed: prefix (or stamp), '-', accuracy, ".vxpr".
QString nameAfterPrefixChange(const QString &prefix, const QString &stamp, const QString &accuracy);

} // namespace OrvaneDlp
