// Saving and loading a project that holds one model of about 1,000,000 faces, against writing or
// reading the same bytes with one large buffered call. Counters: MB/s of file bytes and the peak
// heap memory the operation added (peak_MB, from counting every malloc and free of the process).
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "io/DIoVXPJ.h"
#include "io/DVxpjUnserializeFactory.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

// Heap accounting: the C allocator is wrapped so that Qt's and the standard library's
// allocations are all counted.
extern "C" {
void *__libc_malloc(std::size_t);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_realloc(void *, std::size_t);
void __libc_free(void *);
}

namespace
{

std::atomic<std::int64_t> g_heap{0};
std::atomic<std::int64_t> g_heapPeak{0};

void heapAdd(void *p)
{
    if (!p)
        return;
    const std::int64_t now = g_heap += std::int64_t(malloc_usable_size(p));
    std::int64_t peak = g_heapPeak.load();
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
}

void heapSub(void *p)
{
    if (p)
        g_heap -= std::int64_t(malloc_usable_size(p));
}

} // namespace

extern "C" void *malloc(std::size_t n)
{
    void *p = __libc_malloc(n);
    heapAdd(p);
    return p;
}

extern "C" void *calloc(std::size_t n, std::size_t size)
{
    void *p = __libc_calloc(n, size);
    heapAdd(p);
    return p;
}

extern "C" void *realloc(void *old, std::size_t n)
{
    heapSub(old);
    void *p = __libc_realloc(old, n);
    heapAdd(p ? p : (n ? old : nullptr));
    return p;
}

extern "C" void free(void *p)
{
    heapSub(p);
    __libc_free(p);
}

namespace
{

// Grid of n x n points, 2 (n-1)^2 triangles: n = 708 gives 999,698 faces.
std::shared_ptr<Model> gridModel(int n)
{
    auto model = std::make_shared<Model>();
    model->setBaseName(QStringLiteral("Grid"));
    model->setIndexed(true);
    auto &v = model->vertices();
    v.reserve(std::size_t(n) * std::size_t(n));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            v.push_back({x * 0.1f, y * 0.1f, float((x * 7 + y * 13) % 17) * 0.01f});
    auto &f = model->faces();
    f.reserve(std::size_t(2) * std::size_t(n - 1) * std::size_t(n - 1));
    for (int y = 0; y + 1 < n; ++y)
        for (int x = 0; x + 1 < n; ++x) {
            const auto a = std::uint32_t(y * n + x);
            const auto b = a + 1;
            const auto c = a + std::uint32_t(n);
            const auto d = c + 1;
            f.push_back(Face{{a, b, d}});
            f.push_back(Face{{a, d, c}});
        }
    for (int i = 0; i < 200; ++i)
        model->overhangs().push_back(std::make_shared<Overhang>(
            Point3f{float(i % 20), float(i / 20), 0.0f}, Vec3f{0, 0, -1}, 0.25f, 0.25f));
    model->recomputeBounds();
    model->computeFaceNormals();
    return model;
}

struct Fixture {
    Fixture()
    {
        model = gridModel(708);
        path = dir.filePath(QStringLiteral("grid.vxpj"));
        Vxpj::saveProject(path, {model});
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    }
    QTemporaryDir dir;
    std::shared_ptr<Model> model;
    QString path;
    QByteArray bytes;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// Runs op once per iteration and records the file throughput and the peak memory it added.
template <typename Op> void measure(benchmark::State &state, Op op)
{
    Fixture &fx = fixture();
    std::int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::int64_t before = g_heap.load();
        g_heapPeak = before;
        state.ResumeTiming();
        op(fx);
        state.PauseTiming();
        peak = std::max(peak, g_heapPeak.load() - before);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * fx.bytes.size());
    state.counters["peak_MB"] = double(peak) / (1024.0 * 1024.0);
    state.counters["file_MB"] = double(fx.bytes.size()) / (1024.0 * 1024.0);
}

void BM_SaveProject(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        Vxpj::saveProject(fx.dir.filePath(QStringLiteral("out.vxpj")), {fx.model});
    });
}

// One write of the finished bytes through the same replace-on-commit file.
void BM_WriteBytesSafeFile(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        QSaveFile f(fx.dir.filePath(QStringLiteral("out.bin")));
        f.open(QIODevice::WriteOnly);
        f.write(fx.bytes);
        f.commit();
    });
}

// One write of the finished bytes into a plain file.
void BM_WriteBytesPlainFile(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        QFile f(fx.dir.filePath(QStringLiteral("out.bin")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(fx.bytes);
        f.close();
    });
}

void BM_LoadProject(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        auto models = Vxpj::loadProject(fx.path);
        benchmark::DoNotOptimize(models.data());
    });
}

// The records only, without the normals, box and centroid computed after reading.
void BM_LoadProjectRecordsOnly(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        auto reader = DVxpjUnserializeFactory::create(fx.path);
        reader->load();
        benchmark::DoNotOptimize(reader->models().size());
    });
}

void BM_ReadBytes(benchmark::State &state)
{
    measure(state, [](Fixture &fx) {
        QFile f(fx.path);
        f.open(QIODevice::ReadOnly);
        QByteArray all = f.readAll();
        benchmark::DoNotOptimize(all.data());
    });
}

} // namespace

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBytesSafeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBytesPlainFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadProjectRecordsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
