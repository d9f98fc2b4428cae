#pragma once

#include <QString>

namespace Orvane3Ds
{

// Something that is saved to and loaded from an XML file.
class ITinyXml
{
  public:
    virtual ~ITinyXml() = default;
    // Both return false with errorString() set when the file cannot be written or read.
    virtual bool save(const QString &path) = 0;
    virtual bool load(const QString &path) = 0;
    virtual QString errorString() const = 0;
};

} // namespace Orvane3Ds
