#include "render/HeadlessSnapshots.h"

#include "render/COrvaneFrame.h"
#include "render/CRenderEngine.h"
#include "render/FrameSnapshot.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace Orvane3Ds {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool renderAll(const QList<std::shared_ptr<Model>> &models, const QString &dir, QString *error)
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        setError(error, QStringLiteral("cannot create an OpenGL context for the snapshots"));
        return false;
    }
    DScene scene;
    CRenderEngine engine(&scene);
    // The start-up messages of the view would only clutter the command's output.
    engine.setQuiet(true);
    if (!engine.initialiseGL() || !engine.programsBuilt()) {
        setError(error, QStringLiteral("OpenGL 2.1 with GLSL 1.20 is not available"));
        return false;
    }
    scene.addModels(DScene::ModelList(models.begin(), models.end()));
    scene.clearSelection();

    bool ok = true;
    for (SnapshotView view : {SnapshotView::Front, SnapshotView::Top, SnapshotView::Left}) {
        const QByteArray canvas = engine.frame()->renderSnapshot(view);
        const QString stem = QDir(dir).filePath(snapshotName(view));
        QString writeError;
        if (!writeSnapshotFile(stem + QStringLiteral(".dat"), canvas, &writeError)) {
            setError(error, writeError);
            ok = false;
            break;
        }
        const QImage image(reinterpret_cast<const uchar *>(canvas.constData()), SnapshotCanvas,
                           SnapshotCanvas, SnapshotCanvas * 3, QImage::Format_RGB888);
        if (!image.save(stem + QStringLiteral(".png"))) {
            setError(error, QStringLiteral("cannot write %1.png").arg(stem));
            ok = false;
            break;
        }
    }
    // Drawables unhook from the models and free their buffers while the context is current.
    for (const auto &model : models)
        scene.removeModel(model);
    context.doneCurrent();
    return ok;
}

} // namespace

bool writeSnapshots(const QList<std::shared_ptr<Model>> &models, const QString &dir,
                    QString *error)
{
    if (!QDir(dir).exists() && !QDir().mkpath(dir)) {
        setError(error, QStringLiteral("cannot create the folder %1").arg(dir));
        return false;
    }
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return renderAll(models, dir, error);
    if (QCoreApplication::instance()) {
        setError(error, QStringLiteral("snapshots need a GUI application object"));
        return false;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform.startsWith("xcb")) && qgetenv("DISPLAY").isEmpty()) {
        setError(error, QStringLiteral("no X display: the snapshots need OpenGL on a display "
                                       "(set DISPLAY or run under xvfb-run)"));
        return false;
    }
    int argc = 1;
    char name[] = "Resinor";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    return renderAll(models, dir, error);
}

} // namespace Orvane3Ds
