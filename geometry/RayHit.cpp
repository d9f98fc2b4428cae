#include "geometry/RayHit.h"

#include "geometry/Model.h"

bool rayTriangle(const Ray &ray, const Vec3f &a, const Vec3f &b, const Vec3f &c, float *t)
{
    const Vec3f e1 = b - a;
    const Vec3f e2 = c - a;
    const Vec3f p = ray.direction.cross(e2);
    const float det = e1.dot(p);
    if (!(det >= 1.1920929e-7f))
        return false;
    const Vec3f s = ray.origin - a;
    const float u = s.dot(p) / det;
    if (u < 0.0f || u > 1.0f)
        return false;
    const Vec3f q = s.cross(e1);
    const float w = ray.direction.dot(q) / det;
    if (w < 0.0f || u + w > 1.0f)
        return false;
    const float hit = e2.dot(q) / det;
    if (!(hit >= 0.0f))
        return false;
    *t = hit;
    return true;
}

void rayHitModel(const Ray &ray, const std::shared_ptr<Model> &model, RayHit *best)
{
    const std::vector<Point3f> &v = model->vertices();
    auto consider = [&](const Vec3f &a, const Vec3f &b, const Vec3f &c, int face) {
        float t = 0.0f;
        if (rayTriangle(ray, a, b, c, &t) && t < best->distance) {
            best->model = model;
            best->face = face;
            best->distance = t;
            best->point = ray.origin + ray.direction * t;
        }
    };
    if (model->sourceKind() == SourceKind::SlcContours) {
        for (size_t i = 1; i + 3 < v.size(); ++i)
            consider(v[i - 1], v[i], v[i + 1], static_cast<int>(i - 1));
        return;
    }
    const std::vector<Face> &faces = model->faces();
    for (size_t f = 0; f < faces.size(); ++f) {
        const Face &face = faces[f];
        if (face[0] >= v.size() || face[1] >= v.size() || face[2] >= v.size())
            continue;
        consider(v[face[0]], v[face[1]], v[face[2]], static_cast<int>(f));
    }
}
