#include "app/ScaleState.h"

#include "geometry/Model.h"

void ScaleState::readModel(Model &model)
{
    model.recomputeBounds();
    current = model.extent();
    reference = model.size();
    volume = model.volume();
    factors = model.scale();
    reload = model.isLayoutRotated();
}

void ScaleState::writeModel(Model &model) const
{
    model.setSize(reference);
    model.setScale(factors);
}
