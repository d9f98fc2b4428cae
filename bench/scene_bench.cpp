// The per-model cost of a scene of many small models, as a project of 5,000 or 20,000
// one-triangle models brings: adding them to the scene, gathering the print meshes and writing
// the work package. Counter: models per second; it stays flat when the cost is linear.
#include "geometry/DScene.h"
#include "geometry/Mesh3D.h"
#include "geometry/Model.h"
#include "slicing/DlpSliceManager.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

DScene::ModelList oneTriangleModels(int count)
{
    DScene::ModelList models;
    for (int i = 0; i < count; ++i) {
        auto model = std::make_shared<Model>();
        const float x = float(i % 100) * 0.9f - 45.0f;
        const float y = float((i / 100) % 50) - 25.0f;
        model->vertices() = {{x, y, 0}, {x + 0.5f, y, 0}, {x, y + 0.5f, 0.5f}};
        model->faces() = {Face{{0, 1, 2}}};
        model->recomputeBounds();
        models.push_back(model);
    }
    return models;
}

void BM_AddModelsToScene(benchmark::State &state)
{
    const DScene::ModelList models = oneTriangleModels(int(state.range(0)));
    for (auto _ : state) {
        DScene scene;
        scene.addModels(models);
        benchmark::DoNotOptimize(scene.printMeshes().size());
    }
    state.counters["models_per_s"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportScene(benchmark::State &state)
{
    const DScene::ModelList models = oneTriangleModels(int(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state) {
        DScene scene;
        scene.addModels(models);
        OrvaneDlp::SliceJob job;
        for (const auto &mesh : scene.printMeshes())
            job.meshes.push_back(mesh);
        QString error;
        if (!OrvaneDlp::exportVxpr(dir.filePath("scene.vxpr"), job, nullptr, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["models_per_s"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(BM_AddModelsToScene)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportScene)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
