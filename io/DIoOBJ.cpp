#include "io/DIoOBJ.h"

#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/TextNumbers.h"

#include <charconv>
#include <cstring>

namespace
{

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Words of one line, separated by blanks.
class Words
{
  public:
    Words(const char *b, const char *e) : m_p(b), m_e(e) {}
    bool next(const char *&b, const char *&e)
    {
        while (m_p < m_e && isSpace(*m_p))
            ++m_p;
        if (m_p >= m_e)
            return false;
        b = m_p;
        while (m_p < m_e && !isSpace(*m_p))
            ++m_p;
        e = m_p;
        return true;
    }

  private:
    const char *m_p;
    const char *m_e;
};

bool equals(const char *b, const char *e, const char *word)
{
    const std::size_t n = std::strlen(word);
    return std::size_t(e - b) == n && std::memcmp(b, word, n) == 0;
}

} // namespace

std::shared_ptr<Mesh3D> DIoOBJ::read()
{
    setLevel2(85, 0);
    const QByteArray bytes = loadInput();
    const char *end = bytes.constData() + bytes.size();
    // A byte-order mark would glue itself to the first word and lose the first vertex.
    const char *data = skipByteOrderMark(bytes.constData(), end);
    const qint64 lineCount = qMax<qint64>(bytes.count('\n') + 1, 1);

    auto model = std::make_shared<Model>();
    auto &vertices = model->vertices();
    auto &faces = model->faces();
    std::vector<std::uint32_t> refs;
    qint64 lineNumber = 0;
    qint64 highestIndex = 0;
    qint64 highestIndexLine = 0;
    int lastPercent = -1;

    auto fail = [&](const QString &what) {
        throw DIoError(QStringLiteral("%1 (line %2)").arg(what).arg(lineNumber));
    };

    for (const char *line = data; line < end;) {
        const char *following = end;
        const char *lineEnd = lineEndOf(line, end, &following);
        ++lineNumber;
        // Comments run to the end of the line.
        const char *hash =
            static_cast<const char *>(std::memchr(line, '#', std::size_t(lineEnd - line)));
        Words words(line, hash ? hash : lineEnd);
        line = following;

        const char *wb = nullptr;
        const char *we = nullptr;
        if (!words.next(wb, we))
            continue;
        if (equals(wb, we, "v")) {
            Point3f v;
            for (int c = 0; c < 3; ++c) {
                const char *nb = nullptr;
                const char *ne = nullptr;
                if (!words.next(nb, ne))
                    fail(QStringLiteral("Vertex with fewer than three coordinates"));
                const char *p = nb;
                NumberProblem problem = parseCoordinate(p, ne, &v[c]);
                if (problem == NumberProblem::None && p != ne)
                    problem = NumberProblem::NotANumber;
                if (problem == NumberProblem::NotANumber)
                    fail(QStringLiteral("Vertex coordinate is not a number"));
                if (problem != NumberProblem::None)
                    fail(QStringLiteral("Vertex coordinate \"%1\" %2")
                             .arg(QString::fromLatin1(nb, int(ne - nb)),
                                  QLatin1String(numberProblemText(problem))));
            }
            vertices.push_back(v);
        } else if (equals(wb, we, "f")) {
            refs.clear();
            const char *rb = nullptr;
            const char *re = nullptr;
            while (words.next(rb, re)) {
                const char *slash =
                    static_cast<const char *>(std::memchr(rb, '/', std::size_t(re - rb)));
                const char *ie = slash ? slash : re;
                long long index = 0;
                const auto r = std::from_chars(rb, ie, index);
                if (r.ec != std::errc() || r.ptr != ie)
                    fail(QStringLiteral("Face reference \"%1\" is not a vertex index")
                             .arg(QString::fromLatin1(rb, int(re - rb))));
                if (index <= 0)
                    fail(QStringLiteral("Face refers to vertex %1; only positive (absolute) "
                                        "vertex indices are supported")
                             .arg(index));
                if (index > 0xFFFFFFFFll)
                    fail(QStringLiteral("Face refers to vertex %1, beyond any vertex count")
                             .arg(index));
                if (index > highestIndex) {
                    highestIndex = index;
                    highestIndexLine = lineNumber;
                }
                refs.push_back(std::uint32_t(index - 1));
            }
            if (refs.size() < 3)
                throw DIoError("Face found with less three indices.");
            for (std::size_t k = 1; k + 1 < refs.size(); ++k)
                faces.push_back(Face{{refs[0], refs[k], refs[k + 1]}});
        } else {
            continue;
        }
        if (vertices.size() > std::size_t(0xFFFFFFF0u))
            fail(QStringLiteral("Too many vertices"));
        // Progress and cancellation once per percent of the lines.
        const int percent = int(lineNumber * 100 / lineCount);
        if (percent != lastPercent) {
            lastPercent = percent;
            if (isCancelled()) {
                reportCancelled();
                return nullptr;
            }
            report(qint64(vertices.size() + faces.size()), lineCount);
        }
    }

    if (highestIndex > qint64(vertices.size()))
        throw DIoError(QStringLiteral("Face refers to vertex %1 but the file defines only %2 "
                                      "vertices (line %3)")
                           .arg(highestIndex)
                           .arg(vertices.size())
                           .arg(highestIndexLine));
    if (faces.empty())
        throw DIoError(QStringLiteral("The OBJ file %1 holds no faces").arg(displayName()));
    if (isCancelled()) {
        reportCancelled();
        return nullptr;
    }
    setLevel2(15, 85);
    postProcess(*model);
    return model;
}
