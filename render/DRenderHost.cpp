#include "render/DRenderHost.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DViewInput.h"
#include "render/FrameSnapshot.h"
#include "render/InputEvent.h"

#include "app/CEnvironmentColors.h"
#include "app/DSharedApp.h"
#include "app/EnvironmentSetup.h"

#include <QOpenGLWidget>
#include <QSettings>

namespace Orvane3Ds
{

namespace
{

const char *const PreviewKeys[3] = {"map/ScreenShotFront", "map/ScreenShotTop",
                                    "map/ScreenShotLeft"};

Vec3f platformOf(const DSharedApp &app)
{
    const PlatformSize p = app.platformSize();
    return {p.x, p.y, p.z};
}

} // namespace

DRenderHost::DRenderHost(DSharedApp &app)
    : m_app(app), m_engine(&app.scene(), platformOf(app)), m_turner(nullptr),
      m_input(std::make_unique<DViewInput>(app))
{
}

DRenderHost::~DRenderHost()
{
    CEnvironmentColors::instance().setColorChangedCallback({});
}

bool DRenderHost::initialiseGL()
{
    CEnvironmentColors &colors = CEnvironmentColors::instance();
    loadEnvironmentFiles(colors, m_app, m_app.colorFile(), m_app.descriptionFile());
    if (!m_engine.initialiseGL()) {
        if (m_glReady)
            m_glReady(false);
        return false;
    }
    m_turner.setFrame(m_engine.frame().get());
    m_input->setFrame(m_engine.frame().get());
    if (m_clipSet) {
        m_engine.context()->clipZ = m_clipZ;
        m_engine.context()->upCut = m_upCut;
    }
    colors.setColorChangedCallback([this] { m_app.requestRepaint(); });
    if (initialEnvironmentColors(colors, m_app))
        applySelectedEnvironmentColor(colors, m_app);
    if (m_glReady)
        m_glReady(true);
    return true;
}

void DRenderHost::paintGL()
{
    m_engine.paintGL();
}

void DRenderHost::setClipZ(float z)
{
    m_clipZ = z;
    m_clipSet = true;
    if (const auto &context = m_engine.context())
        context->clipZ = z;
}

void DRenderHost::setUpCut(bool upCut)
{
    m_upCut = upCut;
    m_clipSet = true;
    if (const auto &context = m_engine.context())
        context->upCut = upCut;
}

DlpClipZWidget::Hooks DRenderHost::clipHooks()
{
    return {[this](bool upCut) { setUpCut(upCut); }, [this] { return m_upCut; },
            [this](float z) { setClipZ(z); }, [this] { m_app.requestRepaint(); }};
}

void DRenderHost::handleGLEvent(const void *record)
{
    if (!record)
        return;
    const std::uint16_t type = inputEventType(record);
    if (type == 6) {
        const auto *key = static_cast<const KeyEventRecord *>(record);
        if (key->key == Qt::Key_S && (key->modifiers & Qt::ControlModifier)) {
            writePreviews();
            return;
        }
    }
    // Any movement in the view, also one a tool takes, makes the next standard view start from
    // home.
    if (type == 5)
        m_turner.markDirty();
    if (m_input->handle(record))
        return;
    m_engine.handleGLEvent(record);
}

void DRenderHost::setRepaintCallback(std::function<void()> repaint)
{
    m_repaint = repaint;
    m_engine.setRepaintCallback(repaint);
    m_turner.setRepaint(repaint);
    m_app.setRepaintCallback(std::move(repaint));
}

bool DRenderHost::writePreview(int view)
{
    if (view < 0 || view > 2) {
        m_error = QStringLiteral("no preview picture %1").arg(view);
        return false;
    }
    if (!m_engine.isReady()) {
        m_error = QStringLiteral("the 3D view is not ready");
        return false;
    }
    const QString path = QSettings().value(QLatin1String(PreviewKeys[view])).toString();
    if (path.isEmpty()) {
        m_error = QStringLiteral("no file set for %1").arg(QLatin1String(PreviewKeys[view]));
        return false;
    }
    if (m_view)
        m_view->makeCurrent();
    const bool ok =
        m_engine.frame()->writeSnapshot(static_cast<SnapshotView>(view), path, &m_error);
    if (m_view)
        m_view->doneCurrent();
    return ok;
}

bool DRenderHost::writePreviews()
{
    bool ok = true;
    for (int view = 0; view < 3; ++view)
        ok = writePreview(view) && ok;
    if (m_repaint)
        m_repaint();
    return ok;
}

bool DRenderHost::renderPreviews(QByteArray *front, QByteArray *top, QByteArray *left)
{
    if (!m_engine.isReady()) {
        m_error = QStringLiteral("the 3D view is not ready");
        return false;
    }
    QByteArray *const targets[3] = {front, top, left};
    if (m_view)
        m_view->makeCurrent();
    bool ok = true;
    for (int view = 0; view < 3; ++view) {
        const QByteArray bytes = m_engine.frame()->renderSnapshot(static_cast<SnapshotView>(view));
        if (bytes.isEmpty()) {
            m_error = QStringLiteral("preview picture %1 could not be rendered").arg(view);
            ok = false;
        }
        if (targets[view])
            *targets[view] = bytes;
    }
    if (m_view)
        m_view->doneCurrent();
    if (m_repaint)
        m_repaint();
    return ok;
}

} // namespace Orvane3Ds
