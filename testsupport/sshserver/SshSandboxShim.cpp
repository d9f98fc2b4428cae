// Preloaded into the test SSH server and its SFTP server, never into anything else.
//
// In sshd (RESINOR_SHIM_USER set): the printer account named there exists, belongs to the user
// the server runs as, lives in RESINOR_SHIM_HOME with /bin/sh, and its password is
// RESINOR_SHIM_PASSWORD. The test machine's account files are not touched.
//
// In sftp-server (RESINOR_SHIM_ROOT set): every path under "/home/pi" is mapped into
// RESINOR_SHIM_ROOT/home/pi, paths already inside RESINOR_SHIM_ROOT are kept, and every other
// path is refused with EACCES, so a transfer can neither read nor write the machine outside the
// test's folder.
#include <crypt.h>
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>

namespace
{

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct passwd *fakeAccount(const char *name)
{
    const char *user = getenv("RESINOR_SHIM_USER");
    if (!user || !name || strcmp(user, name) != 0)
        return nullptr;
    static struct passwd pw;
    static std::string userName, home, hash;
    userName = user;
    home = getenv("RESINOR_SHIM_HOME") ? getenv("RESINOR_SHIM_HOME") : "/nonexistent";
    const char *password = getenv("RESINOR_SHIM_PASSWORD");
    const char *hashed = crypt(password ? password : "", "$6$resinortest$");
    hash = hashed ? hashed : "*";
    pw.pw_name = &userName[0];
    pw.pw_passwd = &hash[0];
    pw.pw_uid = getuid();
    pw.pw_gid = getgid();
    pw.pw_gecos = &userName[0];
    pw.pw_dir = &home[0];
    pw.pw_shell = const_cast<char *>("/bin/sh");
    return &pw;
}

// Returns false (errno EACCES) for a path outside the sandbox; otherwise fills mapped.
bool mapPath(const char *path, std::string &mapped)
{
    const char *root = getenv("RESINOR_SHIM_ROOT");
    if (!root || !path) {
        mapped = path ? path : "";
        return true;
    }
    const std::string p(path);
    const std::string r(root);
    // The few system files the C library itself opens while the server starts.
    static const char *const systemFiles[] = {"/dev/null",   "/etc/localtime", "/etc/nsswitch.conf",
                                              "/etc/passwd", "/etc/group",     "/etc/ld.so.cache"};
    for (const char *f : systemFiles) {
        if (p == f) {
            mapped = p;
            return true;
        }
    }
    if (p.find("..") != std::string::npos) {
        errno = EACCES;
        return false;
    }
    const std::string home = "/home/pi";
    if (p == home || p.compare(0, home.size() + 1, home + "/") == 0) {
        mapped = r + p;
        return true;
    }
    if (p == r || p.compare(0, r.size() + 1, r + "/") == 0) {
        mapped = p;
        return true;
    }
    if (!p.empty() && p[0] != '/') {
        // Relative paths resolve against the working folder, which is the sandboxed home.
        mapped = p;
        return true;
    }
    errno = EACCES;
    return false;
}

} // namespace

#define MAP_OR_FAIL(path, var, failValue)                                                          \
    std::string var;                                                                               \
    if (!mapPath(path, var))                                                                       \
        return failValue;

extern "C" {

struct passwd *getpwnam(const char *name)
{
    if (struct passwd *pw = fakeAccount(name))
        return pw;
    return real<struct passwd *(*)(const char *)>("getpwnam")(name);
}

int open(const char *path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = static_cast<mode_t>(va_arg(ap, int));
        va_end(ap);
    }
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, int, ...)>("open")(p.c_str(), flags, mode);
}

int open64(const char *path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = static_cast<mode_t>(va_arg(ap, int));
        va_end(ap);
    }
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, int, ...)>("open64")(p.c_str(), flags, mode);
}

DIR *opendir(const char *path)
{
    MAP_OR_FAIL(path, p, nullptr);
    return real<DIR *(*)(const char *)>("opendir")(p.c_str());
}

int stat(const char *path, struct stat *st)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, struct stat *)>("stat")(p.c_str(), st);
}

int lstat(const char *path, struct stat *st)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, struct stat *)>("lstat")(p.c_str(), st);
}

int chdir(const char *path)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *)>("chdir")(p.c_str());
}

int chmod(const char *path, mode_t mode)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, mode_t)>("chmod")(p.c_str(), mode);
}

int chown(const char *path, uid_t uid, gid_t gid)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, uid_t, gid_t)>("chown")(p.c_str(), uid, gid);
}

int fchmodat(int dirfd, const char *path, mode_t mode, int flags)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(int, const char *, mode_t, int)>("fchmodat")(dirfd, p.c_str(), mode, flags);
}

int fchownat(int dirfd, const char *path, uid_t uid, gid_t gid, int flags)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(int, const char *, uid_t, gid_t, int)>("fchownat")(dirfd, p.c_str(), uid,
                                                                           gid, flags);
}

int utimensat(int dirfd, const char *path, const struct timespec times[2], int flags)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(int, const char *, const struct timespec *, int)>("utimensat")(
        dirfd, p.c_str(), times, flags);
}

int utimes(const char *path, const struct timeval times[2])
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, const struct timeval *)>("utimes")(p.c_str(), times);
}

int link(const char *from, const char *to)
{
    MAP_OR_FAIL(from, f, -1);
    MAP_OR_FAIL(to, t, -1);
    return real<int (*)(const char *, const char *)>("link")(f.c_str(), t.c_str());
}

int symlink(const char *target, const char *path)
{
    // A link pointing out of the sandbox would let a later open escape it.
    MAP_OR_FAIL(target, t, -1);
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, const char *)>("symlink")(t.c_str(), p.c_str());
}

ssize_t readlink(const char *path, char *buf, size_t size)
{
    MAP_OR_FAIL(path, p, -1);
    return real<ssize_t (*)(const char *, char *, size_t)>("readlink")(p.c_str(), buf, size);
}

int rename(const char *from, const char *to)
{
    MAP_OR_FAIL(from, f, -1);
    MAP_OR_FAIL(to, t, -1);
    return real<int (*)(const char *, const char *)>("rename")(f.c_str(), t.c_str());
}

int mkdir(const char *path, mode_t mode)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, mode_t)>("mkdir")(p.c_str(), mode);
}

int rmdir(const char *path)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *)>("rmdir")(p.c_str());
}

int unlink(const char *path)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *)>("unlink")(p.c_str());
}

int truncate(const char *path, off_t length)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, off_t)>("truncate")(p.c_str(), length);
}

int statvfs(const char *path, struct statvfs *buf)
{
    MAP_OR_FAIL(path, p, -1);
    return real<int (*)(const char *, struct statvfs *)>("statvfs")(p.c_str(), buf);
}

char *__realpath_chk(const char *path, char *resolved, size_t)
{
    MAP_OR_FAIL(path, p, nullptr);
    return real<char *(*)(const char *, char *)>("realpath")(p.c_str(), resolved);
}

char *realpath(const char *path, char *resolved)
{
    MAP_OR_FAIL(path, p, nullptr);
    return real<char *(*)(const char *, char *)>("realpath")(p.c_str(), resolved);
}

} // extern "C"
