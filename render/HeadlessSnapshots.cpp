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

namespace Orvane3Ds
{

namespace
{

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool renderCanvases(const QList<std::shared_ptr<Model>> &models,
                    std::array<QByteArray, 3> *canvases, QString *error)
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        setError(error, QStringLiteral("cannot create an OpenGL context for the snapshots"));
        return false;
    }
    bool ok = false;
    {
        DScene scene;
        CRenderEngine engine(&scene);
        // The start-up messages of the view would only clutter the command's output.
        engine.setQuiet(true);
        if (!engine.initialiseGL() || !engine.programsBuilt()) {
            setError(error, QStringLiteral("OpenGL 2.1 with GLSL 1.20 is not available"));
        } else {
            scene.addModels(DScene::ModelList(models.begin(), models.end()));
            scene.clearSelection();
            for (int view = 0; view < 3; ++view)
                (*canvases)[view] = engine.frame()->renderSnapshot(static_cast<SnapshotView>(view));
            // Drawables unhook from the models and free their buffers while the context is
            // current.
            for (const auto &model : models)
                scene.removeModel(model);
            ok = true;
        }
    }
    context.doneCurrent();
    return ok;
}

// Runs `render` with a GUI application object, creating one for the call when there is none.
template <typename Render> bool withGuiApplication(QString *error, Render render)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return render();
    if (QCoreApplication::instance()) {
        setError(error, QStringLiteral("snapshots need a GUI application object (OpenGL); the "
                                       "program was started without one"));
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
    return render();
}

} // namespace

bool renderSnapshots(const QList<std::shared_ptr<Model>> &models,
                     std::array<QByteArray, 3> *canvases, QString *error)
{
    return withGuiApplication(error, [&] { return renderCanvases(models, canvases, error); });
}

bool writeSnapshots(const QList<std::shared_ptr<Model>> &models, const QString &dir, QString *error)
{
    if (!QDir(dir).exists() && !QDir().mkpath(dir)) {
        setError(error, QStringLiteral("cannot create the folder %1").arg(dir));
        return false;
    }
    std::array<QByteArray, 3> canvases;
    if (!renderSnapshots(models, &canvases, error))
        return false;
    for (int view = 0; view < 3; ++view) {
        const QString stem = QDir(dir).filePath(snapshotName(static_cast<SnapshotView>(view)));
        QString writeError;
        if (!writeSnapshotFile(stem + QStringLiteral(".dat"), canvases[view], &writeError)) {
            setError(error, writeError);
            return false;
        }
        const QImage image(reinterpret_cast<const uchar *>(canvases[view].constData()),
                           SnapshotCanvas, SnapshotCanvas, SnapshotCanvas * 3,
                           QImage::Format_RGB888);
        if (!image.save(stem + QStringLiteral(".png"))) {
            setError(error, QStringLiteral("cannot write %1.png").arg(stem));
            return false;
        }
    }
    return true;
}

} // namespace Orvane3Ds
