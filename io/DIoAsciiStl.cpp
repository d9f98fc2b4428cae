#include "io/DIoAsciiStl.h"

#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/TextNumbers.h"

#include <QFile>

#include <charconv>
#include <cstring>
#include <optional>

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Case-insensitive search of a lower-case keyword in [b, e); returns the end of the match.
const char *findNoCase(const char *b, const char *e, const char *keyword)
{
    const std::size_t n = std::strlen(keyword);
    for (const char *p = b; p + n <= e; ++p) {
        std::size_t k = 0;
        while (k < n && lower(p[k]) == keyword[k])
            ++k;
        if (k == n)
            return p + n;
    }
    return nullptr;
}

bool startsWithNoCase(const char *b, const char *e, const char *keyword)
{
    const std::size_t n = std::strlen(keyword);
    if (std::size_t(e - b) < n)
        return false;
    for (std::size_t k = 0; k < n; ++k)
        if (lower(b[k]) != keyword[k])
            return false;
    return true;
}

// Walks the lines of a buffer with leading and trailing blanks removed, skipping empty lines.
// Runs of empty lines of any length are skipped: a text file padded with blank lines between
// facets is still a valid part and must not fall through to the binary reading.
class LineReader
{
  public:
    explicit LineReader(const QByteArray &bytes)
        : m_pos(skipByteOrderMark(bytes.constData(), bytes.constData() + bytes.size())),
          m_end(bytes.constData() + bytes.size()), m_begin(bytes.constData())
    {
    }

    // The next non-empty line, or false at the end of the data. Lines end at "\n", "\r\n" or
    // a lone "\r".
    bool next(const char *&b, const char *&e)
    {
        while (m_pos < m_end) {
            const char *following = m_end;
            const char *lineEnd = lineEndOf(m_pos, m_end, &following);
            b = m_pos;
            e = lineEnd;
            m_pos = following;
            ++m_lineNumber;
            while (b < e && isBlank(*b))
                ++b;
            while (e > b && isBlank(e[-1]))
                --e;
            if (b < e)
                return true;
        }
        return false;
    }

    qint64 position() const { return m_pos - m_begin; }
    int lineNumber() const { return m_lineNumber; }

  private:
    const char *m_pos;
    const char *m_end;
    const char *m_begin;
    int m_lineNumber = 0;
};

// A vertex coordinate after blanks; the problem when it cannot be kept.
NumberProblem parseFloat(const char *&p, const char *e, float *value)
{
    while (p < e && isBlank(*p))
        ++p;
    return parseCoordinate(p, e, value);
}

} // namespace

bool DIoAsciiStl::looksText(const QByteArray &bytes)
{
    const int n = qMin(bytes.size(), 512);
    for (int i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes.at(i));
        if (c < 9 || (c > 13 && c < 32))
            return false;
    }
    return true;
}

bool DIoAsciiStl::looksAscii(const QByteArray &bytes)
{
    const qint64 window = qMin<qint64>(bytes.size(), 1024);
    return looksAscii(bytes, bytes.right(int(window)));
}

bool DIoAsciiStl::looksAscii(const QByteArray &head, const QByteArray &tail)
{
    const char *headEnd = head.constData() + head.size();
    if (!startsWithNoCase(skipByteOrderMark(head.constData(), headEnd), headEnd, "solid"))
        return false;
    // Look for a line starting with "endsolid" near the end of the file; trailing blank lines
    // and a long solid name still fit in this window.
    const char *p = tail.constData();
    const char *e = p + tail.size();
    while (p < e) {
        const char *following = e;
        const char *lineEnd = lineEndOf(p, e, &following);
        const char *s = p;
        while (s < lineEnd && isBlank(*s))
            ++s;
        if (startsWithNoCase(s, lineEnd, "endsolid"))
            return true;
        p = following;
    }
    return false;
}

std::shared_ptr<Mesh3D> DIoAsciiStl::read()
{
    setLevel2(60, 0);
    auto model = std::make_shared<Model>();
    // Binary files are read block by block; text, and the fallback between the encodings, work
    // on the whole input.
    QFile file;
    bool streamed = openForStreaming(file);
    QByteArray bytes;
    bool loaded = false;
    QByteArray head; // at least the bytes the detection and looksText() look at
    bool ascii = false;
    if (streamed) {
        const qint64 size = file.size();
        head.resize(int(qMin<qint64>(size, 512)));
        readExactly(file, head.data(), head.size());
        QByteArray tail(int(qMin<qint64>(size, 1024)), Qt::Uninitialized);
        if (!file.seek(size - tail.size()))
            throw DIoError(
                QStringLiteral("Cannot read %1: %2").arg(displayName(), file.errorString()));
        readExactly(file, tail.data(), tail.size());
        ascii = looksAscii(head, tail);
        streamed = !ascii;
    }
    if (!streamed) {
        bytes = loadInput();
        loaded = true;
        head = bytes;
        ascii = looksAscii(bytes);
    }

    auto tryParse = [&](bool asAscii) {
        model->vertices().clear();
        model->faces().clear();
        if (!asAscii && streamed) {
            if (!file.seek(0))
                throw DIoError(
                    QStringLiteral("Cannot read %1: %2").arg(displayName(), file.errorString()));
            return streamBinary(file, *model);
        }
        if (!loaded) {
            bytes = loadInput();
            loaded = true;
        }
        return asAscii ? parseAscii(bytes, *model) : parseBinary(bytes, *model);
    };

    bool completed = false;
    try {
        completed = tryParse(ascii);
    } catch (const DIoError &first) {
        if (isCancelled()) {
            reportCancelled();
            return nullptr;
        }
        // The other encoding is tried only where it is plausible: binary always, ASCII when the
        // file starts with "solid" (a text file without its closing line).
        const bool otherPlausible =
            ascii || startsWithNoCase(head.constData(), head.constData() + head.size(), "solid");
        if (!otherPlausible)
            throw;
        try {
            completed = tryParse(!ascii);
        } catch (const DIoError &second) {
            // Say what is wrong in terms of the encoding the file really seems to use.
            if (!ascii && looksText(head))
                throw second;
            throw first;
        }
    }
    if (!completed) {
        reportCancelled();
        return nullptr;
    }
    return finish(std::move(model));
}

bool DIoAsciiStl::parseAscii(const QByteArray &bytes, Model &model) const
{
    LineReader lines(bytes);
    const qint64 size = qMax<qint64>(bytes.size(), 1);
    auto &vertices = model.vertices();
    auto &faces = model.faces();
    const char *b = nullptr;
    const char *e = nullptr;

    auto fail = [&](const char *expected) {
        throw DIoError(QStringLiteral("Malformed ASCII STL: expected \"%1\" at line %2")
                           .arg(QLatin1String(expected))
                           .arg(lines.lineNumber()));
    };
    auto expectLine = [&](const char *keyword) -> const char * {
        if (!lines.next(b, e))
            throw DIoError(QStringLiteral("Truncated ASCII STL: the file ends inside a facet "
                                          "(line %1)")
                               .arg(lines.lineNumber()));
        const char *after = findNoCase(b, e, keyword);
        if (!after)
            fail(keyword);
        return after;
    };

    if (!lines.next(b, e)) // the "solid" line
        throw DIoError(QStringLiteral("The STL file %1 is empty").arg(displayName()));

    int lastPercent = 0;
    for (;;) {
        if (isCancelled())
            return false;
        if (!lines.next(b, e))
            break; // a missing "endsolid" is tolerated
        if (findNoCase(b, e, "endsolid")) {
            // A file may hold several solids one after the other: read them all. Whatever else
            // follows the last one is not geometry.
            if (!lines.next(b, e) || !startsWithNoCase(b, e, "solid"))
                break;
            continue;
        }
        if (!findNoCase(b, e, "facet normal"))
            fail("facet normal");
        expectLine("outer loop");
        for (int k = 0; k < 3; ++k) {
            const char *p = expectLine("vertex");
            Point3f v;
            for (int c = 0; c < 3; ++c) {
                const char *number = p;
                const NumberProblem problem = parseFloat(p, e, &v[c]);
                if (problem == NumberProblem::NotANumber)
                    throw DIoError(QStringLiteral("Malformed ASCII STL: a vertex needs three "
                                                  "numbers (line %1)")
                                       .arg(lines.lineNumber()));
                if (problem != NumberProblem::None)
                    throw DIoError(QStringLiteral("Bad ASCII STL: the vertex coordinate \"%1\" "
                                                  "%2 (line %3)")
                                       .arg(QString::fromLatin1(number, int(p - number)).trimmed(),
                                            QLatin1String(numberProblemText(problem)))
                                       .arg(lines.lineNumber()));
            }
            vertices.push_back(v);
        }
        expectLine("endloop");
        expectLine("endfacet");
        if (vertices.size() > std::size_t(0xFFFFFFF0u))
            throw DIoError(
                QStringLiteral("The STL file %1 holds too many triangles").arg(displayName()));
        const auto base = std::uint32_t(vertices.size() - 3);
        faces.push_back(Face{{base, base + 1, base + 2}});
        const int percent = int(lines.position() * 100 / size);
        if (percent > lastPercent) {
            lastPercent = percent;
            report(percent, 100);
        }
    }
    if (faces.empty())
        throw DIoError(QStringLiteral("The STL file %1 holds no triangles").arg(displayName()));
    return true;
}
