#pragma once

#include "geometry/SupportParameters.h"

namespace testsupport
{

// The support parameters of the shipped medium profile, the one set the tests share: 0.8 mm
// columns, 0.6 mm overhang and 0.4 mm link points, 2 mm gaps, lifted 5 mm, a 1.2 mm plate
// reaching 2.5 mm out (base mode 1), the model lifted (hasSupports false).
inline SupportParameters mediumSupportParameters()
{
    SupportParameters params;
    params.supportRadius = 0.4f;
    params.overhangRadius = 0.3f;
    params.linkPointRadius = 0.2f;
    params.supportGaps = 2.0f;
    params.supportHeight = 5.0f;
    params.baseHeight = 1.2f;
    params.baseExtern = 2.5f;
    params.baseMode = 1;
    params.hasSupports = false;
    return params;
}

} // namespace testsupport
