#include "slicing/LayerPipeline.h"

#include "slicing/DlpSlicer.h"
#include "slicing/LayerFaceSweep.h"
#include "slicing/Mesh.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace Lamellor
{

namespace
{

// Workers that take the layers of one window from a shared counter; the calling thread works too.
class WindowWorkers
{
  public:
    WindowWorkers(int extraThreads, std::function<void(int worker, int slot)> job)
        : m_job(std::move(job))
    {
        for (int t = 0; t < extraThreads; ++t)
            m_threads.emplace_back([this, t] { loop(t + 1); });
    }

    ~WindowWorkers()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }

    // Runs the job for slots 0..count-1 and returns when all are done.
    void run(int count)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_count = count;
            m_next = 0;
            m_pending = int(m_threads.size());
            ++m_generation;
        }
        m_wake.notify_all();
        work(0);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return m_pending == 0; });
    }

  private:
    void work(int worker)
    {
        while (true) {
            const int slot = m_next.fetch_add(1);
            if (slot >= m_count)
                return;
            m_job(worker, slot);
        }
    }

    void loop(int worker)
    {
        uint64_t seen = 0;
        while (true) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this, seen] { return m_stop || m_generation != seen; });
                if (m_stop)
                    return;
                seen = m_generation;
            }
            work(worker);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                --m_pending;
            }
            m_done.notify_one();
        }
    }

    std::function<void(int, int)> m_job;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::atomic<int> m_next{0};
    int m_count = 0;
    int m_pending = 0;
    uint64_t m_generation = 0;
    bool m_stop = false;
};

} // namespace

int runLayerPipeline(const Mesh *mesh, const LayerPipelineParams &params)
{
    if (params.layerCount <= 0)
        return 0;
    const int threads =
        std::max(1, params.threadCount > 0 ? params.threadCount : QThread::idealThreadCount());
    const int window =
        std::max(1, std::min(params.layerCount,
                             params.windowLayers > 0 ? params.windowLayers : 16 * threads));
    const bool hasMesh = mesh && !mesh->faces().empty();

    std::unique_ptr<LayerFaceSweep> sweep;
    if (hasMesh)
        sweep = std::make_unique<LayerFaceSweep>(*mesh, params.z0, params.step, params.layerCount);

    std::vector<std::unique_ptr<DlpSlicer>> slicers;
    for (int t = 0; t < threads; ++t) {
        slicers.push_back(std::make_unique<DlpSlicer>());
        slicers.back()->setCancelFlag(params.cancel);
        if (hasMesh)
            slicers.back()->setMesh(mesh);
    }
    const std::vector<SlicePart> noParts;
    std::vector<LayerOutput> outputs(static_cast<size_t>(window));
    std::vector<int> offsets;
    std::vector<int> faces;
    int first = 0;
    int count = 0;

    WindowWorkers workers(threads - 1, [&](int worker, int slot) {
        const int layer = first + slot;
        const int32_t z = int32_t(int64_t(params.z0) + int64_t(layer) * params.step);
        LayerOutput &out = outputs[size_t(slot)];
        if (!hasMesh) {
            params.encode(layer, z, noParts, out);
            return;
        }
        DlpSlicer &slicer = *slicers[size_t(worker)];
        slicer.reset(z, layer);
        slicer.setFacesInLayer(faces.data() + offsets[size_t(slot)],
                               size_t(offsets[size_t(slot) + 1] - offsets[size_t(slot)]));
        slicer.makeSegments();
        slicer.makePolygons();
        params.encode(layer, z, slicer.parts(), out);
    });

    int written = 0;
    for (first = 0; first < params.layerCount; first += window) {
        if (params.cancel && params.cancel->load())
            break;
        count = std::min(window, params.layerCount - first);
        if (sweep)
            sweep->window(first, count, offsets, faces);
        workers.run(count);
        for (int k = 0; k < count; ++k) {
            if (!params.write(first + k, outputs[size_t(k)]))
                return written;
            ++written;
        }
    }
    return written;
}

} // namespace Lamellor
