#include "slicing/PolygonSteps.h"

#include <algorithm>
#include <cmath>

namespace Lamellor
{

namespace
{

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

int64_t edgeLength(const IntPoint &a, const IntPoint &b)
{
    const double dx = double(a.X - b.X);
    const double dy = double(a.Y - b.Y);
    return int64_t(std::sqrt(dx * dx + dy * dy));
}

int64_t squaredDistance(const IntPoint &a, const IntPoint &b)
{
    const int64_t dx = a.X - b.X;
    const int64_t dy = a.Y - b.Y;
    return dx * dx + dy * dy;
}

// v scaled to the given length (x axis for a zero vector).
IntPoint scaledTo(const IntPoint &v, int64_t len)
{
    const int64_t vLen = int64_t(std::sqrt(double(v.X) * double(v.X) + double(v.Y) * double(v.Y)));
    if (vLen < 1)
        return IntPoint(len, 0);
    return IntPoint(v.X * len / vLen, v.Y * len / vLen);
}

void removeEmpty(Paths &paths)
{
    paths.erase(std::remove_if(paths.begin(), paths.end(), [](const Path &p) { return p.empty(); }),
                paths.end());
}

void addPolyNode(const ClipperLib::PolyNode &node, std::vector<SlicePart> &parts)
{
    for (const ClipperLib::PolyNode *outer : node.Childs) {
        SlicePart part;
        part.reserve(size_t(outer->ChildCount()) + 1);
        part.push_back(outer->Contour);
        for (const ClipperLib::PolyNode *hole : outer->Childs)
            part.push_back(hole->Contour);
        parts.push_back(std::move(part));
        for (const ClipperLib::PolyNode *hole : outer->Childs)
            addPolyNode(*hole, parts);
    }
}

} // namespace

int64_t closedPerimeter(const Path &path)
{
    int64_t length = 0;
    for (size_t n = 0; n < path.size(); ++n)
        length += edgeLength(path[n], path[(n + 1) % path.size()]);
    return length;
}

void connectOpenPolylines(Paths &closed, Paths &open)
{
    constexpr int64_t kMaxSquared = 20 * 20;
    for (size_t i = 0; i < open.size(); ++i) {
        for (size_t j = 0; j < open.size(); ++j) {
            if (open[i].empty())
                break;
            if (open[j].empty())
                continue;
            if (squaredDistance(open[i].back(), open[j].front()) >= kMaxSquared)
                continue;
            if (i == j) {
                closed.push_back(std::move(open[i]));
                open[i].clear();
                break;
            }
            if (j < i) {
                open[i].insert(open[i].end(), open[j].begin(), open[j].end());
                open[j].clear();
            }
        }
    }
    removeEmpty(open);
}

void stitchOpenPolylines(Paths &closed, Paths &open, const std::atomic<bool> *cancel)
{
    constexpr int64_t kMaxGap = 10000;
    while (!(cancel && cancel->load(std::memory_order_relaxed))) {
        int64_t best = kMaxGap * kMaxGap;
        int bestI = -1;
        int bestJ = -1;
        bool endToEnd = false;
        for (size_t i = 0; i < open.size(); ++i) {
            if (open[i].empty())
                continue;
            for (size_t j = 0; j < open.size(); ++j) {
                if (open[j].empty())
                    continue;
                int64_t d = squaredDistance(open[i].back(), open[j].front());
                if (d < best) {
                    best = d;
                    bestI = int(i);
                    bestJ = int(j);
                    endToEnd = false;
                }
                if (i != j) {
                    d = squaredDistance(open[i].back(), open[j].back());
                    if (d < best) {
                        best = d;
                        bestI = int(i);
                        bestJ = int(j);
                        endToEnd = true;
                    }
                }
            }
        }
        if (bestI < 0)
            break;
        Path &a = open[size_t(bestI)];
        Path &b = open[size_t(bestJ)];
        if (bestI == bestJ) {
            closed.push_back(std::move(a));
            a.clear();
        } else if (endToEnd) {
            if (closedPerimeter(a) > closedPerimeter(b)) {
                a.insert(a.end(), b.rbegin(), b.rend());
                b.clear();
            } else {
                b.insert(b.end(), a.rbegin(), a.rend());
                a.clear();
            }
        } else {
            a.insert(a.end(), b.begin(), b.end());
            b.clear();
        }
    }
    removeEmpty(open);
}

void removeTinyPolygons(Paths &polygons)
{
    constexpr int64_t kSnap = 50;
    for (Path &path : polygons) {
        int64_t length = 0;
        for (size_t n = 0; n < path.size() && length <= kSnap; ++n)
            length += edgeLength(path[n], path[(n + 1) % path.size()]);
        if (length < kSnap)
            path.clear();
    }
    removeEmpty(polygons);
}

void simplifyPolygons(Paths &polygons)
{
    constexpr int64_t kSmallest = 10;
    constexpr int64_t kDeviation = 500;
    constexpr int64_t kUnit = 10000000;
    for (Path &path : polygons) {
        if (path.size() < 3) {
            path.clear();
            continue;
        }
        const size_t n = path.size();
        size_t kept = 1;
        IntPoint last = path[0];
        for (size_t k = 1; k < n; ++k) {
            const IntPoint p = path[k];
            const IntPoint d(p.X - last.X, p.Y - last.Y);
            const int64_t d2 = d.X * d.X + d.Y * d.Y;
            if (d.X >= -kSmallest && d.X <= kSmallest && d.Y >= -kSmallest && d.Y <= kSmallest &&
                d2 <= kSmallest * kSmallest)
                continue;
            bool keep = true;
            if (!(d.X < -kDeviation || d.X > kDeviation || d.Y < -kDeviation || d.Y > kDeviation ||
                  d2 > kDeviation * kDeviation)) {
                const IntPoint &next = path[(k + 1) % n];
                const IntPoint u1 = scaledTo(d, kUnit);
                const IntPoint u2 = scaledTo(IntPoint(next.X - p.X, next.Y - p.Y), kUnit);
                keep = u1.X * u2.X + u1.Y * u2.Y >= -99999999999999LL;
            }
            if (keep) {
                path[kept++] = p;
                last = p;
            }
        }
        path.resize(kept);
        if (path.size() < 3)
            path.clear();
    }
    removeEmpty(polygons);
}

void unionIntoParts(const Paths &polygons, std::vector<SlicePart> &parts)
{
    parts.clear();
    if (polygons.empty())
        return;
    ClipperLib::Clipper clipper;
    clipper.AddPaths(polygons, ClipperLib::ptSubject, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    addPolyNode(tree, parts);
}

} // namespace Lamellor
