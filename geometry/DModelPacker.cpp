#include "geometry/DModelPacker.h"

#include "geometry/Model.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace
{

// Past this bin width the packer gives up; models left unplaced are moved aside (see layout).
constexpr int kMaxBinWidth = 1000000;

long long areaOf(const DModelPacker::Rect &r)
{
    return static_cast<long long>(r.w) * r.h;
}

// One packing attempt. Free areas in which nothing fitted are remembered as dead: the set of
// unplaced rectangles only shrinks, so nothing will ever fit there later in this attempt.
class GuillotineFill
{
  public:
    GuillotineFill(std::vector<DModelPacker::Rect> items, int binWidth, int binHeight)
        : m_items(std::move(items))
    {
        DModelPacker::Rect bin;
        bin.w = binWidth;
        bin.h = binHeight;
        m_areas.push_back(bin);
        m_dead.push_back(false);
    }

    void fill(size_t k);

    std::vector<DModelPacker::Rect> m_items;
    std::vector<DModelPacker::Rect> m_areas;
    std::vector<bool> m_dead;
    size_t m_placed = 0;
};

void GuillotineFill::fill(size_t k)
{
    if (m_areas[k].used || m_dead[k])
        return;
    const DModelPacker::Rect area = m_areas[k];
    const int W = area.w;
    const int H = area.h;

    DModelPacker::Rect *taken = nullptr;
    for (DModelPacker::Rect &r : m_items) {
        if (r.used)
            continue;
        if (r.w <= W && r.h <= H) {
            taken = &r;
            break;
        }
        if (r.h <= W && r.w <= H) {
            std::swap(r.w, r.h);
            r.rotated = true;
            taken = &r;
            break;
        }
    }
    if (!taken) {
        m_dead[k] = true;
        return;
    }

    const int x = area.x;
    const int y = area.y;
    const int w = taken->w;
    const int h = taken->h;
    auto piece = [](int px, int py, int pw, int ph) {
        DModelPacker::Rect r;
        r.x = px;
        r.y = py;
        r.w = pw;
        r.h = ph;
        return r;
    };
    // Cut A: above the rectangle at its width, and the full-height strip to its right.
    const DModelPacker::Rect a1 = piece(x, y + h, w, H - h);
    const DModelPacker::Rect a2 = piece(x + w, y, W - w, H);
    // Cut B: right of the rectangle at its height, and the full-width strip above it.
    const DModelPacker::Rect b1 = piece(x + w, y, W - w, h);
    const DModelPacker::Rect b2 = piece(x, y + h, W, H - h);
    const long long largestA = std::max(areaOf(a1), areaOf(a2));
    const long long largestB = std::max(areaOf(b1), areaOf(b2));

    DModelPacker::Rect first;
    DModelPacker::Rect second;
    if (largestA > largestB) {
        const bool upperFirst = areaOf(a1) > areaOf(a2);
        first = upperFirst ? a1 : a2;
        second = upperFirst ? a2 : a1;
    } else {
        const bool rightFirst = areaOf(b1) > areaOf(b2);
        first = rightFirst ? b1 : b2;
        second = rightFirst ? b2 : b1;
    }
    const int firstIndex = static_cast<int>(m_areas.size());
    m_areas.push_back(first);
    m_areas.push_back(second);
    m_dead.push_back(false);
    m_dead.push_back(false);

    DModelPacker::Rect &occupied = m_areas[k];
    occupied.used = true;
    occupied.w = w;
    occupied.h = h;
    occupied.firstChild = firstIndex;
    occupied.secondChild = firstIndex + 1;

    taken->x = x;
    taken->y = y;
    taken->used = true;
    ++m_placed;

    // The list grows while it is walked; indices stay valid, references would not.
    for (size_t j = 0; j < m_areas.size(); ++j) {
        if (!m_areas[j].used && !m_dead[j])
            fill(j);
    }
}

} // namespace

Matrix4f rotationAboutZ(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix4f m = identityMatrix();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return m;
}

DModelPacker::DModelPacker(float heightLimit) : m_widthLimit(FLT_MAX), m_heightLimit(heightLimit) {}

void DModelPacker::setSpacing(int spacing)
{
    m_spacing = spacing;
}

DModelPacker::PackResult DModelPacker::packInto(const std::vector<Rect> &sizes, int binWidth,
                                                int binHeight)
{
    std::vector<Rect> items;
    items.reserve(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        Rect r;
        r.w = sizes[i].w;
        r.h = sizes[i].h;
        r.item = sizes[i].item >= 0 ? sizes[i].item : static_cast<int>(i);
        items.push_back(r);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Rect &l, const Rect &r) { return areaOf(l) < areaOf(r); });

    GuillotineFill filler(std::move(items), binWidth, binHeight);
    if (!filler.m_items.empty())
        filler.fill(0);

    PackResult result;
    result.binWidth = binWidth;
    result.binHeight = binHeight;
    result.success = filler.m_placed == filler.m_items.size();
    result.items = std::move(filler.m_items);
    result.areas = std::move(filler.m_areas);
    return result;
}

DModelPacker::PackResult DModelPacker::pack(const std::vector<Rect> &sizes) const
{
    // The bin's height stops at the first even size not below the height limit, its width grows
    // without end; a rectangle whose shorter side exceeds that height can never be placed.
    int maxHeight = 2;
    while (static_cast<float>(maxHeight) < m_heightLimit && maxHeight < kMaxBinWidth)
        maxHeight += 2;
    auto placeable = [maxHeight](const Rect &r) { return std::min(r.w, r.h) <= maxHeight; };

    long long totalArea = 0;
    size_t placeableCount = 0;
    for (const Rect &r : sizes) {
        if (placeable(r)) {
            totalArea += areaOf(r);
            ++placeableCount;
        }
    }

    int a = 2;
    int b = 2;
    for (;;) {
        // Attempts that cannot succeed (too little room in total, or a rectangle that fits
        // neither way) are skipped without changing which bin is found first.
        bool possible = totalArea <= static_cast<long long>(a) * b;
        for (size_t i = 0; possible && i < sizes.size(); ++i) {
            const Rect &r = sizes[i];
            possible = !placeable(r) || (r.w <= a && r.h <= b) || (r.h <= a && r.w <= b);
        }
        if (possible) {
            PackResult result = packInto(sizes, a, b);
            const size_t placed = static_cast<size_t>(std::count_if(
                result.items.begin(), result.items.end(), [](const Rect &r) { return r.used; }));
            // Rectangles that can never be placed are left out; the rest decide the bin.
            if (placed == placeableCount)
                return result;
        }
        if (a >= kMaxBinWidth)
            return packInto(sizes, a, b);
        if (a < m_widthLimit)
            a += 2;
        if (b < m_heightLimit)
            b += 2;
    }
}

void DModelPacker::layout(const std::list<std::shared_ptr<Model>> &models) const
{
    std::vector<std::shared_ptr<Model>> byIndex(models.begin(), models.end());
    std::vector<Rect> sizes;
    sizes.reserve(byIndex.size());
    for (size_t i = 0; i < byIndex.size(); ++i) {
        const Box3f &box = byIndex[i]->boundingBox();
        auto side = [this](float extent) {
            const float v = extent + static_cast<float>(m_spacing);
            // An empty or broken mesh has no extent; it takes no room.
            if (!std::isfinite(v) || v <= 0.0f)
                return 0;
            return v >= static_cast<float>(kMaxBinWidth) ? kMaxBinWidth : static_cast<int>(v);
        };
        Rect r;
        r.w = side(box.max[0] - box.min[0]);
        r.h = side(box.max[1] - box.min[1]);
        r.item = static_cast<int>(i);
        sizes.push_back(r);
    }
    if (sizes.empty())
        return;

    const PackResult result = pack(sizes);
    int usedX = 0;
    int usedY = 0;
    for (const Rect &r : result.items) {
        if (!r.used)
            continue;
        usedX = std::max(usedX, r.x + r.w);
        usedY = std::max(usedY, r.y + r.h);
    }
    const float ox = 0.5f - static_cast<float>(usedX) / 2.0f;
    const float oy = 0.5f - static_cast<float>(usedY) / 2.0f;

    for (const Rect &r : result.items) {
        Model &model = *byIndex[static_cast<size_t>(r.item)];
        if (model.boundingBox().isEmpty())
            continue;
        if (!r.used) {
            const Box3f box = model.boundingBox();
            model.transform(translationMatrix(
                static_cast<float>(result.binWidth) / 2.0f - box.min[0], 0.0f, 0.0f));
            continue;
        }
        if (r.rotated) {
            model.transform(rotationAboutZ(1.5707964f));
            model.setLayoutRotated(true);
        }
        const Box3f box = model.boundingBox();
        const float tx = static_cast<float>(r.x) - box.min[0] + ox;
        const float ty = static_cast<float>(r.y) - box.min[1] + oy;
        const Matrix4f t = translationMatrix(tx, ty, 0.0f);
        model.setLayoutOffset(tx, ty);
        model.layoutHistory().push_back(t);
        model.transform(t);
    }
}
