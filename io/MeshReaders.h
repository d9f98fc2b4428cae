#pragma once

#include "io/DIoPartBase.h"

#include <QString>

#include <memory>

// The reader for a part file chosen by its lower-case suffix: "stl" (DIoAsciiStl, which also
// reads binary STL), "obj" (DIoOBJ), "slc" (DIoSlc); null for any other suffix. The file name is
// already set on the returned reader.
std::unique_ptr<DIoPartBase> createPartReader(const QString &path);

// True when createPartReader() has a reader for the path's suffix.
bool isPartFile(const QString &path);
