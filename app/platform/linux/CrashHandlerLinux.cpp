#include "app/CrashHandler.h"

#include <QByteArray>
#include <QDateTime>

#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

// Everything the signal handler needs is prepared at install time: inside the handler only
// async-signal-safe calls are made (open, write, read, close, fork, execve, sigaction, raise).

namespace
{

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kAltStackSize = 256 * 1024;
constexpr int kMaxFrames = 64;

char s_dumpName[256];
char s_exePath[PATH_MAX];
bool s_showReport = true;
volatile sig_atomic_t s_handling = 0;
alignas(16) char s_altStack[kAltStackSize];
void *s_frames[kMaxFrames];

// Formats `value` as lower-case hexadecimal without prefix into `out` (at least 17 bytes).
size_t toHex(uintptr_t value, char *out)
{
    char digits[sizeof(uintptr_t) * 2];
    size_t n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value & 0xf];
        value >>= 4;
    } while (value != 0);
    for (size_t i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    out[n] = '\0';
    return n;
}

size_t toDecimal(long value, char *out)
{
    char digits[24];
    size_t n = 0;
    const bool negative = value < 0;
    unsigned long v =
        negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    size_t len = 0;
    if (negative)
        out[len++] = '-';
    for (size_t i = 0; i < n; ++i)
        out[len++] = digits[n - 1 - i];
    out[len] = '\0';
    return len;
}

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void writeText(int fd, const char *text)
{
    writeAll(fd, text, strlen(text));
}

void writeHexLine(int fd, const char *label, uintptr_t value)
{
    char buf[24];
    writeText(fd, label);
    writeAll(fd, buf, toHex(value, buf));
    writeText(fd, "\n");
}

uintptr_t instructionPointer(void *context)
{
    if (!context)
        return 0;
    auto *uc = static_cast<ucontext_t *>(context);
#if defined(__x86_64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#else
    (void)uc;
    return 0;
#endif
}

// The address that caused the fault; for signals sent by a process (abort, kill) there is none.
uintptr_t faultAddress(const siginfo_t *info)
{
    if (!info || info->si_code <= 0)
        return 0;
    return reinterpret_cast<uintptr_t>(info->si_addr);
}

void writeReport(int fd, int signo, const siginfo_t *info, void *context)
{
    char buf[32];
    writeText(fd, "Resinor crash report\nsignal: ");
    writeAll(fd, buf, toDecimal(signo, buf));
    writeText(fd, "\ncode: ");
    writeAll(fd, buf, toDecimal(info ? info->si_code : 0, buf));
    writeText(fd, "\n");
    writeHexLine(fd, "address: ", faultAddress(info));
    writeHexLine(fd, "instruction: ", instructionPointer(context));

    // backtrace() was called once at install so its library is already loaded; the addresses are
    // written raw and resolved later with the memory map below.
    const int frames = backtrace(s_frames, kMaxFrames);
    writeText(fd, "backtrace:\n");
    for (int i = 0; i < frames; ++i)
        writeHexLine(fd, "  ", reinterpret_cast<uintptr_t>(s_frames[i]));

    writeText(fd, "maps:\n");
    const int maps = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (maps >= 0) {
        char chunk[4096];
        ssize_t n;
        while ((n = ::read(maps, chunk, sizeof chunk)) > 0)
            writeAll(fd, chunk, static_cast<size_t>(n));
        ::close(maps);
    }
}

void startReportProcess(int signo, uintptr_t address)
{
    char code[24];
    char addr[24];
    toHex(static_cast<uintptr_t>(signo), code);
    toHex(address, addr);
    char flag[] = "--crash-report";
    char *const argv[] = {s_exePath, flag, code, addr, nullptr};
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
    const pid_t pid = _Fork(); // no atfork handlers: they may take locks the crash holds
#else
    const pid_t pid = fork();
#endif
    if (pid == 0) {
        execv(s_exePath, argv);
        _exit(127);
    }
}

void resetAndRaise(int signo)
{
    struct sigaction dfl;
    memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(signo, &dfl, nullptr);
    // The signal is blocked while its handler runs; unblock it so the re-raise takes effect now.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signo);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signo);
}

void crashHandler(int signo, siginfo_t *info, void *context)
{
    if (s_handling) {
        // A second fault while reporting the first: give up on the report.
        resetAndRaise(signo);
        return;
    }
    s_handling = 1;
    const int saved = errno;
    const int fd = ::open(s_dumpName, O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) {
        writeReport(fd, signo, info, context);
        ::close(fd);
        if (s_showReport && s_exePath[0] != '\0')
            startReportProcess(signo, faultAddress(info));
    }
    errno = saved;
    resetAndRaise(signo);
}

} // namespace

bool CrashHandler::install(const Options &options)
{
    const QByteArray name = dumpFileName(QDateTime::currentDateTime()).toLocal8Bit();
    if (static_cast<size_t>(name.size()) >= sizeof s_dumpName)
        return false;
    memcpy(s_dumpName, name.constData(), static_cast<size_t>(name.size()) + 1);

    const ssize_t len = readlink("/proc/self/exe", s_exePath, sizeof s_exePath - 1);
    s_exePath[len > 0 ? len : 0] = '\0';
    s_showReport = options.showReport;

    void *warmUp[1];
    backtrace(warmUp, 1);

    stack_t stack;
    memset(&stack, 0, sizeof stack);
    stack.ss_sp = s_altStack;
    stack.ss_size = sizeof s_altStack;
    if (sigaltstack(&stack, nullptr) != 0)
        return false;

    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_sigaction = crashHandler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    bool ok = true;
    for (int signo : kSignals)
        ok = sigaction(signo, &action, nullptr) == 0 && ok;
    return ok;
}
