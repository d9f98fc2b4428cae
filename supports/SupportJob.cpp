#include "supports/SupportJob.h"

#include "supports/OverhangFinder.h"
#include "supports/SupportGenerator.h"

#include "geometry/Model.h"

namespace
{

QString damagedMeshError()
{
    return QStringLiteral("The model's mesh is damaged: a face uses a missing vertex.");
}

// Generates supports under the model's overhang points and stores them in the model; `query`
// may be null, the generator then builds its own. Fills result.ok and the part count, or the
// error.
void generateFromOverhangs(Model &model, const SupportParameters &params, IProgressable *progress,
                           QueryMode mode, const MeshQuery *query, SupportJobResult &result)
{
    SupportGenerator generator(model, mode);
    generator.setSharedQuery(query);
    generator.setParent(progress);
    const bool generated = generator.generate(model.overhangs(), params);
    generator.setParent(nullptr);
    if (!generated) {
        result.error = generator.errorString();
        return;
    }
    model.setSupport(generator.result());
    result.supportParts = static_cast<int>(generator.result()->parts.size());
    result.ok = true;
}

} // namespace

void liftModelToHeight(Model &model, float height)
{
    model.recomputeBounds();
    const Box3f &box = model.boundingBox();
    if (box.isEmpty())
        return;
    const float dz = height - box.min.z;
    if (dz != 0.0f)
        model.transform(translationMatrix(0.0f, 0.0f, dz));
}

SupportJobResult generateSupportsForModel(Model &model, const SupportParameters &params,
                                          IProgressable *progress, QueryMode mode)
{
    SupportJobResult result;
    model.recomputeBounds();
    if (!OverhangFinder::checkParameters(params, &result.error) ||
        !SupportGenerator::checkParameters(params, model.boundingBox(), &result.error))
        return result;
    if (!model.hasValidFaces()) {
        result.error = damagedMeshError();
        return result;
    }
    const float lift = params.hasSupports || model.boundingBox().isEmpty()
                           ? 0.0f
                           : params.supportHeight - model.boundingBox().min.z;
    if (!OverhangFinder::checkWork(model, params, lift, &result.error))
        return result;

    model.supportParameters() = params;
    if (!params.hasSupports)
        liftModelToHeight(model, params.supportHeight);
    if (model.faceNormals().size() != model.faces().size())
        model.computeFaceNormals();

    // One query structure serves detection and generation: the mesh does not change in between.
    const MeshQuery query(model.vertices(), model.faces(), mode);
    OverhangFinder finder(model, mode);
    finder.setSharedQuery(&query);
    finder.setParent(progress);
    const bool found = finder.find(params);
    finder.setParent(nullptr);
    if (!found) {
        result.error = finder.errorString();
        return result;
    }
    model.overhangs() = finder.result();
    model.setOverhangsFlag(true);
    result.overhangs = static_cast<int>(model.overhangs().size());

    generateFromOverhangs(model, params, progress, mode, &query, result);
    return result;
}

SupportJobResult regenerateSupportsForModel(Model &model, IProgressable *progress, QueryMode mode)
{
    SupportJobResult result;
    result.overhangs = static_cast<int>(model.overhangs().size());
    if (model.overhangs().empty()) {
        result.ok = true;
        return result;
    }
    model.recomputeBounds();
    const SupportParameters &params = model.supportParameters();
    if (!SupportGenerator::checkParameters(params, model.boundingBox(), &result.error))
        return result;
    if (!model.hasValidFaces()) {
        result.error = damagedMeshError();
        return result;
    }
    if (model.faceNormals().size() != model.faces().size())
        model.computeFaceNormals();
    generateFromOverhangs(model, params, progress, mode, nullptr, result);
    return result;
}
