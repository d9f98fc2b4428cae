// Wall time of a standard-view transition (the Top camera button, 30 steps of 3 degrees) in the
// real main window with a model of about 75,000 triangles, from the press until the last step is
// drawn. Run under X with Mesa's software renderer:
//   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" bin/window_bench
// "animated" is the window as shipped (steps from a timer, one per frame, the window answering
// between them); "blocking" runs the same 30 steps inside the press with 10 ms pauses, the way
// the view turned before, for comparison.
//
// supportGenerate: the generate button of the support panel (medium profile) on a model of
// about 1,000,000 triangles, from the press until the supports are in the view. Besides the
// total time it reports the longest stretch in which the window's event loop did not run
// (maxStallMs; a 1 ms timer measures it), how often the loop ran meanwhile and, for comparison,
// how long one full-detail frame of the view with this model takes (frameMs). supportCancel:
// the same job cancelled 300 ms after the press, the time from the cancel until the model is
// back as it was (cancelMs).
#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DRenderHost.h"
#include "render/ViewTurner.h"

#include "app/CSupportApp.h"
#include "app/DlpOrvaneApp.h"
#include "geometry/Model.h"
#include "render/GLBox.h"
#include "ui/CDlpMainWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/SdSupportConfigFiles.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
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

    explicit Window(int triangles)
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
        window->app()->addModelsToScene({sphere(triangles)});
        QTest::qWait(500);
    }
};

// Built on first use, destroyed before the application object; one at a time.
std::unique_ptr<Window> g_window;
int g_windowTriangles = 0;

Window &sharedWindow(int triangles = 75000)
{
    if (!g_window || g_windowTriangles != triangles) {
        g_window.reset();
        g_window = std::make_unique<Window>(triangles);
        g_windowTriangles = triangles;
    }
    return *g_window;
}

// The support panel of the window, opened, with the medium profile chosen.
SdSupportConfigFiles *supportPanel(Window &w)
{
    DlpMainWindow *main = w.window->mainWindow();
    auto *panel = qobject_cast<SdSupportConfigFiles *>(main->panel(DlpModelOperateWidget::Support));
    if (!panel)
        return nullptr;
    if (!panel->isVisible())
        main->addSupportWidget();
    const int medium = panel->profileList()->findText(QStringLiteral("medium.ini"));
    if (medium <= 0)
        return nullptr;
    panel->profileList()->setCurrentIndex(medium);
    panel->onCurrentConfigChange(medium);
    QTest::qWait(50);
    return panel;
}

// Longest gap between two runs of the event loop while it is being watched, by a 1 ms timer.
class StallWatch
{
  public:
    StallWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
            ++m_ticks;
        });
    }
    void start()
    {
        m_longest = 0;
        m_ticks = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop()
    {
        m_timer.stop();
        m_longest = std::max(m_longest, m_clock.nsecsElapsed() - m_last);
    }
    double longestMs() const { return m_longest / 1e6; }
    long ticks() const { return m_ticks; }

  private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    long m_ticks = 0;
};

void supportGenerate(benchmark::State &state)
{
    Window &w = sharedWindow(static_cast<int>(state.range(0)));
    SdSupportConfigFiles *panel = supportPanel(w);
    if (!panel) {
        state.SkipWithError("no support panel or no medium profile");
        return;
    }
    Orvane3Ds::CSupportApp &support = w.window->app()->supportApp();
    const auto model = w.window->app()->scene().models().front();
    state.counters["triangles"] = double(model->faces().size());
    {
        // One full-detail frame of the view with this model, for comparison with the stalls.
        QElapsedTimer frame;
        frame.start();
        w.window->glBox()->grabFramebuffer();
        state.counters["frameMs"] = frame.nsecsElapsed() / 1e6;
    }
    StallWatch watch;
    double longest = 0.0;
    double ticks = 0.0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        watch.start();
        panel->generateButton()->click();
        while (support.isBusy())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            5);
        // The supports are drawn once.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        w.window->glBox()->grabFramebuffer();
        watch.stop();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        longest = std::max(longest, watch.longestMs());
        ticks += double(watch.ticks());
        state.PauseTiming();
        state.counters["points"] = double(model->overhangs().size());
        support.removeSupports(false, false);
        QTest::qWait(100);
        state.ResumeTiming();
    }
    state.counters["maxStallMs"] = longest;
    state.counters["loopRuns"] = ticks / double(state.iterations());
}

void supportCancel(benchmark::State &state)
{
    Window &w = sharedWindow(static_cast<int>(state.range(0)));
    SdSupportConfigFiles *panel = supportPanel(w);
    if (!panel) {
        state.SkipWithError("no support panel or no medium profile");
        return;
    }
    Orvane3Ds::CSupportApp &support = w.window->app()->supportApp();
    double cancelMs = 0.0;
    double longest = 0.0;
    StallWatch watch;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        watch.start();
        panel->generateButton()->click();
        QTest::qWait(300);
        QElapsedTimer cancel;
        cancel.start();
        w.window->app()->onCancelProcess();
        while (support.isBusy())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            5);
        watch.stop();
        cancelMs = std::max(cancelMs, cancel.nsecsElapsed() / 1e6);
        longest = std::max(longest, watch.longestMs());
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        state.PauseTiming();
        if (support.lastError() != QLatin1String("Canceled"))
            support.removeSupports(false, false);
        QTest::qWait(100);
        state.ResumeTiming();
    }
    state.counters["cancelMs"] = cancelMs;
    state.counters["maxStallMs"] = longest;
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

BENCHMARK(supportGenerate)
    ->ArgName("triangles")
    ->Arg(1000000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(supportCancel)
    ->ArgName("triangles")
    ->Arg(1000000)
    ->Iterations(3)
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
