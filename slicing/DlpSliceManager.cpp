#include "slicing/DlpSliceManager.h"

#include "slicing/DlpVXPRSerializeHelper.h"
#include "slicing/EngineLog.h"
#include "slicing/LayerPipeline.h"
#include "slicing/Mesh.h"
#include "slicing/VxprLayout.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <QFile>

#include <cmath>

namespace OrvaneDlp
{

namespace
{

using Lamellor::engineLog;

constexpr int kMaxLayers = 1000000;
constexpr int kFacesPerReport = 4096;

const char *const kDefaultSettings[][2] = {
    {"machine_width", "96"},
    {"machine_depth", "54"},
    {"machine_center_is_zero", "false"},
    {"center_object", "false"},
    {"mesh_position_x", "0"},
    {"mesh_position_y", "0"},
    {"mesh_position_z", "0"},
    {"LayerThickness0", "0.05"},
    {"LayerThicknessX", "0.05"},
    {"KeepOpenPolygons", "false"},
    {"multiple_mesh_overlap", "0.1"},
    {"meshfix_union_all", "true"},
    {"meshfix_union_all_remove_holes", "true"},
    {"adhesion_type", "false"},
    {"magic_mesh_surface_mode", "normal"},
    {"meshfix_extensive_stitching", "false"},
    {"skin_line_width", "0.07"},
    {"skin_outline_count", "2"},
    {"skin_no_small_gaps_heuristic", "false"},
    {"topbottomVertex_pattern", "zigzag"},
    {"infill_pattern", "zigzag"},
    {"infill_line_distance", "0.07"},
    {"infill_before_walls", "true"},
    {"infill_overlap", "50"},
    {"infill_line_width", "0.07"},
    {"wall_line_count", "2"},
    {"wall_line_width_x", "0.07"},
    {"wall_line_width_0", "0.07"},
    {"machine_nozzle_size", "0.07"},
    {"bottom_layers", "2"},
    {"top_layers", "2"},
    {"remove_overlapping_walls_0_enabled", "false"},
    {"remove_overlapping_walls_x_enabled", "false"},
    {"compensate_enable", "true"},
    {"compensate_value", "0.05"},
    {"compensate_color", "100"},
    {"compensate_width", "1"},
};

// An SLC contour model as the record builder reads it.
struct SlcSource {
    const Mesh3D *mesh = nullptr;
    const SlcModel *contours = nullptr;
};

int32_t microns(float millimetres)
{
    return Lamellor::Mesh::fromMillimetres(millimetres, 0.0f, 0.0f).x;
}

int slcLayerCount(const SlcModel &slc)
{
    const double height = double(slc.maxZ) - double(slc.minZ);
    const double thickness = double(slc.layerThickness);
    if (!(thickness > 0.0) || !std::isfinite(height) || !std::isfinite(thickness))
        return 0;
    const double count = height / thickness;
    if (!(count > 0.0))
        return 0;
    return count >= double(kMaxLayers) + 1 ? kMaxLayers + 1 : int(count);
}

// Encodes the record of one layer: height, path count, the mesh paths, then the SLC contours of
// this layer index. Also sums the signed path areas. Thread-safe; out is reused.
void encodeLayer(int layer, int32_t z, const std::vector<Lamellor::SlicePart> &parts,
                 const std::vector<SlcSource> &slcs, Lamellor::LayerOutput &out,
                 ClipperLib::Path &scratch)
{
    std::vector<char> &r = out.record;
    std::vector<QString> &logs = out.logs;
    r.clear();
    logs.clear();
    int32_t pathCount = 0;
    for (const Lamellor::SlicePart &part : parts)
        pathCount += int32_t(part.size());
    for (const SlcSource &slc : slcs)
        if (size_t(layer) < slc.contours->layers.size())
            pathCount += int32_t(slc.contours->layers[size_t(layer)].size());

    appendFloat(r, float(z / 1000.0));
    appendInt32(r, pathCount);
    if (pathCount < 1 || pathCount > VxprLayout::kMaxCount)
        logs.push_back(QStringLiteral("too much polygon :%1").arg(pathCount));

    double area = 0.0;
    for (const Lamellor::SlicePart &part : parts) {
        for (const ClipperLib::Path &path : part) {
            const int32_t n = int32_t(path.size());
            if (n < 1 || n > VxprLayout::kMaxCount)
                logs.push_back(QStringLiteral("too much normal point :%1").arg(n));
            appendInt32(r, n);
            for (const ClipperLib::IntPoint &p : path) {
                appendFloat(r, float(double(p.X) / 1000.0));
                appendFloat(r, float(double(p.Y) / 1000.0));
            }
            area += ClipperLib::Area(path);
        }
    }
    for (const SlcSource &slc : slcs) {
        if (size_t(layer) >= slc.contours->layers.size())
            continue;
        const std::vector<Point3f> &vertices = slc.mesh->vertices();
        for (const SlcModel::Contour &contour : slc.contours->layers[size_t(layer)]) {
            scratch.clear();
            for (uint32_t index : contour) {
                // A contour index past the vertex array (damaged data) is left out.
                if (index >= vertices.size())
                    continue;
                scratch.emplace_back(microns(vertices[index].x), microns(vertices[index].y));
            }
            const int32_t n = int32_t(scratch.size());
            if (n < 1 || n > VxprLayout::kMaxCount)
                logs.push_back(
                    QStringLiteral("too much slc points :%1 ,lnbr:%2").arg(n).arg(layer));
            appendInt32(r, n);
            for (const ClipperLib::IntPoint &p : scratch) {
                appendFloat(r, float(double(p.X) / 1000.0));
                appendFloat(r, float(double(p.Y) / 1000.0));
            }
            area += ClipperLib::Area(scratch);
        }
    }
    out.area = area / 1000000.0;
}

} // namespace

DlpSliceManager::DlpSliceManager(QObject *parent) : QObject(parent)
{
    engineLog(QStringLiteral("slice objcet creating"));
    SetDefaultSliceConfig();
}

DlpSliceManager::~DlpSliceManager()
{
    engineLog(QStringLiteral("DlpSliceManager destroyed"));
}

void DlpSliceManager::SetDefaultSliceConfig()
{
    for (const auto &entry : kDefaultSettings)
        m_settings.registerSetting(entry[0], entry[1]);
}

void DlpSliceManager::SetSliceConfig(const QString &key, const QString &value)
{
    m_settings.setSetting(key.toStdString(), value.toStdString());
}

void DlpSliceManager::onSetExportFileName(const QString &name)
{
    m_exportFileName = name;
}

void DlpSliceManager::onCancle(bool flag)
{
    setCancel(flag);
    m_engineCancel = flag;
}

void DlpSliceManager::setPreviews(const QByteArray &front, const QByteArray &top,
                                  const QByteArray &left)
{
    m_previews[0] = front;
    m_previews[1] = top;
    m_previews[2] = left;
}

double DlpSliceManager::volumeMl() const
{
    const int thickness = m_settings.getSettingInMicrons("LayerThicknessX");
    return float(thickness / 1000.0 * m_areaTotal / 1000.0);
}

void DlpSliceManager::fail(const QString &message)
{
    m_succeeded = false;
    if (m_error.isEmpty())
        m_error = message;
}

void DlpSliceManager::onConvertFormat(const QList<std::shared_ptr<Mesh3D>> &meshs,
                                      Lamellor::Mesh &mesh)
{
    int64_t total = 0;
    for (const std::shared_ptr<Mesh3D> &m : meshs)
        if (m && m->sourceKind() == SourceKind::Mesh)
            total += int64_t(placedTriangleCount(*m));
    mesh.reserveFaces(size_t(total));
    int64_t done = 0;
    // Markers sharing one sphere are built in place here, one at a time.
    Mesh3D scratch;
    for (const std::shared_ptr<Mesh3D> &m : meshs) {
        if (!m || m->sourceKind() != SourceKind::Mesh)
            continue;
        const Mesh3D &placed = placedTriangles(*m, scratch);
        const std::vector<Point3f> &v = placed.vertices();
        for (const Face &f : placed.faces()) {
            ++done;
            if (done % kFacesPerReport == 0 || done == total) {
                reportInRange(done, total, QStringLiteral("Preparing"));
                if (isCancelled())
                    m_engineCancel = true;
            }
            if (f.v[0] >= v.size() || f.v[1] >= v.size() || f.v[2] >= v.size())
                continue;
            const Point3f &a = v[f.v[0]];
            const Point3f &b = v[f.v[1]];
            const Point3f &c = v[f.v[2]];
            mesh.addFace(Lamellor::Mesh::fromMillimetres(a.x, a.y, a.z),
                         Lamellor::Mesh::fromMillimetres(b.x, b.y, b.z),
                         Lamellor::Mesh::fromMillimetres(c.x, c.y, c.z));
        }
    }
    mesh.finish(m_threadCount);
}

int DlpSliceManager::onAddHeader(DlpVXPRSerializeHelper &helper, int initialSliceZ, int layerCount,
                                 int layerThickness)
{
    helper.writeInt32(VxprLayout::kHeaderLength);
    helper.writeInt32(VxprLayout::kTitleLength);
    helper.writeBytes(VxprLayout::kTitle, VxprLayout::kTitleLength);
    helper.writeInt32(VxprLayout::kVersion);
    helper.writeFloat(float(initialSliceZ / 1000.0));
    const int64_t last = int64_t(initialSliceZ) + int64_t(layerCount - 1) * layerThickness;
    helper.writeFloat(float(double(last) / 1000.0));
    helper.writeFloat(float(layerThickness / 1000.0));
    helper.writeInt32(layerCount);
    helper.writeFloat(0.0f);
    return VxprLayout::kVolumeOffset;
}

void DlpSliceManager::onAddPictrue(DlpVXPRSerializeHelper &helper)
{
    QByteArray block(VxprLayout::kPreviewCount * VxprLayout::kPreviewSize, '\0');
    for (int i = 0; i < VxprLayout::kPreviewCount; ++i) {
        const int n = qMin(m_previews[i].size(), VxprLayout::kPreviewSize);
        memcpy(block.data() + i * VxprLayout::kPreviewSize, m_previews[i].constData(), size_t(n));
    }
    helper.writeBytes(block);
}

void DlpSliceManager::onNewProcessScene(const QList<std::shared_ptr<Mesh3D>> &meshs)
{
    m_succeeded = false;
    m_error.clear();
    m_areaTotal = 0.0;
    m_layerCount = 0;
    m_layersWritten = 0;
    m_engineCancel = isCancelled();

    QList<std::shared_ptr<Mesh3D>> triangleMeshes;
    std::vector<SlcSource> slcs;
    for (const std::shared_ptr<Mesh3D> &m : meshs) {
        if (!m)
            continue;
        if (m->sourceKind() == SourceKind::Mesh)
            triangleMeshes.append(m);
        else if (m->sourceKind() == SourceKind::SlcContours && m->contourData())
            slcs.push_back(SlcSource{m.get(), m->contourData().get()});
    }

    const int l0 = m_settings.getSettingInMicrons("LayerThickness0");
    const int lx = m_settings.getSettingInMicrons("LayerThicknessX");
    if (lx <= 0 || l0 <= 0) {
        fail(QStringLiteral("Layer thickness must be positive"));
        return;
    }
    const int z0 = l0 - lx / 2;

    setRange(1);
    reportInRange(1, 1, QStringLiteral("Slicing"));

    setRange(25);
    Lamellor::Mesh mesh(&m_settings);
    onConvertFormat(triangleMeshes, mesh);

    int64_t layerCount = 0;
    if (!triangleMeshes.isEmpty() && !mesh.isEmpty())
        layerCount = std::max<int64_t>(0, (int64_t(mesh.max().z) - z0) / lx + 1);
    for (const SlcSource &slc : slcs)
        layerCount = std::max<int64_t>(layerCount, slcLayerCount(*slc.contours));
    if (layerCount > kMaxLayers) {
        fail(QStringLiteral("Too many layers: %1").arg(layerCount));
        return;
    }
    if (layerCount == 0 && m_refuseEmpty) {
        fail(QStringLiteral("Nothing to print: the job gives no layer (no printable mesh, and no "
                            "SLC model with a usable layer thickness)"));
        return;
    }
    m_layerCount = int(layerCount);

    DlpVXPRSerializeHelper helper;
    if (!helper.open(m_exportFileName)) {
        engineLog(QStringLiteral("DLP VXPR serialize file open error"));
        fail(helper.errorString());
        return;
    }

    const int volumeOffset = onAddHeader(helper, z0, m_layerCount, lx);
    helper.writeZeros(VxprLayout::kReservedSize);
    onAddPictrue(helper);

    setRange(100);
    m_areaTotal = 0.0;

    Lamellor::LayerPipelineParams params;
    params.z0 = z0;
    params.step = lx;
    params.layerCount = m_layerCount;
    params.threadCount = m_threadCount;
    params.cancel = &m_engineCancel;
    params.encode = [&slcs](int layer, int32_t z, const std::vector<Lamellor::SlicePart> &parts,
                            Lamellor::LayerOutput &out) {
        thread_local ClipperLib::Path scratch;
        encodeLayer(layer, z, parts, slcs, out, scratch);
    };
    bool cancelled = false;
    params.write = [&](int layer, const Lamellor::LayerOutput &out) {
        if (isCancelled() || m_engineCancel) {
            m_engineCancel = true;
            cancelled = true;
            engineLog(QStringLiteral("process scene has been cancled "));
            return false;
        }
        for (const QString &line : out.logs)
            engineLog(line);
        helper.writeBytes(out.record.data(), qint64(out.record.size()));
        m_areaTotal += out.area;
        ++m_layersWritten;
        reportInRange(layer + 1, m_layerCount, QStringLiteral("Slicing"));
        return helper.ok();
    };
    Lamellor::runLayerPipeline(triangleMeshes.isEmpty() ? nullptr : &mesh, params);
    if (!cancelled && m_layersWritten < m_layerCount && isCancelled()) {
        cancelled = true;
        engineLog(QStringLiteral("process scene has been cancled "));
    }

    helper.patchFloat(volumeOffset, float(lx / 1000.0 * m_areaTotal / 1000.0));
    if (cancelled && !m_keepPartialOnCancel) {
        helper.discard();
        fail(QStringLiteral("Canceled"));
        return;
    }
    if (!helper.commit()) {
        fail(helper.errorString());
        return;
    }
    if (cancelled) {
        fail(QStringLiteral("Canceled"));
        return;
    }
    m_succeeded = true;
}

bool exportVxpr(const QString &path, const SliceJob &job, IProgressable *progress, QString *error,
                double *volumeMl)
{
    DlpSliceManager manager;
    if (progress)
        manager.IProgressable::setParent(progress);
    manager.onSetExportFileName(path);
    manager.SetSliceConfig(QStringLiteral("LayerThickness0"), job.layerThickness);
    manager.SetSliceConfig(QStringLiteral("LayerThicknessX"), job.layerThickness);
    manager.setPreviews(job.previewFront, job.previewTop, job.previewLeft);
    manager.setThreadCount(job.threadCount);
    manager.setKeepPartialOnCancel(job.keepPartialOnCancel);
    manager.setRefuseEmpty(job.refuseEmpty);
    manager.onNewProcessScene(QList<std::shared_ptr<Mesh3D>>(job.meshes.begin(), job.meshes.end()));
    if (error)
        *error = manager.succeeded() ? QString() : manager.errorString();
    if (volumeMl)
        *volumeMl = manager.volumeMl();
    return manager.succeeded();
}

QByteArray readPreviewFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(VxprLayout::kPreviewSize);
}

} // namespace OrvaneDlp
