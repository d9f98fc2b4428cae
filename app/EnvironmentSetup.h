#pragma once

#include <QString>

namespace Orvane3Ds
{

class CEnvironmentColors;
class CSupplizeConfig;

// Reads the colour file and the supplies description. Happens before any GL call of the view.
// Returns false when either file is missing or unreadable (the colours then stay as they are,
// or black for names the file would have defined).
bool loadEnvironmentFiles(CEnvironmentColors &colors, CSupplizeConfig &supplies,
                          const QString &colorFile, const QString &descriptionFile);

// Builds the scheme cache and selects the first supply listed for the 0.1 mm layer thickness
// (logs "selected supplies:<colour>"). Returns false when the description lists none.
bool initialEnvironmentColors(CEnvironmentColors &colors, CSupplizeConfig &supplies);

// Applies the scheme named by the selected supply (logs "init slecelt color:<name>"). Returns
// false when no cached scheme has that name.
bool applySelectedEnvironmentColor(CEnvironmentColors &colors, const CSupplizeConfig &supplies);

} // namespace Orvane3Ds
