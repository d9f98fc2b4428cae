#include "io/DPlavinIoManager.h"

#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"

#include <QDebug>
#include <QFileInfo>

#include <exception>

DPlavinIoManager::DPlavinIoManager(IImportHost *host, QObject *parent)
    : DModelIoManager(host, parent)
{
}

void DPlavinIoManager::onImportProject(QString file)
{
    ImportFailures failures;
    try {
        if (!Vxpj::isProjectPath(file))
            throw DIoError("Not a project file (.vxpj)");
        const std::vector<std::shared_ptr<Model>> read = Vxpj::loadProject(file, this);
        ModelList models(read.begin(), read.end());
        if (!isCancelled()) {
            for (const auto &model : models) {
                if (model->overhangs().empty())
                    continue;
                if (m_regenerator) {
                    const QString error = m_regenerator(*model, platformSize(), this);
                    if (!error.isEmpty() && !isCancelled())
                        failures.append(
                            {file, QStringLiteral("Supports of %1 were not generated again: %2")
                                       .arg(model->name(), error)});
                } else
                    qWarning() << "Support regeneration after a project load is not built yet;"
                               << model->name() << "keeps its overhang points without supports";
            }
            if (!isCancelled()) {
                placeBesideScene(models);
                onAddModels2Engine(models);
            }
        }
    } catch (const DIoError &e) {
        if (!isCancelled())
            failures.append({file, e.message()});
    } catch (const std::exception &e) {
        failures.append({file, QString::fromUtf8(e.what())});
    }
    finishLoad(failures);
}
