#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// Contour data of a model read from an SLC file. The contour points themselves are the owning
// mesh's vertices (x, y, layer z); a contour is a list of indices into that vertex array.
struct SlcModel {
    using Contour = std::vector<std::uint32_t>;
    using Layer = std::vector<Contour>;

    QByteArray unit;             // word after "-unit" in the header, lower-cased
    QByteArray package;          // word after the header word containing "package", lower-cased
    float minZ = 0.0f;           // minimum z of the last sampling-table entry
    float layerThickness = 0.0f; // layer thickness of the last sampling-table entry
    float maxZ = 0.0f;           // z of the last layer (stored just before the end marker)
    std::vector<Layer> layers;
};
