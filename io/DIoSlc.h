#pragma once

#include "io/DIoPartBase.h"

// SLC contour reader. Produces a Model of source kind 1 whose vertices are the contour points
// (x, y, layer z), without faces, and whose contour data (SlcModel) lists the layers' contours
// as vertex indices. Units are not converted. A cancelled read returns the layers read so far
// (null when none). Rejects a missing header end, counts that run past the end of the file, a
// missing end marker and files without contours.
class DIoSlc : public DIoPartBase
{
  public:
    DIoSlc();
    std::shared_ptr<Mesh3D> read() override;
};
