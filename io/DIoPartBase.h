#pragma once

#include "io/DIoBase.h"

#include <memory>

class Mesh3D;

// Reader of one part file (a single mesh).
//
// read() contract (all readers):
//  - returns the mesh, a Model (std::dynamic_pointer_cast<Model> succeeds), post-processed;
//  - returns null only when the read was cancelled through the progress object;
//  - throws DIoError with an English message saying why when the file cannot be opened or is
//    malformed, truncated or holds no geometry.
class DIoPartBase : public DIoBase
{
  public:
    virtual std::shared_ptr<Mesh3D> read();
    // Does nothing (exporting goes through writeBinaryStl()).
    virtual void write(const std::shared_ptr<Mesh3D> &mesh);
};
