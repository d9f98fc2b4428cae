#include "geometry/Object3D.h"

Object3D::Object3D(const Object3D &other)
{
    *this = other;
}

Object3D &Object3D::operator=(const Object3D &other)
{
    if (this == &other)
        return *this;
    // The construction values stay those of this object.
    m_size = other.m_size;
    m_reservedSize = other.m_reservedSize;
    m_scale = other.m_scale;
    m_layoutRotated = other.m_layoutRotated;
    m_layoutOffsetX = other.m_layoutOffsetX;
    m_layoutOffsetY = other.m_layoutOffsetY;
    m_furtherValue = other.m_furtherValue;
    m_kindTag = other.m_kindTag;
    m_pathText = other.m_pathText;
    m_baseName = other.m_baseName;
    m_indexed = other.m_indexed;
    m_sourceKind = other.m_sourceKind;
    m_copyNumber = other.m_copyNumber;
    return *this;
}

QString Object3D::name() const
{
    if (m_copyNumber == 0)
        return m_baseName;
    return m_baseName + QLatin1Char('(') + QString::number(m_copyNumber) + QLatin1Char(')');
}

std::uint32_t &Object3D::copyNumber()
{
    return m_copyNumber;
}
