// Wall time of a standard-view transition (the Top camera button, 30 steps of 3 degrees) in the
// real main window with a model of about 75,000 triangles, from the press until the last step is
// drawn. Run under X with Mesa's software renderer:
//   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" bin/window_bench
// "animated" is the window as shipped (steps from a timer, one per frame, the window answering
// between them); "blocking" runs the same 30 steps inside the press with 10 ms pauses, the way
// the view turned before, for comparison.
#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/ViewTurner.h"

#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "render/GLBox.h"
#include "ui/CDlpMainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cmath>
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
    model->setBaseName(QStringLiteral("sphere.stl"));
    return model;
}

struct Window {
    QTemporaryDir folder;
    std::unique_ptr<CDlpMainWindow> window;

    Window()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           folder.filePath(QStringLiteral("settings")));
        window = std::make_unique<CDlpMainWindow>(QStringList(), nullptr, folder.path());
        window->showNormal();
        window->setGeometry(0, 0, 1280, 800);
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("the window was not shown");
        window->app()->addModelsToScene({sphere(75000)});
        QTest::qWait(500);
    }
};

// Built on first use, destroyed before the application object.
std::unique_ptr<Window> g_window;

Window &sharedWindow()
{
    if (!g_window)
        g_window = std::make_unique<Window>();
    return *g_window;
}

void standardViewTransition(benchmark::State &state)
{
    const bool animated = state.range(0) != 0;
    Window &w = sharedWindow();
    Orvane3Ds::ViewTurner &turner = w.window->renderHost()->turner();
    turner.setAnimated(animated);
    state.counters["triangles"] = double(w.window->app()->scene().models().front()->faces().size());
    state.counters["samples"] = w.window->glBox()->format().samples();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        turner.top();
        while (turner.isAnimating())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        state.PauseTiming();
        turner.home();
        while (turner.isAnimating())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QTest::qWait(100);
        state.ResumeTiming();
    }
    turner.setAnimated(true);
}

} // namespace

BENCHMARK(standardViewTransition)
    ->ArgName("animated")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    return 0;
}
