#pragma once

#include "network/NetClientCmd.h"

#include <QList>
#include <QMetaType>

// The connected printers in the order their connections were made. Passed by value in signals;
// receivers read the printers through the pointers during the call and must not keep the list.
using DeviceInfos = QList<NetClientCmd *>;

Q_DECLARE_METATYPE(DeviceInfos)
