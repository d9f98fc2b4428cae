#pragma once

#include "slicing/SettingsBase.h"
#include "slicing/SliceJob.h"

#include "geometry/IProgressable.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class Mesh3D;

namespace Lamellor
{
class Mesh;
}

namespace OrvaneDlp
{

class DlpVXPRSerializeHelper;

// Slices meshes into a .vxpr work package.
//
// Most callers want exportVxpr() below. The manager itself serves one export: set the target
// (onSetExportFileName), the layer thickness (SetSliceConfig of LayerThickness0 and
// LayerThicknessX), optionally the previews, then call onNewProcessScene on a worker thread.
// Progress goes through the IProgressable chain (make it a child of the caller's progress
// object with setParent()); cancellation is the chain's cancel flag (onCancle).
class DlpSliceManager : public QObject, public IProgressable
{
    Q_OBJECT

  public:
    explicit DlpSliceManager(QObject *parent = nullptr);
    ~DlpSliceManager() override;

    const Lamellor::SettingsBase &settings() const { return m_settings; }
    QString exportFileName() const { return m_exportFileName; }

    // Raw 256 x 256 RGB previews (front, top, left); see SliceJob.
    void setPreviews(const QByteArray &front, const QByteArray &top, const QByteArray &left);
    void setThreadCount(int threads) { m_threadCount = threads; }
    void setKeepPartialOnCancel(bool keep) { m_keepPartialOnCancel = keep; }
    // See SliceJob::refuseEmpty.
    void setRefuseEmpty(bool refuse) { m_refuseEmpty = refuse; }

    // Result of the last onNewProcessScene: true only when the whole package was written.
    bool succeeded() const { return m_succeeded; }
    QString errorString() const { return m_error; }
    // Summed layer areas in mm^2 and the resin volume written to the header, in ml.
    double areaTotal() const { return m_areaTotal; }
    double volumeMl() const;
    int layerCount() const { return m_layerCount; }
    int layersWritten() const { return m_layersWritten; }

  public slots:
    // The export run: slices meshs into the file set by onSetExportFileName.
    void onNewProcessScene(const QList<std::shared_ptr<Mesh3D>> &meshs);
    // Adds every face of the triangle meshes (source kind 0) to mesh and finishes it.
    void onConvertFormat(const QList<std::shared_ptr<Mesh3D>> &meshs, Lamellor::Mesh &mesh);
    void onCancle(bool flag);
    void SetSliceConfig(const QString &key, const QString &value);
    void onSetExportFileName(const QString &name);

  private slots:
    void SetDefaultSliceConfig();
    // Writes the header and returns the offset of its volume field.
    int onAddHeader(DlpVXPRSerializeHelper &helper, int initialSliceZ, int layerCount,
                    int layerThickness);
    void onAddPictrue(DlpVXPRSerializeHelper &helper);

  private:
    void fail(const QString &message);

    Lamellor::SettingsBase m_settings;
    QString m_exportFileName;
    double m_areaTotal = 0.0;

    QByteArray m_previews[3];
    int m_threadCount = 0;
    bool m_keepPartialOnCancel = false;
    bool m_refuseEmpty = false;
    bool m_succeeded = false;
    QString m_error;
    int m_layerCount = 0;
    int m_layersWritten = 0;
    std::atomic<bool> m_engineCancel{false};
};

// Writes the work package for job to path.
//
// Runs on the calling thread (call it from a worker; it starts its own slicing threads) and
// returns true only when the complete package was written. On failure or cancel it returns
// false with a message in *error ("Canceled" on cancel) and leaves an existing file at path as
// it was. progress may be null; when given, the export reports under it ("Preparing",
// "Slicing") and stops when its chain is cancelled. The bytes written do not depend on the
// thread count. *volumeMl, when given, receives the resin volume of the layers written.
bool exportVxpr(const QString &path, const SliceJob &job, IProgressable *progress, QString *error,
                double *volumeMl = nullptr);

// The first bytes (at most one preview slot) of a raw preview picture file; empty when the
// file cannot be read.
QByteArray readPreviewFile(const QString &path);

} // namespace OrvaneDlp
