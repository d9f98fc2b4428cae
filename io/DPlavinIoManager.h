#pragma once

#include "io/DModelIoManager.h"

#include <functional>

// The application's import manager: part loads as DModelIoManager, and project loads.
//
// A project load reads the project's models (kept where they were saved: no drop, no layout),
// places them beside the scene's models, has the supports of models with overhang points
// generated again (through the regenerator the supports library installs), and hands them to
// the scene. A cancelled or failed project load adds nothing; a failure is reported through
// loadFailed().
class DPlavinIoManager : public DModelIoManager
{
    Q_OBJECT
  public:
    // Builds the supports of a model again; returns why it could not (empty when it could).
    // A model whose supports failed is still opened, and the failure is listed with the load's.
    using SupportRegenerator =
        std::function<QString(Model &model, const PlatformSize &platform, IProgressable *progress)>;

    explicit DPlavinIoManager(IImportHost *host, QObject *parent = nullptr);

    void setSupportRegenerator(SupportRegenerator regenerator)
    {
        m_regenerator = std::move(regenerator);
    }

  public slots:
    void onImportProject(QString file) override;

  private:
    SupportRegenerator m_regenerator;
};
