// Frame time of the 3D view with Mesa's software renderer: an empty scene, 100,000 and
// 2,000,000 triangles, at rest and while the camera turns (large meshes then draw their
// clustered stand-in); and the time a model with many hand-placed rods takes to appear and to
// be drawn. Run under X (xvfb-run -a) with LIBGL_ALWAYS_SOFTWARE=1.
#include "render/GlHeaders.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/CRenderEngine.h"
#include "render/MeshSimplifier.h"
#include "render/OpenGLModel.h"
#include "render/QtGlBridge.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

namespace
{

// A sphere-like closed mesh of about `triangles` faces (latitude-longitude grid), radius 20,
// standing on the platform.
std::shared_ptr<Model> sphere(int triangles)
{
    const int rings = std::max(2, static_cast<int>(std::sqrt(triangles / 2.0)));
    const int sectors = std::max(3, triangles / (2 * rings));
    auto model = std::make_shared<Model>();
    auto &v = model->vertices();
    for (int r = 0; r <= rings; ++r) {
        const float phi = 3.14159265f * r / rings;
        for (int s = 0; s < sectors; ++s) {
            const float theta = 6.2831853f * s / sectors;
            v.push_back({20.0f * std::sin(phi) * std::cos(theta),
                         20.0f * std::sin(phi) * std::sin(theta), 20.0f + 20.0f * std::cos(phi)});
        }
    }
    auto &f = model->faces();
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < sectors; ++s) {
            const std::uint32_t a = r * sectors + s;
            const std::uint32_t b = r * sectors + (s + 1) % sectors;
            const std::uint32_t c = a + sectors;
            const std::uint32_t d = b + sectors;
            Face f1, f2;
            f1[0] = a, f1[1] = c, f1[2] = b;
            f2[0] = b, f2[1] = c, f2[2] = d;
            f.push_back(f1);
            f.push_back(f2);
        }
    model->setIndexed(true);
    model->computeFaceNormals();
    model->recomputeBounds();
    return model;
}

struct GlView {
    QOffscreenSurface surface;
    QOpenGLContext context;
    DScene scene;
    std::unique_ptr<Orvane3Ds::CRenderEngine> engine;
    std::unique_ptr<Orvane3Ds::OffscreenTarget> target;
    std::unique_ptr<QOpenGLFramebufferObject> multisampled;

    // samples > 0: draw into a multisampled framebuffer, as the application's view asks for.
    bool open(int width, int height, int samples = 0)
    {
        surface.create();
        if (!context.create() || !context.makeCurrent(&surface))
            return false;
        engine = std::make_unique<Orvane3Ds::CRenderEngine>(&scene);
        engine->setQuiet(true);
        if (!engine->initialiseGL())
            return false;
        if (samples > 0) {
            QOpenGLFramebufferObjectFormat format;
            format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
            format.setSamples(samples);
            multisampled = std::make_unique<QOpenGLFramebufferObject>(width, height, format);
            multisampled->bind();
        } else {
            target = std::make_unique<Orvane3Ds::OffscreenTarget>(width, height);
            target->bind();
        }
        engine->frame()->resize(width, height);
        return true;
    }
    ~GlView()
    {
        if (engine && context.makeCurrent(&surface)) {
            for (const auto &m : scene.models())
                scene.removeModel(m);
            target.reset();
            multisampled.reset();
            engine.reset();
        }
    }
};

// Second argument: samples per pixel of the framebuffer (0: none).
void frameTime(benchmark::State &state)
{
    GlView view;
    if (!view.open(1280, 720, static_cast<int>(state.range(1)))) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const int triangles = static_cast<int>(state.range(0));
    if (triangles > 0)
        view.scene.addModels({sphere(triangles)});
    view.engine->paintGL(); // first frame: buffers and shader state settle
    glFinish();
    for (auto _ : state) {
        view.engine->paintGL();
        glFinish();
    }
    std::size_t faces = 0;
    for (const auto &m : view.scene.models())
        faces += m->faces().size();
    state.counters["triangles"] = static_cast<double>(faces);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Frame time while the camera turns: every frame follows a camera step, as during a drag.
// Second argument 0: stand-ins switched off, for comparison. Third: samples per pixel.
void frameTimeWhileTurning(benchmark::State &state)
{
    GlView view;
    if (!view.open(1280, 720, static_cast<int>(state.range(2)))) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    if (state.range(1) == 0)
        view.engine->context()->proxyThreshold = std::numeric_limits<std::size_t>::max();
    view.scene.addModels({sphere(static_cast<int>(state.range(0)))});
    auto &frame = *view.engine->frame();
    view.engine->paintGL(); // uploads, and starts the stand-in of a large mesh
    for (const auto &d : frame.modelDrawables())
        d->waitForProxy();
    view.engine->paintGL();
    glFinish();
    std::size_t drawn = 0;
    for (auto _ : state) {
        frame.yawBy(1.0f);
        view.engine->paintGL();
        glFinish();
    }
    for (const auto &d : frame.modelDrawables())
        drawn += d->lastDrawnFaces();
    state.counters["drawn"] = static_cast<double>(drawn);
}

// Building the stand-in of a large mesh (on a worker thread in the application).
void proxyBuild(benchmark::State &state)
{
    auto model = sphere(static_cast<int>(state.range(0)));
    std::size_t faces = 0;
    for (auto _ : state) {
        auto proxy = Orvane3Ds::simplifyByClustering(model->vertices(), model->faces(), 180000);
        faces = proxy.faceCount;
        benchmark::DoNotOptimize(proxy.interleaved.data());
    }
    state.counters["faces"] = static_cast<double>(faces);
}

// Frame time right after the model moved: one re-upload of the whole buffer, then drawing.
// Second argument 0: stand-ins switched off.
void frameTimeAfterMove(benchmark::State &state)
{
    GlView view;
    if (!view.open(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    if (state.range(1) == 0)
        view.engine->context()->proxyThreshold = std::numeric_limits<std::size_t>::max();
    auto model = sphere(static_cast<int>(state.range(0)));
    view.scene.addModels({model});
    view.engine->paintGL();
    glFinish();
    float dx = 0.01f;
    for (auto _ : state) {
        model->transform(translationMatrix(dx, 0.0f, 0.0f));
        dx = -dx;
        view.engine->paintGL();
        glFinish();
    }
}

// A model with `rods` hand-placed rods in a grid under a 90 x 50 mm plate, as a project holding
// them is read: counters added_s (the model added to the scene, each rod, ball and their
// drawables announced), first_frame_s (the first frame, uploading the shared shapes) and the
// frame time after.
void rodsShown(benchmark::State &state)
{
    GlView view;
    if (!view.open(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const int rods = static_cast<int>(state.range(0));
    auto model = sphere(2000);
    model->transform(translationMatrix(0.0f, 0.0f, 20.0f));
    auto record = std::make_shared<ManualSupportRecord>();
    model->manualSupports().shared = record;
    int side = 1;
    while (side * side < rods)
        ++side;
    for (int i = 0; i < rods; ++i) {
        ManualSupportSettings s;
        s.topPoint = {-45.0f + 90.0f * float(i % side) / float(side),
                      -25.0f + 50.0f * float(i / side) / float(side), 20.0f};
        s.bottomPoint = {s.topPoint.x, s.topPoint.y, 0.0f};
        ManualSupportRecord::addRod(record, model->manualSupports().parts, s);
    }
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    view.scene.addModels({model});
    const auto t1 = Clock::now();
    view.engine->paintGL();
    glFinish();
    const auto t2 = Clock::now();
    for (auto _ : state) {
        view.engine->paintGL();
        glFinish();
    }
    state.counters["rods"] = rods;
    state.counters["added_s"] = std::chrono::duration<double>(t1 - t0).count();
    state.counters["first_frame_s"] = std::chrono::duration<double>(t2 - t1).count();
}

} // namespace

BENCHMARK(rodsShown)
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(90000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(frameTime)
    ->Args({0, 0})
    ->Args({100000, 0})
    ->Args({2000000, 0})
    ->Args({100000, 8})
    ->Args({2000000, 8})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(frameTimeWhileTurning)
    ->Args({100000, 1, 0})
    ->Args({2000000, 0, 0})
    ->Args({2000000, 1, 0})
    ->Args({2000000, 0, 8})
    ->Args({2000000, 1, 8})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(proxyBuild)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(frameTimeAfterMove)
    ->Args({100000, 1})
    ->Args({2000000, 0})
    ->Args({2000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
