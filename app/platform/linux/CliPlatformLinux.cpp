#include "app/CliPlatform.h"

#include "geometry/IProgressable.h"

#include <QFile>
#include <QTextCodec>

#include <atomic>
#include <csignal>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::atomic<IProgressable *> g_interruptTarget{nullptr};
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted = true;
    if (IProgressable *target = g_interruptTarget.load())
        target->setCancel(true);
    // The next Ctrl+C ends the process as usual.
    std::signal(SIGINT, SIG_DFL);
}

// UTF-8 in which every byte that is not part of a valid sequence becomes U+DC00 + byte (a lone
// low surrogate, which valid UTF-8 never produces) and such characters become the byte again.
class LosslessUtf8Codec : public QTextCodec
{
  public:
    QByteArray name() const override { return QByteArrayLiteral("UTF-8 (lossless names)"); }
    QList<QByteArray> aliases() const override { return {}; }
    int mibEnum() const override { return -106; }

  protected:
    QString convertToUnicode(const char *in, int length, ConverterState *) const override
    {
        QString out;
        out.reserve(length);
        const auto *p = reinterpret_cast<const unsigned char *>(in);
        int i = 0;
        while (i < length) {
            const unsigned char c = p[i];
            if (c < 0x80) {
                out += QChar(c);
                ++i;
                continue;
            }
            int extra = 0;
            char32_t code = 0;
            char32_t least = 0;
            if ((c & 0xE0) == 0xC0) {
                extra = 1;
                code = c & 0x1F;
                least = 0x80;
            } else if ((c & 0xF0) == 0xE0) {
                extra = 2;
                code = c & 0x0F;
                least = 0x800;
            } else if ((c & 0xF8) == 0xF0) {
                extra = 3;
                code = c & 0x07;
                least = 0x10000;
            } else {
                extra = -1;
            }
            bool valid = extra > 0 && i + extra < length;
            if (valid) {
                for (int k = 1; k <= extra; ++k) {
                    if ((p[i + k] & 0xC0) != 0x80) {
                        valid = false;
                        break;
                    }
                    code = (code << 6) | (p[i + k] & 0x3F);
                }
            }
            if (valid && (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
                valid = false;
            if (!valid) {
                out += QChar(ushort(0xDC00 + c));
                ++i;
                continue;
            }
            if (code >= 0x10000) {
                out += QChar(QChar::highSurrogate(code));
                out += QChar(QChar::lowSurrogate(code));
            } else {
                out += QChar(ushort(code));
            }
            i += extra + 1;
        }
        return out;
    }

    QByteArray convertFromUnicode(const QChar *in, int length, ConverterState *) const override
    {
        QByteArray out;
        out.reserve(length);
        for (int i = 0; i < length; ++i) {
            const ushort u = in[i].unicode();
            char32_t code = u;
            if (u >= 0xDC80 && u <= 0xDCFF) {
                out += char(u - 0xDC00);
                continue;
            }
            if (QChar::isHighSurrogate(u) && i + 1 < length &&
                QChar::isLowSurrogate(in[i + 1].unicode())) {
                code = QChar::surrogateToUcs4(u, in[i + 1].unicode());
                ++i;
            } else if (QChar::isSurrogate(u)) {
                out += '?';
                continue;
            }
            if (code < 0x80) {
                out += char(code);
            } else if (code < 0x800) {
                out += char(0xC0 | (code >> 6));
                out += char(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                out += char(0xE0 | (code >> 12));
                out += char(0x80 | ((code >> 6) & 0x3F));
                out += char(0x80 | (code & 0x3F));
            } else {
                out += char(0xF0 | (code >> 18));
                out += char(0x80 | ((code >> 12) & 0x3F));
                out += char(0x80 | ((code >> 6) & 0x3F));
                out += char(0x80 | (code & 0x3F));
            }
        }
        return out;
    }
};

} // namespace

bool x11DisplayUsable()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return false;
    // libxcb is what Qt's X platform itself uses; it is looked up at run time so the program
    // does not link against X for this one question.
    void *xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool usable = false;
    if (connect && hasError && disconnect) {
        void *connection = connect(display.constData(), nullptr);
        usable = connection && hasError(connection) == 0;
        if (connection)
            disconnect(connection);
    }
    dlclose(xcb);
    return usable;
}

void installInterruptHandler(IProgressable *progress)
{
    g_interruptTarget = progress;
    std::signal(SIGINT, onInterrupt);
}

void restoreInterrupt()
{
    std::signal(SIGINT, SIG_DFL);
    g_interruptTarget = nullptr;
}

bool interrupted()
{
    return g_interrupted;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) != 0;
}

void installLosslessFileNames()
{
    QTextCodec *locale = QTextCodec::codecForLocale();
    if (!locale || locale->mibEnum() != 106)
        return;
    // Codecs register themselves on construction and live until the process ends.
    static LosslessUtf8Codec *codec = new LosslessUtf8Codec;
    QTextCodec::setCodecForLocale(codec);
}
