#pragma once

#include "geometry/Vec3.h"

#include <list>
#include <memory>
#include <vector>

class Model;

// Rotation about the z axis through the origin (counter-clockwise seen from above).
Matrix4f rotationAboutZ(float radians);

// Automatic layout: every model becomes the rectangle of its x-y bounding box plus the spacing;
// the rectangles are packed by recursive guillotine cuts into a bin that grows by 2 mm steps
// until all fit, then each model is turned by 90 degrees where its rectangle was turned and
// moved to its place, the packed block centred on the origin.
class DModelPacker
{
  public:
    // One packed rectangle (a model) or one free area of the bin.
    struct Rect {
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        bool rotated = false;
        bool used = false;
        int firstChild = -1;
        int secondChild = -1;
        int item = -1; // index of the model (model rectangles only)
    };

    struct PackResult {
        bool success = false;
        int binWidth = 0;
        int binHeight = 0;
        std::vector<Rect> items; // model rectangles in placement (area) order
        std::vector<Rect> areas; // the free-area list as cut
    };

    explicit DModelPacker(float heightLimit = 54.0f);
    virtual ~DModelPacker() = default;

    virtual void setSpacing(int spacing);
    int spacing() const { return m_spacing; }

    // Packs rectangles of the given sizes into one bin of a x b (rotation allowed). The sizes
    // are taken as they are (no spacing added).
    static PackResult packInto(const std::vector<Rect> &sizes, int binWidth, int binHeight);

    // Packs the sizes into the smallest bin of the growth sequence 2x2, 4x4, ... in which they
    // all fit (the height stops growing at the height limit).
    PackResult pack(const std::vector<Rect> &sizes) const;

    // Lays the models out around the origin (see the class comment). Models are moved in place.
    void layout(const std::list<std::shared_ptr<Model>> &models) const;

  private:
    int m_spacing = 0;
    float m_widthLimit;
    float m_heightLimit;
};
