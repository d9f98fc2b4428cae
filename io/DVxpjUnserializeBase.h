#pragma once

#include "geometry/IProgressable.h"
#include "io/VxpjFormat.h"

#include <QString>

#include <cstdint>
#include <list>
#include <memory>

class Model;
class QIODevice;

// Common part of the project readers: the input device, bounded reads and the model loop.
//
// Every count in the file is checked against the bytes that remain before anything is
// allocated for it; a file that ends early, lies about a count or refers to points it does not
// hold is rejected with an error whose message starts with Vxpj::damaged(). Failures are thrown
// as DIoError. The reader is a progress object: give it the caller's progress object as parent.
class DVxpjUnserializeBase : public IProgressable
{
  public:
    // Opens the file for reading; throws DIoError("VxpjV1 Open file error") when it cannot.
    explicit DVxpjUnserializeBase(const QString &path);
    // Reads from an open, random-access device owned by the caller (in-memory data, tests).
    explicit DVxpjUnserializeBase(QIODevice *device);
    ~DVxpjUnserializeBase() override;

    // The newest file version this reader understands.
    virtual std::int32_t version() const = 0;

    // Reads the header and every model record. Returns true; throws DIoError on failure or
    // cancellation ("Canceled").
    bool load();

    // The models read by load(): new objects, marked indexed, not yet post-processed.
    const std::list<std::shared_ptr<Model>> &models() const { return m_models; }

    // Builds manual supports from the rods of version 4 and later files. Without a valid codec
    // the rods are checked and skipped.
    void setRodCodec(Vxpj::RodCodec codec) { m_rodCodec = std::move(codec); }

  protected:
    // The steps that differ between versions, in file order.
    // Size value of an overhang record whose radius was just read.
    virtual float readOverhangSize(float radius) = 0;
    // Bytes of one overhang record.
    virtual std::int64_t overhangRecordBytes() const = 0;
    virtual void readManualSupportBlock(Model &model) = 0;
    // The parameter fields of this version; the defaults are already set.
    virtual void readParameterFields(Model &model) = 0;
    // After the last model record.
    virtual void readNameBlock() = 0;

    // Bounded reads; each throws the damaged-file error when the file ends first.
    std::int32_t readInt32(const char *what);
    float readFloat(const char *what);
    bool readBool(const char *what);
    Point3f readPoint(const char *what);
    QByteArray readBytes(std::int64_t count, const char *what);
    void skip(std::int64_t count, const char *what);
    // Reads a count and checks that count records of recordBytes each fit into the rest.
    std::int32_t readCount(const char *what, std::int64_t recordBytes);

    // Throws the damaged-file error "<damaged()><detail> (model <n>)".
    [[noreturn]] void fail(const QString &detail) const;
    void checkCancel() const;

    std::int32_t fileVersion() const { return m_fileVersion; }
    int currentModel() const { return m_currentModel; }
    std::list<std::shared_ptr<Model>> &mutableModels() { return m_models; }
    const Vxpj::RodCodec &rodCodec() const { return m_rodCodec; }

  private:
    void readHeader();
    void readModel(int index, int count);
    void readOverhangBlock(Model &model);
    void readParameterBlock(Model &model);
    // Refuses a model whose positions, overhangs, manual pieces, parameters or contour values
    // are not finite or lie beyond the coordinate range.
    void checkNumbers(const Model &model);
    void readPointBlock(Model &model);
    void readFaceBlock(Model &model);
    void readContourValues(Model &model);
    void readLayerBlock(Model &model);
    void readRaw(char *data, std::int64_t bytes, const char *what);
    std::int64_t remaining() const { return m_size - m_pos; }

    std::unique_ptr<QIODevice> m_ownedDevice;
    QIODevice *m_device = nullptr;
    std::int64_t m_size = 0;
    std::int64_t m_pos = 0;
    std::int32_t m_fileVersion = 0;
    std::int32_t m_modelCount = 0;
    int m_currentModel = 0;
    std::list<std::shared_ptr<Model>> m_models;
    Vxpj::RodCodec m_rodCodec;
};
