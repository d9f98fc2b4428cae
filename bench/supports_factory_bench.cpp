// Method B (the support factory) with the shipped fine-b profile on a lumpy, noisy blob like a
// scanned part, of 10k, 100k and 1M faces:
//   FactoryReference / FactoryProgram - the factory alone on the same overhang points, the
//     written cell walk with one tip search after the other against the packed map with the
//     searches on the thread pool (the results are identical, see FactoryIdentityTest);
//   JobMethodB / JobMethodA - the whole generate job (lift, overhang detection, generation) with
//     the profile as shipped and with its method switched to A.
//
// Peak memory is the process's maximum resident set (getrusage); run one case per process for a
// per-case figure, e.g. --benchmark_filter='FactoryProgram/1000000'.

#include "supports/DSupportFactory.h"
#include "supports/SupportJob.h"
#include "supports/SupportProfiles.h"

#include "geometry/Model.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <map>

namespace
{

struct MeshData {
    std::vector<Vec3f> vertices;
    std::vector<Face> faces;
};

// A UV sphere of radius 20 pushed in and out by smooth waves and a little noise: about
// faceTarget faces.
MeshData blob(int faceTarget)
{
    const int stacks = std::max(8, static_cast<int>(std::sqrt(faceTarget / 3.0)));
    const int slices = std::max(8, faceTarget / (2 * stacks));
    const float pi = 3.14159265358979f, r = 20.0f;
    std::uint32_t state = 99;
    auto noise = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 24) - 0.5f;
    };
    MeshData m;
    for (int i = 0; i <= stacks; ++i) {
        const float theta = pi * static_cast<float>(i) / static_cast<float>(stacks) - pi / 2;
        for (int j = 0; j < slices; ++j) {
            const float phi = 2 * pi * static_cast<float>(j) / static_cast<float>(slices);
            const float scale = 1.0f + 0.14f * std::sin(3 * theta) * std::cos(2 * phi) +
                                0.06f * std::sin(7 * phi + 5 * theta) +
                                0.1f * std::cos(theta * 2 + 1) * std::sin(phi * 3) +
                                0.01f * noise();
            m.vertices.push_back({r * scale * std::cos(theta) * std::cos(phi),
                                  0.8f * r * scale * std::cos(theta) * std::sin(phi),
                                  20.0f + r * scale * std::sin(theta)});
        }
    }
    auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const int a = i * slices + j, b = i * slices + (j + 1) % slices;
            m.faces.push_back(Face{{u(a), u(b), u(b + slices)}});
            m.faces.push_back(Face{{u(a), u(b + slices), u(a + slices)}});
        }
    return m;
}

const MeshData &meshFor(int faces)
{
    static std::map<int, MeshData> cache;
    auto it = cache.find(faces);
    if (it == cache.end())
        it = cache.emplace(faces, blob(faces)).first;
    return it->second;
}

SupportParameters fineB()
{
    SupportParameters p;
    const QString path = QFileInfo(QStringLiteral(__FILE__))
                             .dir()
                             .filePath(QStringLiteral("../supports/profiles/fine-b.ini"));
    QString error;
    if (!loadSupportProfile(path, &p, &error))
        qFatal("%s", qPrintable(error));
    return p;
}

std::shared_ptr<Model> modelOf(const MeshData &mesh)
{
    auto model = std::make_shared<Model>();
    model->vertices() = mesh.vertices;
    model->faces() = mesh.faces;
    model->setIndexed(true);
    model->computeFaceNormals();
    model->recomputeBounds();
    return model;
}

// User and system time of all the process's threads, in seconds: the work done, whatever else
// shares the machine.
double processSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void factory(benchmark::State &state, QueryMode mode)
{
    const MeshData &mesh = meshFor(static_cast<int>(state.range(0)));
    const SupportParameters params = fineB();
    // The overhang points once, outside the timing (by the method A job, so that no factory has
    // run in this process before the measured one).
    auto model = modelOf(mesh);
    SupportParameters detection = params;
    detection.method = 0;
    const SupportJobResult detected = generateSupportsForModel(*model, detection, nullptr);
    if (!detected.ok)
        qFatal("%s", qPrintable(detected.error));
    std::size_t parts = 0, columns = 0;
    const double cpuBefore = processSeconds();
    for (auto _ : state) {
        DSupportFactory f(*model, params, nullptr, mode);
        f.run(model->overhangs());
        parts = f.result().size();
        columns = f.columns().size();
        benchmark::DoNotOptimize(parts);
    }
    state.counters["faces"] = static_cast<double>(mesh.faces.size());
    state.counters["overhangs"] = detected.overhangs;
    state.counters["columns"] = static_cast<double>(columns);
    state.counters["cpu_s"] = processSeconds() - cpuBefore;
    state.counters["parts"] = static_cast<double>(parts);
    state.counters["peak_MB"] = peakMegabytes();
}

void job(benchmark::State &state, int method)
{
    const MeshData &mesh = meshFor(static_cast<int>(state.range(0)));
    SupportParameters params = fineB();
    params.method = method;
    SupportJobResult result;
    double cpu = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = modelOf(mesh);
        state.ResumeTiming();
        const double before = processSeconds();
        result = generateSupportsForModel(*model, params, nullptr);
        cpu += processSeconds() - before;
        benchmark::DoNotOptimize(result);
    }
    state.counters["cpu_s"] = cpu;
    state.counters["faces"] = static_cast<double>(mesh.faces.size());
    state.counters["overhangs"] = result.overhangs;
    state.counters["parts"] = result.supportParts;
    state.counters["peak_MB"] = peakMegabytes();
}

void FactoryReference(benchmark::State &state)
{
    factory(state, QueryMode::Reference);
}

void FactoryProgram(benchmark::State &state)
{
    factory(state, QueryMode::Indexed);
}

void JobMethodB(benchmark::State &state)
{
    job(state, 1);
}

void JobMethodA(benchmark::State &state)
{
    job(state, 0);
}

} // namespace

#define FACTORY_SIZES                                                                              \
    Arg(10000)                                                                                     \
        ->Arg(100000)                                                                              \
        ->Arg(1000000)                                                                             \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->UseRealTime()
BENCHMARK(FactoryReference)->FACTORY_SIZES;
BENCHMARK(FactoryProgram)->FACTORY_SIZES;
BENCHMARK(JobMethodB)->FACTORY_SIZES;
BENCHMARK(JobMethodA)->FACTORY_SIZES;

BENCHMARK_MAIN();
