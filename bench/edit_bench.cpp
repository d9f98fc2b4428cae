// Model editing with Mesa's software renderer: frame time while a model is dragged with the move
// tool (stand-ins on and off), the release that moves the mesh and uploads it once, and undo and
// redo of a recorded move of a large model. Run under X (xvfb-run -a) with
// LIBGL_ALWAYS_SOFTWARE=1.
#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/CRenderEngine.h"
#include "render/DMoveModelInteractor.h"
#include "render/InputEvent.h"
#include "render/OpenGLModel.h"
#include "render/QtGlBridge.h"

#include "app/Command.h"
#include "app/CommandStack.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{

// A closed latitude-longitude sphere of about `triangles` faces, radius 20, on the platform.
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
            Face f1, f2;
            f1[0] = a, f1[1] = a + sectors, f1[2] = b;
            f2[0] = b, f2[1] = a + sectors, f2[2] = b + sectors;
            f.push_back(f1);
            f.push_back(f2);
        }
    model->setIndexed(true);
    model->computeDerivedData();
    return model;
}

struct EditScene {
    QOffscreenSurface surface;
    QOpenGLContext context;
    DScene scene;
    std::unique_ptr<Orvane3Ds::CRenderEngine> engine;
    std::unique_ptr<Orvane3Ds::OffscreenTarget> target;
    std::shared_ptr<Orvane3Ds::DMoveModelInteractor> tool;
    std::shared_ptr<CommandTarget> commands = std::make_shared<CommandTarget>();
    CommandStack stack;
    std::shared_ptr<Model> model;
    static constexpr int Width = 1280;
    static constexpr int Height = 720;

    bool open(int triangles, bool standIns)
    {
        surface.create();
        if (!context.create() || !context.makeCurrent(&surface))
            return false;
        engine = std::make_unique<Orvane3Ds::CRenderEngine>(&scene);
        engine->setQuiet(true);
        if (!engine->initialiseGL())
            return false;
        target = std::make_unique<Orvane3Ds::OffscreenTarget>(Width, Height);
        target->bind();
        auto &frame = *engine->frame();
        frame.resize(Width, Height);
        frame.topViewReset();
        if (!standIns)
            engine->context()->proxyThreshold = std::numeric_limits<std::size_t>::max();
        model = sphere(triangles);
        scene.addModels({model});
        commands->scene = &scene;
        commands->frame = &frame;
        tool = std::make_shared<Orvane3Ds::DMoveModelInteractor>();
        Orvane3Ds::InteractorHooks hooks;
        hooks.commandTarget = commands;
        hooks.record = [this](std::shared_ptr<Command> c) { stack.push(std::move(c)); };
        tool->setHooks(hooks);
        tool->attach(&frame);
        frame.setInteractor(tool);
        tool->setMode(1);
        paint();
        for (const auto &d : frame.modelDrawables())
            d->waitForProxy();
        paint();
        return true;
    }

    void paint()
    {
        engine->paintGL();
        context.functions()->glFinish();
    }

    void mouse(std::uint16_t type, int x, int y, std::uint32_t button, std::uint32_t buttons)
    {
        InputEvent e;
        e.type = type;
        e.widgetWidth = Width;
        e.widgetHeight = Height;
        e.x = x;
        e.y = y;
        e.button = button;
        e.buttons = buttons;
        tool->handleEvent(&e);
    }

    ~EditScene()
    {
        if (engine && context.makeCurrent(&surface)) {
            engine->frame()->setInteractor({});
            for (const auto &m : scene.models())
                scene.removeModel(m);
            target.reset();
            engine.reset();
        }
    }
};

// One drag step (a mouse move with the button held) and the frame that shows it.
// Second argument 0: stand-ins switched off, for comparison.
void dragFrame(benchmark::State &state)
{
    EditScene s;
    if (!s.open(static_cast<int>(state.range(0)), state.range(1) != 0)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const int cx = EditScene::Width / 2;
    const int cy = EditScene::Height / 2;
    s.mouse(2, cx, cy, 1, 1);
    int step = 0;
    for (auto _ : state) {
        ++step;
        s.mouse(5, cx + (step % 40), cy, 0, 1);
        s.paint();
    }
    const auto drawable = s.engine->frame()->drawableOf(s.model);
    state.counters["drawn"] = static_cast<double>(drawable->lastDrawnFaces());
    state.counters["uploads"] = static_cast<double>(drawable->uploadCount());
    s.mouse(3, cx, cy, 1, 0);
}

// Press, one step, release (the mesh moves, the move is recorded) and the frame after it, which
// uploads the moved mesh once.
void dragRelease(benchmark::State &state)
{
    EditScene s;
    if (!s.open(static_cast<int>(state.range(0)), true)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const int cx = EditScene::Width / 2;
    const int cy = EditScene::Height / 2;
    int dir = 1;
    for (auto _ : state) {
        s.mouse(2, cx, cy, 1, 1);
        s.mouse(5, cx + 10 * dir, cy, 0, 1);
        s.mouse(3, cx + 10 * dir, cy, 1, 0);
        s.paint();
        dir = -dir;
    }
    state.counters["recorded"] = static_cast<double>(s.stack.undoList().size());
}

// Undo then redo of one recorded move of the model (both put the stored vertices back).
void undoRedoMove(benchmark::State &state)
{
    EditScene s;
    if (!s.open(static_cast<int>(state.range(0)), true)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const int cx = EditScene::Width / 2;
    const int cy = EditScene::Height / 2;
    s.mouse(2, cx, cy, 1, 1);
    s.mouse(5, cx + 30, cy, 0, 1);
    s.mouse(3, cx + 30, cy, 1, 0);
    for (auto _ : state) {
        s.stack.undo();
        s.stack.redo();
    }
    state.counters["heldMB"] = static_cast<double>(s.stack.heldBytes()) / 1e6;
}

} // namespace

BENCHMARK(dragFrame)
    ->Args({100000, 1})
    ->Args({2000000, 0})
    ->Args({2000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(dragRelease)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(undoRedoMove)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
