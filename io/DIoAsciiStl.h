#pragma once

#include "io/DIoStl.h"

// STL reader for both encodings (the one the import manager uses for ".stl").
//
// A file is taken as ASCII when it starts with "solid" and one of its last lines starts with
// "endsolid" (any case, leading blanks allowed); otherwise as binary. When the chosen encoding
// fails to parse, the other one is tried before the read fails.
class DIoAsciiStl : public DIoStl
{
  public:
    std::shared_ptr<Mesh3D> read() override;

    // The detection rule above, on the whole file contents.
    static bool looksAscii(const QByteArray &bytes);
    // The same rule on the start of the file (at least its first 5 bytes) and its last
    // min(size, 1024) bytes.
    static bool looksAscii(const QByteArray &head, const QByteArray &tail);

    // True when the first bytes hold no control characters other than blanks and line ends.
    static bool looksText(const QByteArray &bytes);

  private:
    // Throws DIoError with the line number on malformed input; false when cancelled.
    bool parseAscii(const QByteArray &bytes, Model &model) const;
};
