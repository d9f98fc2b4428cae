#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class IProgressable;
class Mesh3D;
class QFile;

// Base of the file readers.
//
// A reader is used once: set the file name, the progress object, then call read() on a worker
// thread. Instead of a file, the bytes can be handed in with setData() (tests, fuzzing, data
// already in memory).
//
// Progress goes to the given progress object (not owned; may be null) under the stage text
// "ModalLoding", in level "level2" of the root. Cancellation is polled from it.
class DIoBase
{
  public:
    DIoBase() = default;
    DIoBase(const DIoBase &) = delete;
    DIoBase &operator=(const DIoBase &) = delete;
    virtual ~DIoBase();

    virtual void setProgress(IProgressable *progress);
    virtual void setFileName(const QString &fileName);
    const QString &fileName() const { return m_fileName; }
    IProgressable *progress() const { return m_progress; }

    // Reads from these bytes instead of the file; the file name then only labels messages.
    void setData(const QByteArray &bytes);

    // Finishing step after every read: recomputes the box, sets the object size to the box
    // extent, computes face normals and the centroid, reporting steps 1..3 of 3.
    virtual void postProcess(Mesh3D &mesh);

    // Welds a triangle soup of more than weldThreshold() vertices (not SLC contour models):
    // vertices at exactly equal positions (-0 equals +0) are merged, keeping the order of
    // first appearance, faces are re-indexed and the mesh is marked indexed. Smaller meshes
    // stay soups. Returns false when cancelled (the mesh is then left unchanged).
    virtual bool weld(Mesh3D &mesh);
    // Welds unconditionally (the threshold check of weld() skipped). Returns false when
    // cancelled.
    bool weldAlways(Mesh3D &mesh);
    static constexpr std::size_t weldThreshold() { return 0x100000; }

    // Source kind copied into the mesh: 0, or 1 for SLC contour models.
    std::int32_t sourceKind() const { return m_sourceKind; }

  protected:
    // The whole input: the bytes from setData() or the file's contents.
    // Throws DIoError when the file cannot be opened or read.
    QByteArray loadInput() const;
    // Opens the file for reading piece by piece (no setData() bytes). Throws DIoError when it
    // cannot be opened; returns false, leaving the file closed, when it cannot be read in pieces
    // (no known size, or too large for loadInput()), so the caller falls back to loadInput().
    bool openForStreaming(QFile &file) const;
    // Reads exactly n bytes from the file's current position; throws DIoError when fewer come.
    void readExactly(QFile &file, char *to, qint64 n) const;
    bool isCancelled() const;
    void report(std::int64_t current, std::int64_t total) const;
    // Sets "level2" with unit "pct" (span, start) on the progress object when there is one.
    void setLevel2(int span, int start) const;
    void setLevel(const QString &name, int first, int second, const QString &unit) const;
    // Progress to 100 % after a cancelled read.
    void reportCancelled() const;
    QString displayName() const;

    IProgressable *m_progress = nullptr;
    QString m_fileName;
    QByteArray m_data;
    bool m_hasData = false;
    std::int32_t m_sourceKind = 0;
};
