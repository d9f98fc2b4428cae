#pragma once

#include "supports/MeshQuery.h"

#include "geometry/SupportParameters.h"

#include <QString>

class IProgressable;
class Model;

struct SupportJobResult {
    bool ok = false;
    QString error;        // why nothing was generated (parameters refused, cancelled)
    int overhangs = 0;    // points found
    int supportParts = 0; // meshes of the generated support
};

// Moves the model vertically so that its lowest point lies at `height` (mm). Only z changes, so
// the kept virtual column grid survives.
void liftModelToHeight(Model &model, float height);

// What the support generate job does for one mesh model: stores `params` in the model, lifts it
// to params.supportHeight unless params.hasSupports, finds its overhangs and generates its
// supports (method A or B, as params say). Progress and cancellation through `progress` (may be
// null). Parameters that cannot be used (a support diameter of 0, a gap of 0, an unknown method)
// are refused before the model is touched.
SupportJobResult generateSupportsForModel(Model &model, const SupportParameters &params,
                                          IProgressable *progress,
                                          QueryMode mode = QueryMode::Indexed);

// Generates the supports of a model read from a project again: from its stored overhang points
// and its stored support parameters, leaving the model where it is (it was saved already lifted)
// and its points as they are (hand edits included). A model without overhang points gets no
// supports. Refused parameters and cancel come back as an error, the model untouched.
SupportJobResult regenerateSupportsForModel(Model &model, IProgressable *progress,
                                            QueryMode mode = QueryMode::Indexed);
