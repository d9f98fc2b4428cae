#include "render/GlHeaders.h"

#include "render/COrvaneFrame.h"

#include "render/CContext.h"
#include "render/COpenGL.h"
#include "render/Excircle.h"
#include "render/GlMath.h"
#include "render/Grid.h"
#include "render/IFrameInteractor.h"
#include "render/OpenGLModel.h"
#include "render/QtGlBridge.h"

#include "app/CEnvironmentColors.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace Orvane3Ds
{

std::uint64_t drawableId(const Model *model)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(model));
}

namespace
{

Vec3f role(int r)
{
    return CEnvironmentColors::instance().roleColor(r);
}

Box3f sceneBox(DScene *scene)
{
    Box3f box;
    if (!scene)
        return box;
    for (const auto &model : scene->models()) {
        model->recomputeBounds();
        const Box3f &b = model->boundingBox();
        if (b.isEmpty())
            continue;
        for (int i = 0; i < 3; ++i) {
            box.min[i] = std::min(box.min[i], b.min[i]);
            box.max[i] = std::max(box.max[i], b.max[i]);
        }
    }
    return box;
}

} // namespace

COrvaneFrame::COrvaneFrame(std::shared_ptr<CContext> context)
    : m_context(std::move(context)), m_settleTimer(std::make_unique<QTimer>())
{
    m_settleTimer->setSingleShot(true);
    m_settleTimer->setInterval(150);
    QObject::connect(m_settleTimer.get(), &QTimer::timeout, [this] { settleView(); });
}

COrvaneFrame::~COrvaneFrame() = default;

void COrvaneFrame::noteViewMoving()
{
    m_viewMoving = true;
    m_settleTimer->start();
}

void COrvaneFrame::settleView()
{
    m_settleTimer->stop();
    const bool wasMoving = m_viewMoving;
    m_viewMoving = false;
    if (wasMoving && m_lastFrameReduced && m_repaintRequest)
        m_repaintRequest();
}

void COrvaneFrame::setSettleDelay(int milliseconds)
{
    m_settleTimer->setInterval(milliseconds);
}

int COrvaneFrame::settleDelay() const
{
    return m_settleTimer->interval();
}

void COrvaneFrame::initialise()
{
    m_interactor.reset();
    CContext &ctx = *m_context;
    ctx.camera.setCamera({0.0f, 600.0f, 60.0f}, 0.0f);
    ctx.camera.setSceneSize(ctx.platform);
    writeView();
    ctx.third = identityMatrix();
    m_grid = std::make_unique<Grid>(ctx.platform);
    m_grid->initGL(ctx.gl);
}

void COrvaneFrame::writeView()
{
    m_context->view = m_context->camera.viewMatrix();
}

Matrix4f COrvaneFrame::viewProjection() const
{
    return multiply(m_context->projection, m_context->view);
}

void COrvaneFrame::resize(int w, int h)
{
    m_width = w;
    m_height = h;
    CContext &ctx = *m_context;
    ctx.viewportWidth = static_cast<float>(w);
    ctx.viewportHeight = static_cast<float>(h);
    if (ctx.gl)
        ctx.gl->viewport(0, 0, w, h);
    const float t = std::tan(0.275f);
    const float aspect = h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f;
    Matrix4f p{};
    p[0] = 1.0f / (t * aspect);
    p[5] = 1.0f / t;
    p[10] = -1.002002f;
    p[11] = -1.0f;
    p[14] = -2.002002f;
    ctx.projection = p;
}

void COrvaneFrame::pressRight(int x, int y)
{
    m_lastX = x;
    m_lastY = y;
}

void COrvaneFrame::pressMiddle(int x, int y)
{
    if (m_interactor)
        m_interactor->offerPress(x, y);
    m_lastX = x;
    m_lastY = y;
}

void COrvaneFrame::dragRotate(int x, int y)
{
    const int dx = x - m_lastX;
    const int dy = y - m_lastY;
    m_context->camera.pitch(dy / 5.0f);
    m_context->camera.yaw(dx / 5.0f);
    writeView();
    noteViewMoving();
    m_lastX = x;
    m_lastY = y;
}

void COrvaneFrame::dragPan(int x, int y)
{
    m_context->camera.pan(x - m_lastX, y - m_lastY);
    writeView();
    noteViewMoving();
    m_lastX = x;
    m_lastY = y;
}

void COrvaneFrame::wheel(int delta)
{
    if (m_interactor && m_interactor->offerWheel(delta))
        return;
    zoomBy(static_cast<float>(delta / 10));
}

void COrvaneFrame::zoomBy(float amount)
{
    m_context->camera.zoomBy(amount);
    writeView();
    noteViewMoving();
}

void COrvaneFrame::pitchBy(float degrees)
{
    m_context->camera.pitch(degrees);
    writeView();
    noteViewMoving();
}

void COrvaneFrame::yawBy(float degrees)
{
    m_context->camera.yaw(degrees);
    writeView();
    noteViewMoving();
}

void COrvaneFrame::homeView()
{
    m_context->camera.setCamera({600.0f, 0.0f, 60.0f}, 0.0f);
    writeView();
}

void COrvaneFrame::topViewReset()
{
    m_context->camera.setCamera({600.0f, 0.0f, 60.0f}, 90.0f);
    writeView();
}

Ray COrvaneFrame::pickRay(int x, int y, int width, int height)
{
    Ray ray;
    if (m_interactor && m_interactor->offerPickRay(x, y, width, height, &ray))
        return ray;
    const CContext &ctx = *m_context;
    Matrix4f inverse;
    Matrix4f inverseView;
    if (width <= 0 || height <= 0 || !invertMatrix(multiply(ctx.projection, ctx.view), inverse) ||
        !invertMatrix(ctx.view, inverseView))
        return ray;
    const float wx = static_cast<float>(x);
    const float wy = static_cast<float>(height - 1 - y);
    const Vec3f ndc{2.0f * (wx / width) - 1.0f, 2.0f * (wy / height) - 1.0f, 2.0f * (-1.0f) - 1.0f};
    const Vec3f point = projectPoint(inverse, ndc);
    ray.origin = {inverseView[12], inverseView[13], inverseView[14]};
    ray.direction = point - ray.origin;
    return ray;
}

RayHit COrvaneFrame::pick(int x, int y, int width, int height)
{
    if (!m_scene)
        return {};
    return m_scene->nearestHit(pickRay(x, y, width, height));
}

std::shared_ptr<OpenGLModel> COrvaneFrame::makeDrawable(const std::shared_ptr<Mesh3D> &mesh,
                                                        std::uint64_t id)
{
    auto drawable = std::make_shared<OpenGLModel>(mesh, id);
    // Scene changes may arrive outside a frame (a finished import); the buffers are then
    // created at the next draw, where the view's context is current.
    if (m_context->gl)
        drawable->initGLWhenPossible(m_context->gl);
    return drawable;
}

std::shared_ptr<OpenGLModel> COrvaneFrame::addModel(const std::shared_ptr<Model> &model)
{
    if (!model)
        return {};
    if (auto existing = drawableOf(model))
        return existing;
    auto drawable = makeDrawable(model, drawableId(model.get()));
    m_models.push_back(drawable);
    m_modelSources.push_back(model);
    setSupports(model);
    return drawable;
}

void COrvaneFrame::removeModel(const std::shared_ptr<Model> &model)
{
    for (std::size_t i = 0; i < m_models.size();) {
        if (m_modelSources[i] == model) {
            m_models[i]->releaseGL();
            m_models.erase(m_models.begin() + static_cast<std::ptrdiff_t>(i));
            m_modelSources.erase(m_modelSources.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    const std::uint64_t id = drawableId(model.get());
    auto dropOwned = [id](std::vector<std::shared_ptr<OpenGLModel>> &list) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [id](const auto &d) { return d->ownerId() == id; }),
                   list.end());
    };
    dropOwned(m_overhangMarkers);
    dropOwned(m_secondaryMarkers);
    if (m_editedModel == model)
        m_editedModel.reset();
}

std::shared_ptr<OpenGLModel> COrvaneFrame::drawableOf(const std::shared_ptr<Model> &model) const
{
    for (std::size_t i = 0; i < m_models.size(); ++i)
        if (m_modelSources[i] == model)
            return m_models[i];
    return {};
}

void COrvaneFrame::setSupports(const std::shared_ptr<Model> &model)
{
    auto drawable = drawableOf(model);
    if (!drawable)
        return;
    auto &supports = drawable->supports();
    supports.clear();
    m_pieceIndex = {};
    if (const auto &support = model->support())
        for (const auto &part : support->parts)
            if (part)
                supports.push_back(makeDrawable(part, drawable->id()));
    for (const auto &piece : model->manualSupports().parts)
        if (piece)
            supports.push_back(makeDrawable(piece, drawable->id()));
}

void COrvaneFrame::addManualPiece(const std::shared_ptr<Mesh3D> &piece,
                                  const std::shared_ptr<Model> &owner)
{
    auto drawable = drawableOf(owner);
    if (!drawable || !piece)
        return;
    auto &supports = drawable->supports();
    // A model with rods announces them once more after its drawable took all its pieces.
    PieceIndex &index = m_pieceIndex;
    if (index.drawable.lock() != drawable) {
        index.drawable = drawable;
        index.meshes.clear();
        index.meshes.reserve(supports.size());
        for (const auto &d : supports)
            index.meshes.insert(d->mesh().get());
    }
    if (!index.meshes.insert(piece.get()).second)
        return;
    supports.push_back(makeDrawable(piece, drawable->id()));
}

void COrvaneFrame::removeManualPiece(const std::shared_ptr<Mesh3D> &piece)
{
    m_pieceIndex.meshes.erase(piece.get());
    for (const auto &drawable : m_models) {
        auto &supports = drawable->supports();
        supports.erase(std::remove_if(supports.begin(), supports.end(),
                                      [&piece](const auto &d) { return d->mesh() == piece; }),
                       supports.end());
    }
    removeMarker(piece);
}

void COrvaneFrame::manualPieceChanged(const std::shared_ptr<Mesh3D> &piece)
{
    for (const auto &drawable : m_models)
        for (auto &support : drawable->supports())
            if (support->mesh() == piece)
                support = makeDrawable(piece, drawable->id());
}

void COrvaneFrame::addOverhangMarker(const std::shared_ptr<Mesh3D> &marker,
                                     const std::shared_ptr<Model> &owner)
{
    auto d = makeDrawable(marker, 0);
    d->setOwnerId(drawableId(owner.get()));
    m_overhangMarkers.push_back(d);
}

void COrvaneFrame::addSecondaryMarker(const std::shared_ptr<Mesh3D> &marker,
                                      const std::shared_ptr<Model> &owner)
{
    auto d = makeDrawable(marker, 0);
    d->setOwnerId(drawableId(owner.get()));
    m_secondaryMarkers.push_back(d);
}

void COrvaneFrame::removeMarker(const std::shared_ptr<Mesh3D> &marker)
{
    for (auto *list : {&m_overhangMarkers, &m_secondaryMarkers})
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [&marker](const auto &d) { return d->mesh() == marker; }),
                    list->end());
}

void COrvaneFrame::removeMarkers(const std::vector<const Mesh3D *> &markers)
{
    if (markers.empty())
        return;
    const std::unordered_set<const Mesh3D *> gone(markers.begin(), markers.end());
    for (auto *list : {&m_overhangMarkers, &m_secondaryMarkers})
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [&gone](const auto &d) { return gone.count(d->mesh().get()); }),
                    list->end());
}

void COrvaneFrame::addAuxiliary(const std::shared_ptr<OpenGLModel> &drawable)
{
    if (m_context->gl && !drawable->isInitialised())
        drawable->initGLWhenPossible(m_context->gl);
    m_auxiliary.push_back(drawable);
}

void COrvaneFrame::addExcircle(const std::shared_ptr<Excircle> &ring)
{
    if (m_context->gl && !ring->isInitialised())
        ring->initGLWhenPossible(m_context->gl);
    m_excircles.push_back(ring);
}

void COrvaneFrame::setEditedModel(const std::shared_ptr<Model> &model)
{
    m_editedModel = model;
}

void COrvaneFrame::draw()
{
    CContext &ctx = *m_context;
    if (!ctx.gl)
        return;
    COpenGL &gl = *ctx.gl;
    assignProxyTargets();
    // Highlighted faces come from the full mesh; a stand-in under them would not match.
    const bool reduced = m_viewMoving && !(m_editMode && m_interactor && m_interactor->isActive());
    // A view heavy enough to need stand-ins also drops multisampling while it moves: with a
    // software renderer every sample costs rasterising time.
    const bool heavy = reduced && std::any_of(m_models.begin(), m_models.end(), [](const auto &d) {
                           return d->proxyFaceCount() > 0;
                       });
    if (heavy)
        glDisable(GL_MULTISAMPLE);
    else
        gl.enable(GL_MULTISAMPLE);
    gl.enable(GL_DEPTH_TEST);
    gl.depthFunc(GL_LEQUAL);
    gl.cullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
    // The clear colour is set before clearing, so a snapshot's black never leaks into a frame.
    gl.clearColor(m_clearColor[0], m_clearColor[1], m_clearColor[2], m_clearColor[3]);
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ctx.eye = ctx.camera.eye();
    OpenGLObject::flushDeferredDeletions();
    if (m_grid)
        m_grid->draw(ctx);
    ctx.reducedDetail = reduced;
    drawScene();
    ctx.reducedDetail = false;
    m_lastFrameReduced = std::any_of(m_models.begin(), m_models.end(),
                                     [](const auto &d) { return d->lastDrawUsedProxy(); });
}

void COrvaneFrame::assignProxyTargets()
{
    const CContext &ctx = *m_context;
    std::size_t total = 0;
    for (const auto &d : m_models)
        if (d->mesh() && d->mesh()->sourceKind() == SourceKind::Mesh)
            total += d->mesh()->faces().size();
    // Models too small for a stand-in worth having are drawn whole.
    const std::size_t smallest = std::max<std::size_t>(1, ctx.proxyFaces / 64);
    for (const auto &d : m_models) {
        std::size_t target = 0;
        if (total > ctx.proxyThreshold && d->mesh() &&
            d->mesh()->sourceKind() == SourceKind::Mesh) {
            const std::size_t faces = d->mesh()->faces().size();
            target =
                static_cast<std::size_t>(static_cast<double>(ctx.proxyFaces) *
                                         static_cast<double>(faces) / static_cast<double>(total));
            if (target < smallest || faces < 2 * target)
                target = 0;
        }
        d->setProxyTarget(target);
    }
}

void COrvaneFrame::setFrameUniforms()
{
    CContext &ctx = *m_context;
    COpenGL &gl = *ctx.gl;
    const COrvaneProgramModel &p = ctx.modelProgram;
    const Vec3f e = ctx.eye;
    const float len = e.length();
    const Vec3f light = len > 0.0f ? (-e) * (1.0f / len) : Vec3f{0.0f, 0.0f, -1.0f};
    gl.uniform3f(p.dirLightColor, 1.0f, 1.0f, 1.0f);
    gl.uniform1f(p.dirLightAmbient, 0.5f);
    gl.uniform3f(p.dirLightPosition, light.x, light.y, light.z);
    gl.uniform1f(p.dirLightDiffuse, 0.5f);
    gl.uniform3f(p.eye, e.x, e.y, e.z);
    gl.uniform1f(p.matSpecularIntensity, 0.3f);
    gl.uniform1f(p.specularPower, 90.0f);
    gl.uniform1f(p.outZ, ctx.clipZ);
    gl.uniform1i(p.upCut, ctx.upCut ? 1 : 0);
    gl.uniform4f(p.lightPosition, 1.0f, 1.0f, 1.0f, 0.0f);
    gl.uniform3f(p.lightAmbient, 0.1f, 0.1f, 0.1f);
    gl.uniform3f(p.lightDiffuse, 0.5f, 0.5f, 0.5f);
    gl.uniform3f(p.lightSpecular, 5.0f, 5.0f, 5.0f);
    gl.uniform3f(p.material[0], 0.5f, 0.5f, 0.5f);
    gl.uniform3f(p.material[1], 0.5f, 0.8f, 0.5f);
    gl.uniform3f(p.material[2], 0.2f, 0.2f, 2.0f);
    gl.uniform1f(p.material[3], 50.0f);
}

void COrvaneFrame::drawScene()
{
    CContext &ctx = *m_context;
    COpenGL &gl = *ctx.gl;

    if (m_showAuxiliary) {
        ctx.modelProgram.bind();
        setFrameUniforms();
        for (const auto &aux : m_auxiliary) {
            ctx.color = aux->mesh() ? aux->mesh()->colour() : role(5);
            ctx.frontColor = ctx.color;
            aux->draw(ctx);
        }
        ctx.modelProgram.unbind();
    }

    if (!m_editMode) {
        for (const auto &d : m_models) {
            if (!d->isContour())
                continue;
            ctx.normalProgram.bind();
            gl.uniform1f(ctx.normalProgram.outZ, ctx.clipZ);
            gl.uniform1i(ctx.normalProgram.upCut, ctx.upCut ? 1 : 0);
            ctx.color = role(1);
            d->draw(ctx);
            ctx.normalProgram.unbind();
        }
    }

    ctx.modelProgram.bind();
    setFrameUniforms();
    if (m_editMode) {
        if (m_editedModel && m_editedModel->sourceKind() == SourceKind::Mesh)
            if (auto d = drawableOf(m_editedModel))
                drawModel(*d, m_editedModel);
    } else {
        for (std::size_t i = 0; i < m_models.size(); ++i)
            if (!m_models[i]->isContour())
                drawModel(*m_models[i], m_modelSources[i]);
    }
    if (m_interactor)
        m_interactor->drawOverlay(ctx);
    if (m_showExcircles)
        for (const auto &ring : m_excircles) {
            if (ring->mesh())
                ctx.color = ring->mesh()->colour();
            ring->draw(ctx);
        }
    ctx.modelProgram.unbind();
}

void COrvaneFrame::drawModel(OpenGLModel &drawable, const std::shared_ptr<Model> &model)
{
    CContext &ctx = *m_context;
    const bool selected = m_scene && m_scene->isSelected(model);
    ctx.frontColor = selected ? role(1) : role(0);
    ctx.backColor = {1.0f, 0.0f, 0.0f};
    ctx.color = ctx.frontColor;

    if (m_editMode && m_interactor && m_interactor->isActive()) {
        const Vec3f keepFront = ctx.frontColor;
        ctx.color = ctx.frontColor = {0.7f, 0.0f, 0.0f};
        drawable.drawFaces(ctx, m_interactor->highlightedFaces());
        ctx.color = ctx.frontColor = keepFront;
    }

    drawable.draw(ctx);

    for (const auto &support : drawable.supports()) {
        support->setModelMatrix(drawable.modelMatrix());
        ctx.frontColor = support->mesh()->colour();
        ctx.color = ctx.frontColor;
        support->draw(ctx);
    }
    for (const auto &marker : m_overhangMarkers) {
        if (marker->ownerId() != drawable.id())
            continue;
        marker->setModelMatrix(drawable.modelMatrix());
        ctx.color = ctx.frontColor = role(2);
        marker->draw(ctx);
    }
    for (const auto &marker : m_secondaryMarkers) {
        if (marker->ownerId() != drawable.id())
            continue;
        marker->setModelMatrix(drawable.modelMatrix());
        ctx.color = ctx.frontColor = role(5);
        marker->draw(ctx);
    }
}

QByteArray COrvaneFrame::renderSnapshot(SnapshotView view)
{
    CContext &ctx = *m_context;
    const Box3f box = sceneBox(m_scene);
    const SnapshotSize size = snapshotSize(box, view);
    if (!ctx.gl || size.width <= 0 || size.height <= 0)
        return composeSnapshotCanvas({}, 0, 0);

    GreyRoleColorsScope grey;
    OffscreenTarget target(SnapshotCanvas, SnapshotCanvas);
    if (!target.bind())
        return composeSnapshotCanvas({}, 0, 0);
    glPushAttrib(GL_VIEWPORT_BIT);
    COpenGL &gl = *ctx.gl;
    gl.enable(GL_DEPTH_TEST);
    gl.depthFunc(GL_LEQUAL);
    gl.enable(GL_CULL_FACE);
    gl.cullFace(GL_BACK);
    gl.clearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.viewport(0, 0, size.width, size.height);

    const Matrix4f keepProjection = ctx.projection;
    const Matrix4f keepView = ctx.view;
    const float keepClip = ctx.clipZ;
    const bool keepUpCut = ctx.upCut;
    const SnapshotCamera camera = snapshotCamera(box, view);
    ctx.projection = camera.projection;
    ctx.view = camera.view;
    Matrix4f inverseView;
    if (invertMatrix(camera.view, inverseView))
        ctx.eye = {inverseView[12], inverseView[13], inverseView[14]};
    // Preview pictures show the whole parts, whatever the clip plane of the view.
    ctx.clipZ = std::numeric_limits<float>::max();
    ctx.upCut = true;
    ctx.reducedDetail = false;
    drawScene();
    ctx.projection = keepProjection;
    ctx.view = keepView;
    ctx.clipZ = keepClip;
    ctx.upCut = keepUpCut;

    QByteArray rgba(size.width * size.height * 4, '\0');
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopAttrib();
    glDisable(GL_CULL_FACE);
    target.release();

    homeView();
    resize(m_width, m_height);
    return composeSnapshotCanvas(rgba, size.width, size.height);
}

bool COrvaneFrame::writeSnapshot(SnapshotView view, const QString &path, QString *error)
{
    return writeSnapshotFile(path, renderSnapshot(view), error);
}

} // namespace Orvane3Ds
