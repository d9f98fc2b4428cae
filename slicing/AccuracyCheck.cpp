#include "slicing/AccuracyCheck.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <QRegularExpression>

namespace OrvaneDlp
{

std::vector<float> slcLayerThicknesses(const std::vector<std::shared_ptr<Mesh3D>> &meshes)
{
    std::vector<float> result;
    for (const std::shared_ptr<Mesh3D> &m : meshes)
        if (m && m->sourceKind() == SourceKind::SlcContours && m->contourData())
            result.push_back(m->contourData()->layerThickness);
    return result;
}

AccuracyPlan planAccuracyChoice(const std::vector<float> &slcThicknesses,
                                const QString &accuracysSetting)
{
    AccuracyPlan plan;
    if (slcThicknesses.empty()) {
        plan.accuracies = accuracysSetting.split(QLatin1Char(':'), Qt::KeepEmptyParts);
        return plan;
    }
    for (size_t i = 1; i < slcThicknesses.size(); ++i)
        if (slcThicknesses[i] != slcThicknesses[0])
            ++plan.precisionWarnings;
    plan.askSlcQuestion = true;
    plan.accuracies = QStringList{QString::number(double(slcThicknesses[0]), 'g', 6)};
    plan.accuracyEditable = false;
    plan.windowTitleKey = QStringLiteral("hasalreadSlc");
    return plan;
}

QString accuracyTimeStamp(const QTime &time)
{
    return time.toString(QStringLiteral("hh_mm_ss_zzz_"));
}

bool isValidNamePrefix(const QString &prefix)
{
    static const QRegularExpression pattern(QStringLiteral("^[^\\\\/\":*?<>| ]+$"));
    return pattern.match(prefix).hasMatch();
}

QString correctTypedPrefix(const QString &prefix, bool *rejected)
{
    const bool bad = !prefix.isEmpty() && !isValidNamePrefix(prefix);
    if (rejected)
        *rejected = bad;
    return bad ? prefix.left(prefix.size() - 1) : prefix;
}

QString nameAfterAccuracyChange(const QString &prefix, const QString &stamp,
                                const QString &accuracy)
{
    return QStringLiteral("%1%2%3").arg(prefix.isEmpty() ? stamp : prefix, accuracy,
                                        QStringLiteral(".vxpr"));
}

QString nameAfterPrefixChange(const QString &prefix, const QString &stamp, const QString &accuracy)
{
    return QStringLiteral("%1-%2%3").arg(prefix.isEmpty() ? stamp : prefix, accuracy,
                                         QStringLiteral(".vxpr"));
}

} // namespace OrvaneDlp
