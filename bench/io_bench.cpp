// Mesh file reading figures on a 1,000,000-triangle closed torus (shared vertices).
#include "io/DIoAsciiStl.h"
#include "io/DIoOBJ.h"
#include "io/StlWriter.h"

#include "geometry/Model.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{

constexpr int kRings = 1000;
constexpr int kSides = 500; // 2 * 1000 * 500 = 1,000,000 triangles

class NoWeldStl : public DIoAsciiStl
{
  public:
    bool weld(Mesh3D &) override { return true; }
};

struct Files {
    QTemporaryDir dir;
    QString binary;
    QString ascii;
    QString obj;
    std::shared_ptr<Model> soup; // 3,000,000 soup vertices

    Files()
    {
        auto torus = std::make_shared<Mesh3D>();
        const double pi = 3.14159265358979323846;
        for (int i = 0; i < kRings; ++i)
            for (int j = 0; j < kSides; ++j) {
                const double u = 2 * pi * i / kRings, v = 2 * pi * j / kSides;
                const double r = 30 + 10 * std::cos(v);
                torus->vertices().push_back(
                    {float(r * std::cos(u)), float(r * std::sin(u)), float(10 * std::sin(v))});
            }
        for (int i = 0; i < kRings; ++i)
            for (int j = 0; j < kSides; ++j) {
                auto at = [](int a, int b) {
                    return std::uint32_t((a % kRings) * kSides + (b % kSides));
                };
                torus->faces().push_back(Face{{at(i, j), at(i + 1, j), at(i + 1, j + 1)}});
                torus->faces().push_back(Face{{at(i, j), at(i + 1, j + 1), at(i, j + 1)}});
            }
        torus->computeFaceNormals();

        binary = dir.filePath(QStringLiteral("torus.stl"));
        writeBinaryStl(binary, {torus});

        ascii = dir.filePath(QStringLiteral("torus_ascii.stl"));
        QFile a(ascii);
        a.open(QIODevice::WriteOnly);
        QByteArray text = "solid torus\n";
        auto num = [](float f) { return QByteArray::number(f, 'g', 9); };
        for (std::size_t i = 0; i < torus->faces().size(); ++i) {
            const Face &f = torus->faces()[i];
            const Vec3f &n = torus->faceNormals()[i];
            text +=
                " facet normal " + num(n.x) + ' ' + num(n.y) + ' ' + num(n.z) + "\n  outer loop\n";
            for (int k = 0; k < 3; ++k) {
                const Point3f &p = torus->vertices()[f.v[k]];
                text += "   vertex " + num(p.x) + ' ' + num(p.y) + ' ' + num(p.z) + '\n';
            }
            text += "  endloop\n endfacet\n";
            if (text.size() > (1 << 24)) {
                a.write(text);
                text.clear();
            }
        }
        text += "endsolid torus\n";
        a.write(text);
        a.close();

        obj = dir.filePath(QStringLiteral("torus.obj"));
        QFile o(obj);
        o.open(QIODevice::WriteOnly);
        text.clear();
        for (const Point3f &p : torus->vertices())
            text += "v " + num(p.x) + ' ' + num(p.y) + ' ' + num(p.z) + '\n';
        for (const Face &f : torus->faces())
            text += "f " + QByteArray::number(f.v[0] + 1) + ' ' + QByteArray::number(f.v[1] + 1) +
                    ' ' + QByteArray::number(f.v[2] + 1) + '\n';
        o.write(text);
        o.close();

        NoWeldStl reader;
        reader.setFileName(binary);
        soup = std::dynamic_pointer_cast<Model>(reader.read());
    }
};

Files &files()
{
    static Files f;
    return f;
}

void setBytes(benchmark::State &state, const QString &path)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(path).size());
}

void BM_RawFileRead(benchmark::State &state)
{
    const QString path = files().binary;
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
    setBytes(state, path);
}

void BM_BinaryStlReadNoWeld(benchmark::State &state)
{
    for (auto _ : state) {
        NoWeldStl reader;
        reader.setFileName(files().binary);
        auto mesh = reader.read();
        benchmark::DoNotOptimize(mesh.get());
    }
    setBytes(state, files().binary);
}

void BM_BinaryStlReadWelded(benchmark::State &state)
{
    for (auto _ : state) {
        DIoAsciiStl reader;
        reader.setFileName(files().binary);
        auto mesh = reader.read();
        benchmark::DoNotOptimize(mesh.get());
    }
    setBytes(state, files().binary);
}

void BM_Weld3MSoupVertices(benchmark::State &state)
{
    const Model &soup = *files().soup;
    for (auto _ : state) {
        state.PauseTiming();
        Model copy;
        copy.vertices() = soup.vertices();
        copy.faces() = soup.faces();
        state.ResumeTiming();
        DIoAsciiStl reader;
        reader.weldAlways(copy);
        benchmark::DoNotOptimize(copy.vertices().data());
    }
    state.counters["vertices"] = double(soup.vertices().size());
}

void BM_AsciiStlRead(benchmark::State &state)
{
    for (auto _ : state) {
        DIoAsciiStl reader;
        reader.setFileName(files().ascii);
        auto mesh = reader.read();
        benchmark::DoNotOptimize(mesh.get());
    }
    setBytes(state, files().ascii);
}

void BM_ObjRead(benchmark::State &state)
{
    for (auto _ : state) {
        DIoOBJ reader;
        reader.setFileName(files().obj);
        auto mesh = reader.read();
        benchmark::DoNotOptimize(mesh.get());
    }
    setBytes(state, files().obj);
}

} // namespace

BENCHMARK(BM_RawFileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryStlReadNoWeld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryStlReadWelded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Weld3MSoupVertices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AsciiStlRead)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ObjRead)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
