#pragma once

#include <QByteArray>

#include <cstdint>

// Parameters supports are generated with; copied from a support profile into each model and
// stored in project files. The defaults are those used for version 1 projects.
struct SupportParameters {
    std::int32_t method = 0;       // 0 = method A, 1 = method B
    float supportRadius = 0.1f;    // half of "supportDiameter"
    float baseExtern = 2.5f;       // "supportBaseExtern"
    float baseHeight = 1.5f;       // "supportBaseHeight"
    float overhangRadius = 0.25f;  // half of "overhangDiameter"
    float supportGaps = 4.0f;      // "supportGaps"
    float supportHeight = 5.0f;    // "supportHeight"
    std::int32_t baseMode = 1;     // 1 when "isAddSupportBase" is true, 2 when false
    bool hasSupports = false;      // "isHasSupports"
    float linkPointRadius = 0.25f; // half of "linkPointDiameter"
    QByteArray profileName;

    bool operator==(const SupportParameters &o) const
    {
        return method == o.method && supportRadius == o.supportRadius &&
               baseExtern == o.baseExtern && baseHeight == o.baseHeight &&
               overhangRadius == o.overhangRadius && supportGaps == o.supportGaps &&
               supportHeight == o.supportHeight && baseMode == o.baseMode &&
               hasSupports == o.hasSupports && linkPointRadius == o.linkPointRadius &&
               profileName == o.profileName;
    }
    bool operator!=(const SupportParameters &o) const { return !(*this == o); }
};
