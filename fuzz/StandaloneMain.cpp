// Replays inputs through a fuzz target without libFuzzer: every file named on the command line,
// and every file inside a folder named there. Built with any compiler (GCC's sanitizers find
// faults that the clang runs miss) and run by the test suite over the seed corpora, so the
// targets keep building and the seeds keep passing.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace
{

int replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 0;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                           std::size_t(bytes.size()));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QFileInfoList files = QDir(arg).entryInfoList(QDir::Files, QDir::Name);
            for (const QFileInfo &f : files)
                inputs += replay(f.filePath());
        } else {
            inputs += replay(arg);
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return inputs > 0 ? 0 : 1;
}
