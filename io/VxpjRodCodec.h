#pragma once

#include "io/VxpjFormat.h"

namespace Vxpj
{

// The rod conversion of the hand-placed support pieces (DsCylider rods with their DsPoint end
// balls). Writing takes every rod of the array (balls are written as part of their rod); reading
// creates per rod two balls and the rod, linked to each other and sharing one
// ManualSupportRecord, appended balls first.
RodCodec manualSupportRodCodec();

} // namespace Vxpj
