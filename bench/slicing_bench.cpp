// Export of a 1,000,000-triangle sphere 50 mm tall at 0.05 mm layers: reading the STL, building
// the engine mesh, slicing, writing; the program's engine on one core and on all cores against
// the plain reference engine. Peak memory (ru_maxrss) is printed after every benchmark; run one
// benchmark per process (--benchmark_filter) for a clean peak of that case alone.
#include "slicing/DlpSliceManager.h"
#include "slicing/LayerPipeline.h"
#include "slicing/Mesh.h"

#include "io/MeshReaders.h"

#include "geometry/Mesh3D.h"

#include "../slicing/tests/ReferenceSlicer.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>

namespace
{

constexpr float kRadius = 25.0f;
constexpr int kStacks = 500;
constexpr int kSlices = 1000; // 2 * 500 * 1000 - 2 * 1000 = 998,000 triangles

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString stlPath()
{
    return workDir().filePath("sphere.stl");
}

// Writes the sphere as a binary STL once.
void ensureStl()
{
    if (QFile::exists(stlPath()))
        return;
    QFile file(stlPath());
    file.open(QIODevice::WriteOnly);
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    auto at = [](int i, int j) {
        const double theta = M_PI * i / kStacks, phi = 2 * M_PI * j / kSlices;
        return std::array<float, 3>{float(kRadius * std::sin(theta) * std::cos(phi)),
                                    float(kRadius * std::sin(theta) * std::sin(phi)),
                                    float(kRadius - kRadius * std::cos(theta))};
    };
    std::vector<std::array<std::array<float, 3>, 3>> tris;
    for (int i = 0; i < kStacks; ++i)
        for (int j = 0; j < kSlices; ++j) {
            const auto a = at(i, j), b = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
            if (i != kStacks - 1)
                tris.push_back({a, c, d});
            if (i != 0)
                tris.push_back({a, b, c});
        }
    file.write(QByteArray(80, '\0'));
    out << quint32(tris.size());
    for (const auto &t : tris) {
        out << 0.0f << 0.0f << 0.0f;
        for (const auto &p : t)
            out << p[0] << p[1] << p[2];
        out << quint16(0);
    }
}

std::shared_ptr<Mesh3D> &sphere()
{
    static std::shared_ptr<Mesh3D> mesh;
    if (!mesh) {
        ensureStl();
        mesh = createPartReader(stlPath())->read();
    }
    return mesh;
}

long peakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Resets the kernel's peak resident size of this process, then reads it back (VmHWM, KiB).
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double highWaterMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double inputMeshMiB()
{
    const Mesh3D &m = *sphere();
    return double(m.vertices().size() * sizeof(Point3f) + m.faces().size() * sizeof(Face) +
                  m.faceNormals().size() * sizeof(Vec3f)) /
           (1024.0 * 1024.0);
}

void reportPeak(benchmark::State &state)
{
    state.counters["peak_MiB"] = double(peakKib()) / 1024.0;
    state.counters["faces"] = double(sphere()->faces().size());
}

int threadsOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? QThread::idealThreadCount() : int(state.range(0));
}

void BM_ReadStl(benchmark::State &state)
{
    ensureStl();
    for (auto _ : state) {
        auto mesh = createPartReader(stlPath())->read();
        benchmark::DoNotOptimize(mesh.get());
    }
    reportPeak(state);
}

void BM_BuildMesh(benchmark::State &state)
{
    sphere();
    for (auto _ : state) {
        OrvaneDlp::DlpSliceManager manager;
        manager.setThreadCount(threadsOf(state));
        Lamellor::Mesh mesh;
        manager.onConvertFormat({sphere()}, mesh);
        benchmark::DoNotOptimize(mesh.faces().data());
    }
    reportPeak(state);
}

void BM_Slice(benchmark::State &state)
{
    OrvaneDlp::DlpSliceManager manager;
    manager.setThreadCount(threadsOf(state));
    Lamellor::Mesh mesh;
    manager.onConvertFormat({sphere()}, mesh);
    for (auto _ : state) {
        Lamellor::LayerPipelineParams params;
        params.z0 = 25;
        params.step = 50;
        params.layerCount = (mesh.max().z - 25) / 50 + 1;
        params.threadCount = threadsOf(state);
        size_t bytes = 0;
        params.encode = [](int, int32_t, const std::vector<Lamellor::SlicePart> &parts,
                           Lamellor::LayerOutput &out) {
            out.record.clear();
            for (const auto &part : parts)
                for (const auto &path : part)
                    out.record.resize(out.record.size() + 4 + path.size() * 8);
        };
        params.write = [&bytes](int, const Lamellor::LayerOutput &out) {
            bytes += out.record.size();
            return true;
        };
        benchmark::DoNotOptimize(Lamellor::runLayerPipeline(&mesh, params));
        benchmark::DoNotOptimize(bytes);
    }
    reportPeak(state);
}

void BM_ExportProgram(benchmark::State &state)
{
    sphere();
    OrvaneDlp::SliceJob job;
    job.meshes = {sphere()};
    job.threadCount = threadsOf(state);
    const double before = highWaterMiB();
    resetPeak();
    const double base = highWaterMiB();
    for (auto _ : state) {
        QString error;
        if (!OrvaneDlp::exportVxpr(workDir().filePath("program.vxpr"), job, nullptr, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["bytes"] = double(QFile(workDir().filePath("program.vxpr")).size());
    state.counters["rss_before_MiB"] = before;
    state.counters["rss_at_start_MiB"] = base;
    state.counters["export_peak_MiB"] = highWaterMiB();
    state.counters["input_mesh_MiB"] = inputMeshMiB();
    reportPeak(state);
}

void BM_ExportReference(benchmark::State &state)
{
    sphere();
    for (auto _ : state) {
        const QByteArray bytes = reference::referencePackage({sphere()}, 0.05);
        QFile file(workDir().filePath("reference.vxpr"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    QFile a(workDir().filePath("reference.vxpr")), b(workDir().filePath("program.vxpr"));
    if (a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly))
        state.counters["same_bytes_as_program"] = a.readAll() == b.readAll() ? 1 : 0;
    reportPeak(state);
}

} // namespace

BENCHMARK(BM_ReadStl)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BuildMesh)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(BM_Slice)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ExportProgram)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(BM_ExportReference)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak resident memory: %.1f MiB\n", double(peakKib()) / 1024.0);
    return 0;
}
