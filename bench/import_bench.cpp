// Part import and placement: reading 20 copies of a 100,000-triangle part, placing them (drop,
// layout, place beside), the whole load through the import manager, copying one model 50 times
// with interval 2, and laying out 200 models.

#include "geometry/DModelOperator.h"
#include "geometry/Model.h"
#include "io/DModelIoManager.h"
#include "io/IImportHost.h"
#include "io/PartImport.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{

constexpr int kRings = 224;
constexpr int kSegments = 224; // 2 * 224 * 224 = 100,352 triangles
constexpr int kCopies = 20;

// A sphere of radius 10 mm as a binary STL.
QByteArray sphereStl()
{
    QByteArray bytes(80, '\0');
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    const quint32 count = 2u * kRings * kSegments;
    out << count;
    auto point = [](int ring, int seg) {
        const double theta = M_PI * ring / kRings;
        const double phi = 2.0 * M_PI * seg / kSegments;
        return std::array<float, 3>{float(10 * std::sin(theta) * std::cos(phi)),
                                    float(10 * std::sin(theta) * std::sin(phi)),
                                    float(10 + 10 * std::cos(theta))};
    };
    auto triangle = [&out](const std::array<float, 3> &a, const std::array<float, 3> &b,
                           const std::array<float, 3> &c) {
        out << 0.0f << 0.0f << 0.0f;
        for (const auto &p : {a, b, c})
            out << p[0] << p[1] << p[2];
        out << quint16(0);
    };
    for (int r = 0; r < kRings; ++r)
        for (int s = 0; s < kSegments; ++s) {
            triangle(point(r, s), point(r + 1, s), point(r + 1, s + 1));
            triangle(point(r, s), point(r + 1, s + 1), point(r, s + 1));
        }
    return bytes;
}

struct PartFiles {
    QTemporaryDir dir;
    QStringList files;

    PartFiles()
    {
        const QByteArray stl = sphereStl();
        for (int i = 0; i < kCopies; ++i) {
            const QString path = dir.filePath(QStringLiteral("part%1.stl").arg(i));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(stl);
            files << path;
        }
    }
};

PartFiles &partFiles()
{
    static PartFiles files;
    return files;
}

ModelList deepCopies(const ModelList &models)
{
    ModelList copies;
    for (const auto &m : models)
        copies.push_back(m->deepCopy());
    return copies;
}

void BM_Read20Parts(benchmark::State &state)
{
    const QStringList files = partFiles().files;
    for (auto _ : state) {
        PartLoad load = readParts(files, nullptr);
        benchmark::DoNotOptimize(load.models.size());
    }
    state.SetLabel("20 x 100,352 triangles, reading only");
}
BENCHMARK(BM_Read20Parts)->Unit(benchmark::kMillisecond);

void BM_Place20Parts(benchmark::State &state)
{
    const ModelList source = readParts(partFiles().files, nullptr).models;
    for (auto _ : state) {
        state.PauseTiming();
        const ModelList models = deepCopies(source);
        state.ResumeTiming();
        DModelOperator op;
        arrangeNewModels(op, models);
        op.placeBeside({}, models);
    }
    state.SetLabel("drop + layout + place beside, no reading");
}
BENCHMARK(BM_Place20Parts)->Unit(benchmark::kMillisecond);

class NullHost : public IImportHost
{
  public:
    void beginLoad() override {}
    void clearSelection() override {}
    ModelList sceneModels() const override { return {}; }
    void addModelsToScene(const ModelList &models) override { added += models.size(); }
    void endLoad() override {}
    PlatformSize platformSize() const override { return {}; }
    size_t added = 0;
};

void BM_ImportManagerLoad20Parts(benchmark::State &state)
{
    NullHost host;
    DModelIoManager manager(&host);
    for (auto _ : state) {
        manager.importParts(partFiles().files);
        manager.waitForIdle();
    }
    state.SetLabel("whole load: pool thread, placement, hand-over");
}
BENCHMARK(BM_ImportManagerLoad20Parts)->Unit(benchmark::kMillisecond);

void BM_Copy50_DeepCopy(benchmark::State &state)
{
    const auto source = readParts({partFiles().files.first()}, nullptr).models.front();
    for (auto _ : state) {
        ModelList copies;
        for (int i = 0; i < 50; ++i)
            copies.push_back(source->deepCopy());
        benchmark::DoNotOptimize(copies.size());
    }
    state.SetLabel("50 deep copies of a 100,352-triangle model");
}
BENCHMARK(BM_Copy50_DeepCopy)->Unit(benchmark::kMillisecond);

void BM_Copy50_LayoutAndPlace(benchmark::State &state)
{
    const auto source = readParts({partFiles().files.first()}, nullptr).models.front();
    ModelList scene{source};
    for (auto _ : state) {
        state.PauseTiming();
        ModelList copies;
        for (int i = 0; i < 50; ++i)
            copies.push_back(source->deepCopy());
        state.ResumeTiming();
        DModelOperator op;
        op.layout(copies, 2);
        op.placeBeside(scene, copies);
    }
    state.SetLabel("layout with interval 2 + place beside of the 50 copies");
}
BENCHMARK(BM_Copy50_LayoutAndPlace)->Unit(benchmark::kMillisecond);

std::shared_ptr<Model> box(float sx, float sy, float sz)
{
    auto m = std::make_shared<Model>();
    const Vec3f p[8] = {{0, 0, 0},  {sx, 0, 0},  {sx, sy, 0},  {0, sy, 0},
                        {0, 0, sz}, {sx, 0, sz}, {sx, sy, sz}, {0, sy, sz}};
    m->vertices().assign(p, p + 8);
    const std::uint32_t f[12][3] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7},
                                    {0, 1, 5}, {0, 5, 4}, {1, 2, 6}, {1, 6, 5},
                                    {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
    for (const auto &t : f)
        m->faces().push_back(Face{{t[0], t[1], t[2]}});
    m->recomputeBounds();
    return m;
}

void BM_Layout200Models(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        ModelList models;
        for (int i = 0; i < 200; ++i)
            models.push_back(box(4.0f + float(i % 9) * 1.5f, 3.0f + float(i % 7) * 2.0f, 5.0f));
        state.ResumeTiming();
        DModelOperator op;
        op.layout(models, static_cast<int>(state.range(0)));
    }
    state.SetLabel("200 boxes 4..16 x 3..15 mm");
}
BENCHMARK(BM_Layout200Models)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
