// Loading a project full of overhang points and hand-placed rods, the way the command line does:
// the project read alone, "--info" (read, supports generated again, report) and
// "--export-vxpr" (all that and the slicing). Each overhang point and each rod end is drawn as a
// marker ball; the figures show what the loaded project costs against its file size.
// Each run is a child process of its own. Counters: file_MB, peak_RSS_MB (the peak resident
// size of that run), added_MB (that peak above the resident size at its start) and
// added_per_file (added_MB over file_MB).
#include "app/HeadlessCli.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "io/DIoVXPJ.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace
{

// Resident size now and at its peak (VmRSS, VmHWM), in bytes.
std::int64_t statusBytes(const char *key)
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    std::int64_t kb = 0;
    const std::size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, n) == 0)
            kb = std::atoll(line + n + 1);
    std::fclose(f);
    return kb * 1024;
}

// Starts a new peak at the current resident size (Linux: "5" into clear_refs).
void resetPeak()
{
    if (std::FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// A 100 x 100 x 5 mm box floating 10 mm above the platform; the overhang points sit in a grid
// on its bottom face, the rods stand from its bottom face down to the platform.
std::shared_ptr<Model> floatingBox(int overhangs, int rods)
{
    auto model = std::make_shared<Model>();
    model->setBaseName(QStringLiteral("Plate"));
    model->setIndexed(true);
    const float x0 = 0, y0 = 0, z0 = 10, x1 = 100, y1 = 100, z1 = 15;
    model->vertices() = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                         {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    model->faces() = {Face{{0, 2, 1}}, Face{{0, 3, 2}}, Face{{4, 5, 6}}, Face{{4, 6, 7}},
                      Face{{0, 1, 5}}, Face{{0, 5, 4}}, Face{{1, 2, 6}}, Face{{1, 6, 5}},
                      Face{{2, 3, 7}}, Face{{2, 7, 6}}, Face{{3, 0, 4}}, Face{{3, 4, 7}}};
    model->recomputeBounds();
    model->computeFaceNormals();
    model->computeCentroid();
    model->setSize(model->extent());

    auto grid = [](int count, int i, float inset) {
        int side = 1;
        while (side * side < count)
            ++side;
        const float step = (100.0f - 2.0f * inset) / float(side);
        return Point3f{inset + step * float(i % side), inset + step * float(i / side), 10.0f};
    };
    model->overhangs().reserve(std::size_t(overhangs));
    for (int i = 0; i < overhangs; ++i)
        model->overhangs().push_back(
            std::make_shared<Overhang>(grid(overhangs, i, 1.0f), Vec3f{0, 0, -1}, 0.25f, 0.25f));
    auto record = std::make_shared<ManualSupportRecord>();
    ManualSupports &manual = model->manualSupports();
    manual.shared = record;
    for (int i = 0; i < rods; ++i) {
        ManualSupportSettings s;
        s.topPoint = grid(rods, i, 1.2f);
        s.bottomPoint = {s.topPoint.x, s.topPoint.y, 0.0f};
        s.topBallRadius = 0.2f;
        s.bottomBallRadius = 0.3f;
        ManualSupportRecord::addRod(record, manual.parts, s);
    }
    return model;
}

struct Project {
    QString path;
    double fileMB = 0;
};

// One project per size, written once by a child process, so that building it leaves no memory
// behind in this one.
const Project &project(int overhangs, int rods)
{
    static QTemporaryDir dir;
    static std::map<std::pair<int, int>, Project> made;
    Project &p = made[{overhangs, rods}];
    if (p.path.isEmpty()) {
        p.path = dir.filePath(QStringLiteral("markers-%1-%2.vxpj").arg(overhangs).arg(rods));
        const pid_t child = ::fork();
        if (child == 0) {
            Vxpj::saveProject(p.path, {floatingBox(overhangs, rods)});
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        p.fileMB = double(QFileInfo(p.path).size()) / (1024.0 * 1024.0);
    }
    return p;
}

struct Figures {
    double seconds = 0;
    std::int64_t startRss = 0;
    std::int64_t peakRss = 0;
};

// Runs op in a child process (a fresh heap each time) and returns its time and resident sizes.
template <typename Op> Figures runInChild(const Project &p, Op op)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        Figures f;
        f.startRss = statusBytes("VmRSS:");
        resetPeak();
        const auto t0 = std::chrono::steady_clock::now();
        op(p);
        f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        f.peakRss = statusBytes("VmHWM:");
        const ssize_t written = ::write(pipeEnds[1], &f, sizeof f);
        ::_exit(written == ssize_t(sizeof f) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    Figures f;
    const ssize_t got = ::read(pipeEnds[0], &f, sizeof f);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return got == ssize_t(sizeof f) ? f : Figures{};
}

template <typename Op> void measure(benchmark::State &state, Op op)
{
    const Project &p = project(int(state.range(0)), int(state.range(1)));
    Figures worst;
    for (auto _ : state) {
        const Figures f = runInChild(p, op);
        state.SetIterationTime(f.seconds);
        if (f.peakRss - f.startRss >= worst.peakRss - worst.startRss)
            worst = f;
    }
    const double added = double(worst.peakRss - worst.startRss) / (1024.0 * 1024.0);
    state.counters["file_MB"] = p.fileMB;
    state.counters["peak_RSS_MB"] = double(worst.peakRss) / (1024.0 * 1024.0);
    state.counters["added_MB"] = added;
    state.counters["added_per_file"] = added / p.fileMB;
}

// The project read alone: models, points and rods with their marker balls.
void BM_LoadMarkerProject(benchmark::State &state)
{
    measure(state, [](const Project &p) {
        auto models = Vxpj::loadProject(p.path);
        benchmark::DoNotOptimize(models.data());
    });
}

// "Resinor --info project.vxpj": read, supports generated again from the points, JSON report.
void BM_InfoMarkerProject(benchmark::State &state)
{
    measure(state, [](const Project &p) {
        // The report goes to a closed standard output, away from the figures.
        std::fflush(stdout);
        const int saved = ::dup(1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        const int code = runHeadless({QStringLiteral("--info"), p.path}, HeadlessServices{});
        std::fflush(stdout);
        ::dup2(saved, 1);
        ::close(saved);
        ::close(null);
        if (code != 0)
            std::fprintf(stderr, "--info ended with %d\n", code);
    });
}

// "Resinor --export-vxpr out.vxpr project.vxpj": the above and the slicing of the package.
void BM_ExportMarkerProject(benchmark::State &state)
{
    measure(state, [](const Project &p) {
        const QString out = p.path + QStringLiteral(".vxpr");
        const int code =
            runHeadless({QStringLiteral("--export-vxpr"), out, QStringLiteral("--force"), p.path},
                        HeadlessServices{});
        if (code != 0)
            std::fprintf(stderr, "--export-vxpr ended with %d\n", code);
        QFile::remove(out);
    });
}

// Overhang points, rods. 80,000 points and 90,000 rods make a file of about 6 MB, the size of
// the project that once took 1.6 GB; generating the supports of 80,000 points again takes
// minutes, so "--info" runs on a file of that size made mostly of rods.
BENCHMARK(BM_LoadMarkerProject)
    ->Args({2000, 2000})
    ->Args({20000, 20000})
    ->Args({80000, 90000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InfoMarkerProject)
    ->Args({2000, 2000})
    ->Args({10000, 10000})
    ->Args({5000, 150000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportMarkerProject)
    ->Args({2000, 2000})
    ->Args({5000, 150000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
