// Overhang detection plus support generation (method A, medium profile) on generated meshes of
// 10k, 100k and 1M faces: the plain scans (reference) against the indexed queries.
//
// Peak memory is the process's maximum resident set (getrusage); run one case per process for a
// per-case figure, e.g. --benchmark_filter='Indexed/1000000'.

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

// A bumpy torus lying flat: about 2 * ring * tube faces, with waves on its lower side so that
// detection finds vertex minima as well as face points.
MeshData bumpyTorus(int faceTarget)
{
    const int tube = std::max(8, static_cast<int>(std::sqrt(faceTarget / 4.0)));
    const int ring = std::max(8, faceTarget / (2 * tube));
    const float pi = 3.14159265358979f;
    const float R = 22.0f, r = 8.0f;
    MeshData m;
    m.vertices.reserve(static_cast<std::size_t>(ring) * tube);
    for (int i = 0; i < ring; ++i) {
        const float a = 2 * pi * static_cast<float>(i) / static_cast<float>(ring);
        for (int j = 0; j < tube; ++j) {
            const float b = 2 * pi * static_cast<float>(j) / static_cast<float>(tube);
            const float rr = r * (1.0f + 0.08f * std::sin(7 * a) * std::sin(5 * b));
            const float w = R + rr * std::cos(b);
            m.vertices.push_back({w * std::cos(a), w * std::sin(a), 10.0f + rr * std::sin(b)});
        }
    }
    auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    m.faces.reserve(static_cast<std::size_t>(ring) * tube * 2);
    for (int i = 0; i < ring; ++i)
        for (int j = 0; j < tube; ++j) {
            const int i2 = (i + 1) % ring, j2 = (j + 1) % tube;
            const int a = i * tube + j, b = i2 * tube + j, c = i2 * tube + j2, d = i * tube + j2;
            m.faces.push_back(Face{{u(a), u(b), u(c)}});
            m.faces.push_back(Face{{u(a), u(c), u(d)}});
        }
    return m;
}

// A wavy plate over most of the platform (80 x 44 mm, 3 mm thick): its whole underside needs
// support, so it yields many more points and columns than the torus.
MeshData wavyPlate(int faceTarget)
{
    const float w = 80.0f, d = 44.0f;
    const int nx = std::max(4, static_cast<int>(std::sqrt(faceTarget / 4.0 * w / d)));
    const int ny = std::max(4, faceTarget / (4 * nx));
    MeshData m;
    auto u = [](std::size_t v) { return static_cast<std::uint32_t>(v); };
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i <= nx; ++i)
            for (int j = 0; j <= ny; ++j) {
                const float x = -w / 2 + w * static_cast<float>(i) / static_cast<float>(nx);
                const float y = -d / 2 + d * static_cast<float>(j) / static_cast<float>(ny);
                const float wave = 1.5f * std::sin(x / 3.0f) * std::sin(y / 4.0f);
                m.vertices.push_back({x, y, 10.0f + wave + (side ? 3.0f : 0.0f)});
            }
    const std::size_t layer = static_cast<std::size_t>(nx + 1) * (ny + 1);
    auto at = [&](int side, int i, int j) { return u(side * layer + i * (ny + 1) + j); };
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            // underside faces down, top faces up
            m.faces.push_back(Face{{at(0, i, j), at(0, i, j + 1), at(0, i + 1, j + 1)}});
            m.faces.push_back(Face{{at(0, i, j), at(0, i + 1, j + 1), at(0, i + 1, j)}});
            m.faces.push_back(Face{{at(1, i, j), at(1, i + 1, j + 1), at(1, i, j + 1)}});
            m.faces.push_back(Face{{at(1, i, j), at(1, i + 1, j), at(1, i + 1, j + 1)}});
        }
    auto wall = [&](std::uint32_t a, std::uint32_t b) {
        const std::uint32_t a2 = a + u(layer), b2 = b + u(layer);
        m.faces.push_back(Face{{a, b, b2}});
        m.faces.push_back(Face{{a, b2, a2}});
    };
    for (int i = 0; i < nx; ++i) {
        wall(at(0, i, 0), at(0, i + 1, 0));
        wall(at(0, i + 1, ny), at(0, i, ny));
    }
    for (int j = 0; j < ny; ++j) {
        wall(at(0, 0, j + 1), at(0, 0, j));
        wall(at(0, nx, j), at(0, nx, j + 1));
    }
    return m;
}

const MeshData &meshFor(int faces, bool plate)
{
    static std::map<std::pair<int, bool>, MeshData> cache;
    const auto key = std::make_pair(faces, plate);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, plate ? wavyPlate(faces) : bumpyTorus(faces)).first;
    return it->second;
}

SupportParameters mediumProfile()
{
    SupportParameters p;
    const QString path = QFileInfo(QStringLiteral(__FILE__))
                             .dir()
                             .filePath(QStringLiteral("../supports/profiles/medium.ini"));
    QString error;
    if (!loadSupportProfile(path, &p, &error))
        qFatal("%s", qPrintable(error));
    return p;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void run(benchmark::State &state, QueryMode mode, bool plate)
{
    const MeshData &mesh = meshFor(static_cast<int>(state.range(0)), plate);
    const SupportParameters params = mediumProfile();
    SupportJobResult result;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_shared<Model>();
        model->vertices() = mesh.vertices;
        model->faces() = mesh.faces;
        model->setIndexed(true);
        model->computeFaceNormals();
        model->recomputeBounds();
        state.ResumeTiming();
        result = generateSupportsForModel(*model, params, nullptr, mode);
        benchmark::DoNotOptimize(result);
    }
    state.counters["faces"] = static_cast<double>(mesh.faces.size());
    state.counters["overhangs"] = result.overhangs;
    state.counters["parts"] = result.supportParts;
    state.counters["peak_MB"] = peakMegabytes();
}

void Indexed(benchmark::State &state)
{
    run(state, QueryMode::Indexed, false);
}

void Reference(benchmark::State &state)
{
    run(state, QueryMode::Reference, false);
}

void IndexedPlate(benchmark::State &state)
{
    run(state, QueryMode::Indexed, true);
}

void ReferencePlate(benchmark::State &state)
{
    run(state, QueryMode::Reference, true);
}

} // namespace

#define SUPPORT_SIZES                                                                              \
    Arg(10000)                                                                                     \
        ->Arg(100000)                                                                              \
        ->Arg(1000000)                                                                             \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->UseRealTime()
BENCHMARK(Indexed)->SUPPORT_SIZES;
BENCHMARK(Reference)->SUPPORT_SIZES;
BENCHMARK(IndexedPlate)->SUPPORT_SIZES;
BENCHMARK(ReferencePlate)->SUPPORT_SIZES;

BENCHMARK_MAIN();
