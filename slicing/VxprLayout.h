#pragma once

#include <QByteArray>

namespace OrvaneDlp
{

// Fixed layout of a .vxpr work package (all numbers little-endian).
namespace VxprLayout
{
constexpr char kTitle[] = "Orvane Dlp Work Pacage";
constexpr int kTitleLength = 22;
constexpr int kHeaderLength = kTitleLength + 32; // 54
constexpr int kVersion = 1;
constexpr int kFirstHeightOffset = 34;
constexpr int kVolumeOffset = 50;
constexpr int kReservedSize = 256;
constexpr int kPreviewSize = 256 * 256 * 3; // 196 608
constexpr int kPreviewCount = 3;
constexpr int kPreviewOffset = kHeaderLength + kReservedSize;                    // 310
constexpr int kFirstLayerOffset = kPreviewOffset + kPreviewCount * kPreviewSize; // 590 134
// A path or point count outside 1..kMaxCount is logged as suspicious (still written).
constexpr int kMaxCount = 2000;
} // namespace VxprLayout

} // namespace OrvaneDlp
