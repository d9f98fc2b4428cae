#pragma once

#include "geometry/DModelOperator.h"
#include "geometry/PlatformSize.h"

// What the import manager needs of the application that holds it. Implemented by the central
// application object; tests implement it with a plain scene. All calls come on the thread that
// owns the import manager (the user-interface thread).
class IImportHost
{
  public:
    virtual ~IImportHost() = default;

    // A load starts: mark the application as loading, clear the view's pick and tell the
    // window (application event 2, "0,0,true").
    virtual void beginLoad() = 0;
    // New models are about to arrive: clear the selection so that they alone end up selected.
    virtual void clearSelection() = 0;
    // The models already in the scene (placement of new models beside them).
    virtual ModelList sceneModels() const = 0;
    // Hands new, placed models to the scene (and through it to the renderer), then tells the
    // window that the scene changed and asks for a repaint.
    virtual void addModelsToScene(const ModelList &models) = 0;
    // The load is over (with or without models): clear the loading mark.
    virtual void endLoad() = 0;
    virtual PlatformSize platformSize() const = 0;
};
