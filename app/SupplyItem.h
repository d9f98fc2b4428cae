#pragma once

#include <QString>

namespace Orvane3Ds
{

// One resin supply: the colour scheme it is drawn in and its commercial data (all text).
struct SupplyItem {
    QString color; // a colour scheme name
    QString price;
    QString lighting;
    QString version;

    bool operator==(const SupplyItem &o) const
    {
        return color == o.color && price == o.price && lighting == o.lighting &&
               version == o.version;
    }
};

} // namespace Orvane3Ds
