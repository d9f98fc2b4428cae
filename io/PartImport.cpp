#include "io/PartImport.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoPartBase.h"
#include "io/MeshReaders.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <exception>

QString ImportFailure::text() const
{
    // A failure of the load as a whole (not of one file) has no path to name.
    if (path.isEmpty())
        return reason;
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), reason);
}

QString ImportFailure::displayText() const
{
    const QString shown = translateIoReason(reason);
    if (path.isEmpty())
        return shown;
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), shown);
}

QString translateIoReason(const QString &reason)
{
    const QByteArray whole = reason.toUtf8();
    const QString translated = QCoreApplication::translate("DIoError", whole.constData());
    if (translated != reason)
        return translated;
    const int colon = reason.indexOf(QLatin1String(": "));
    if (colon <= 0)
        return reason;
    const QString kind = reason.left(colon);
    const QByteArray kindBytes = kind.toUtf8();
    const QString translatedKind = QCoreApplication::translate("DIoError", kindBytes.constData());
    if (translatedKind == kind)
        return reason;
    return translatedKind + reason.mid(colon);
}

PartReaderFactory defaultPartReaderFactory()
{
    return [](const QString &path) { return createPartReader(path); };
}

QString unknownPartTypeMessage()
{
    return QStringLiteral("Unknown file type (only .stl, .obj and .slc parts can be imported)");
}

PartLoad readParts(const QStringList &files, IProgressable *progress,
                   const PartReaderFactory &factory)
{
    PartLoad load;
    const int n = files.size();
    for (int i = 0; i < n; ++i) {
        if (progress && progress->isCancelled()) {
            load.cancelled = true;
            break;
        }
        const QString &path = files[i];
        if (progress)
            progress->setLevel(QStringLiteral("level1"),
                               ProgressRange{i + 1, n, QStringLiteral("avg")});
        std::unique_ptr<DIoPartBase> reader = factory ? factory(path) : nullptr;
        if (!reader) {
            load.failures.append({path, unknownPartTypeMessage()});
            continue;
        }
        reader->setFileName(path);
        reader->setProgress(progress);
        try {
            std::shared_ptr<Mesh3D> mesh = reader->read();
            if (!mesh) {
                if (progress && progress->isCancelled()) {
                    load.cancelled = true;
                    break;
                }
                load.failures.append({path, QStringLiteral("The file holds no model")});
                continue;
            }
            auto model = std::dynamic_pointer_cast<Model>(mesh);
            if (!model) {
                load.failures.append({path, QStringLiteral("The file holds no model")});
                continue;
            }
            model->setSourceKind(reader->sourceKind());
            model->setBaseName(QFileInfo(path).fileName());
            load.models.push_back(model);
        } catch (const DIoError &e) {
            load.failures.append({path, e.message()});
        } catch (const std::bad_alloc &) {
            load.failures.append({path, QStringLiteral("Not enough memory to read the file")});
        } catch (const std::exception &e) {
            load.failures.append({path, QString::fromUtf8(e.what())});
        }
    }
    if (progress && progress->isCancelled())
        load.cancelled = true;
    return load;
}

void arrangeNewModels(DModelOperator &op, const ModelList &models)
{
    op.dropOntoPlatform(models);
    op.layout(models, 0);
}

ImportResult importPartsHeadless(const QStringList &files, const PlatformSize &platform,
                                 IProgressable *progress, const PartReaderFactory &factory)
{
    ImportResult result;
    PartLoad load = readParts(files, progress, factory);
    result.failures = load.failures;
    result.cancelled = load.cancelled;
    if (load.cancelled)
        return result;
    DModelOperator op(platform);
    arrangeNewModels(op, load.models);
    op.placeBeside({}, load.models);
    result.models = load.models;
    for (const auto &model : result.models)
        result.inBounds.push_back(!DModelOperator::isOutOfBounds(model->boundingBox(), platform));
    return result;
}
