#pragma once

#include <QString>

#include <cstdint>

namespace Orvane3Ds
{

// Bookkeeping of the objects created by the application: a running number for new objects.
class CObjectInfo
{
  public:
    virtual ~CObjectInfo() = default;

    std::uint32_t nextObjectNumber() { return ++m_objectCount; }
    std::uint32_t objectCount() const { return m_objectCount; }

  private:
    std::uint32_t m_objectCount = 0;
};

} // namespace Orvane3Ds
