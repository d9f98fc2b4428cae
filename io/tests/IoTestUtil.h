#pragma once

#include "geometry/Model.h"
#include "io/DIoPartBase.h"

#include <QByteArray>
#include <QtEndian>

#include <cstring>
#include <memory>
#include <vector>

inline std::shared_ptr<Model> readBytes(DIoPartBase &reader, const QByteArray &bytes)
{
    reader.setData(bytes);
    return std::dynamic_pointer_cast<Model>(reader.read());
}

// Little-endian SLC builder for tests.
class SlcBuilder
{
  public:
    explicit SlcBuilder(const QByteArray &header = "-SLCVER 2.0 -UNIT MM -PACKAGE Orvane "
                                                   "-EXTENTS 0 1 0 1 0 1 0 1 0 1 0 1")
    {
        m_bytes = header + "\r\n\x1a";
        m_bytes += QByteArray(256, '\0');
    }
    SlcBuilder &table(const std::vector<std::array<float, 4>> &entries)
    {
        m_bytes += char(entries.size());
        for (const auto &e : entries)
            for (float f : e)
                f32(f);
        return *this;
    }
    SlcBuilder &layer(float z, const std::vector<std::vector<std::array<float, 2>>> &boundaries)
    {
        f32(z);
        u32(quint32(boundaries.size()));
        for (const auto &b : boundaries) {
            u32(quint32(b.size()));
            u32(0);
            for (const auto &p : b) {
                f32(p[0]);
                f32(p[1]);
            }
        }
        return *this;
    }
    SlcBuilder &end(float z)
    {
        f32(z);
        u32(0xFFFFFFFFu);
        return *this;
    }
    SlcBuilder &u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
        return *this;
    }
    SlcBuilder &f32(float f)
    {
        quint32 v;
        std::memcpy(&v, &f, 4);
        return u32(v);
    }
    QByteArray bytes() const { return m_bytes; }

  private:
    QByteArray m_bytes;
};

inline std::vector<std::array<float, 2>> unitSquare()
{
    return {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
}
