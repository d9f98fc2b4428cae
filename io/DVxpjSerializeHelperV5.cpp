#include "io/DVxpjSerializeHelperV5.h"

#include "geometry/Model.h"
#include "geometry/SlcModel.h"
#include "io/DIoError.h"

void DVxpjSerializeHelperV5::writeBody()
{
    for (const std::shared_ptr<Model> &model : models()) {
        if (!model)
            throw DIoError(QStringLiteral("Vxpj file write error: the model list holds no model"));
    }
    const int count = int(models().size());
    // Each model gets an equal integer share of the whole range.
    const int share = count > 0 ? 100 / count : 100;
    for (int i = 0; i < count; ++i) {
        setLevel(QStringLiteral("level1"), {share, i * share, QStringLiteral("pct")});
        writeModel(*models()[std::size_t(i)]);
    }
    for (const std::shared_ptr<Model> &model : models()) {
        const QByteArray name = model->baseName().toLocal8Bit();
        putInt32(name.size());
        putBytes(name);
    }
}

void DVxpjSerializeHelperV5::writeModel(const Model &model)
{
    const QString points = Vxpj::stageSavePoints();
    const QString topology = Vxpj::stageSaveTopology();
    if (model.sourceKind() == SourceKind::SlcContours) {
        putInt32(Vxpj::ContourRecord);
        writeContourModel(model);
        return;
    }
    putInt32(Vxpj::MeshRecord);
    writeOverhangBlock(model);
    writeManualSupportBlock(model);
    writeParameterBlock(model);

    setLevel(QStringLiteral("level2"), {50, 0, QStringLiteral("pct")});
    putCount(model.vertices().size(), "points");
    putBlock(model.vertices().data(), std::int64_t(model.vertices().size()), points);
    setLevel(QStringLiteral("level2"), {50, 50, QStringLiteral("pct")});
    putCount(model.faces().size(), "faces");
    putBlock(model.faces().data(), std::int64_t(model.faces().size()), topology);
}

void DVxpjSerializeHelperV5::writeOverhangBlock(const Model &model)
{
    putBool(model.overhangsFlag());
    putCount(model.overhangs().size(), "overhangs");
    for (const std::shared_ptr<Overhang> &o : model.overhangs()) {
        checkCancel();
        putPoint(o->direction());
        putPoint(o->position());
        putFloat(o->overhangRadius());
        putFloat(o->linkPointRadius());
    }
}

void DVxpjSerializeHelperV5::writeManualSupportBlock(const Model &model)
{
    std::vector<Vxpj::Rod> rods;
    if (!model.manualSupports().isEmpty()) {
        if (!rodCodec().isValid())
            throw DIoError(QStringLiteral("Vxpj file write error: manual supports of %1 "
                                          "cannot be stored")
                               .arg(model.name()));
        rods = rodCodec().toRods(model.manualSupports());
    }
    putCount(rods.size(), "manual supports");
    for (const Vxpj::Rod &rod : rods) {
        putPoint(rod.top);
        putFloat(rod.topRadius);
        putPoint(rod.bottom);
        putFloat(rod.bottomRadius);
        putFloat(rod.rodTopRadius);
        putFloat(rod.rodBottomRadius);
        putBool(rod.flag);
    }
}

void DVxpjSerializeHelperV5::writeParameterBlock(const Model &model)
{
    const SupportParameters &p = model.supportParameters();
    putBool(model.hasSupports());
    putFloat(p.supportRadius);
    putFloat(p.baseExtern);
    putFloat(p.baseHeight);
    putFloat(p.overhangRadius);
    putFloat(p.supportGaps);
    putFloat(p.supportHeight);
    putInt32(p.baseMode);
    putZeros(4); // reserved
    putBool(p.hasSupports);
    putFloat(p.linkPointRadius);
    putInt32(p.method);
}

void DVxpjSerializeHelperV5::writeContourModel(const Model &model)
{
    static const SlcModel empty;
    const SlcModel &slc = model.contourData() ? *model.contourData() : empty;
    putFloat(slc.layerThickness);
    putFloat(slc.minZ);
    putFloat(slc.maxZ);

    setLevel(QStringLiteral("level2"), {50, 0, QStringLiteral("pct")});
    putCount(model.vertices().size(), "points");
    putBlock(model.vertices().data(), std::int64_t(model.vertices().size()),
             Vxpj::stageSavePoints());

    setLevel(QStringLiteral("level2"), {50, 50, QStringLiteral("pct")});
    const std::int64_t layerCount = std::int64_t(slc.layers.size());
    putCount(slc.layers.size(), "layers");
    for (std::int64_t l = 0; l < layerCount; ++l) {
        checkCancel();
        const SlcModel::Layer &layer = slc.layers[std::size_t(l)];
        putCount(layer.size(), "contours");
        for (const SlcModel::Contour &contour : layer) {
            putCount(contour.size(), "contour points");
            for (std::uint32_t index : contour)
                putInt32(std::int32_t(index));
        }
        report(l + 1, layerCount, Vxpj::stageSaveTopology());
    }
}
