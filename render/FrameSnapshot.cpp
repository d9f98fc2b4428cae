#include "render/FrameSnapshot.h"

#include "render/GlMath.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace Orvane3Ds
{

namespace
{
constexpr float EyeDistance = 200.0f;
constexpr float FarPlane = 2000.0f;
} // namespace

void snapshotExtents(const Box3f &box, SnapshotView view, float *fw, float *fh)
{
    const Vec3f e = box.extent();
    switch (view) {
    case SnapshotView::Front:
        *fw = e.y;
        *fh = e.z;
        break;
    case SnapshotView::Top:
        *fw = e.y;
        *fh = e.x;
        break;
    case SnapshotView::Left:
        *fw = e.x;
        *fh = e.z;
        break;
    }
}

SnapshotSize snapshotSize(const Box3f &box, SnapshotView view)
{
    if (box.isEmpty())
        return {};
    float fw = 0, fh = 0;
    snapshotExtents(box, view, &fw, &fh);
    const float longer = std::max(fw, fh);
    if (!(longer > 0.0f))
        return {};
    const float m = SnapshotCanvas * std::min(fw, fh) / longer;
    SnapshotSize size;
    if (fh < fw) {
        size.width = SnapshotCanvas;
        size.height = static_cast<int>(m);
    } else {
        size.width = static_cast<int>(m);
        size.height = SnapshotCanvas;
    }
    size.width = (size.width + 3) / 4 * 4;
    // A sliver thinner than a pixel still shows as one row or column.
    size.width = std::max(size.width, 4);
    size.height = std::max(size.height, 1);
    return size;
}

SnapshotCamera snapshotCamera(const Box3f &box, SnapshotView view)
{
    const Vec3f &mn = box.min;
    const Vec3f &mx = box.max;
    Vec3f eye, up;
    float l = 0, r = 0, b = 0, t = 0, nearest = 0;
    switch (view) {
    case SnapshotView::Front:
        eye = {EyeDistance, 0, 0};
        up = {0, 0, 1};
        l = mn.y, r = mx.y, b = mn.z, t = mx.z, nearest = mx.x;
        break;
    case SnapshotView::Top:
        eye = {0, 0, EyeDistance};
        up = {-1, 0, 0};
        l = mn.y, r = mx.y, b = -mx.x, t = -mn.x, nearest = mx.z;
        break;
    case SnapshotView::Left:
        eye = {0, EyeDistance, 0};
        up = {0, 0, 1};
        l = -mx.x, r = -mn.x, b = mn.z, t = mx.z, nearest = mx.y;
        break;
    }
    // The near plane sits just in front of the nearest point of the box as seen from the eye
    // (distance eye - nearest coordinate), so tall or far-reaching models are never cut. An
    // orthographic near plane may lie behind the eye.
    const float n = EyeDistance - nearest - 1.0f;
    SnapshotCamera cam;
    cam.projection = orthoMatrix(l, r, b, t, n, FarPlane);
    cam.view = lookAtMatrix(eye, {0, 0, 0}, up);
    return cam;
}

QByteArray composeSnapshotCanvas(const QByteArray &rgba, int width, int height)
{
    QByteArray canvas(SnapshotBytes, '\0');
    if (width <= 0 || height <= 0 || rgba.size() < qint64(width) * height * 4)
        return canvas;
    width = std::min(width, SnapshotCanvas);
    height = std::min(height, SnapshotCanvas);
    int x0 = 0, y0 = 0;
    if (height > width) {
        x0 = (SnapshotCanvas - width) / 2;
        y0 = 0;
    } else {
        x0 = 0;
        y0 = SnapshotCanvas - height;
    }
    const auto *src = reinterpret_cast<const unsigned char *>(rgba.constData());
    auto *dst = reinterpret_cast<unsigned char *>(canvas.data());
    for (int row = 0; row < height; ++row) {
        const unsigned char *line = src + std::size_t(height - 1 - row) * width * 4;
        unsigned char *out = dst + (std::size_t(y0 + row) * SnapshotCanvas + x0) * 3;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = line[4 * x];
            out[3 * x + 1] = line[4 * x + 1];
            out[3 * x + 2] = line[4 * x + 2];
        }
    }
    return canvas;
}

bool writeSnapshotFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString snapshotName(SnapshotView view)
{
    switch (view) {
    case SnapshotView::Front:
        return QStringLiteral("front");
    case SnapshotView::Top:
        return QStringLiteral("top");
    case SnapshotView::Left:
        return QStringLiteral("left");
    }
    return {};
}

} // namespace Orvane3Ds
