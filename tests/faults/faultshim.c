/* Preloaded into a test process: makes the Nth write or sync on a chosen file fail, the way a
 * full disk or a failing disk would. Armed from the test through lendora_fault_arm(), found
 * with dlsym(). SQLite writes with pwrite64 and syncs with fdatasync, so those are covered
 * beside the plain calls. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdatomic.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum { kWrites = 1, kSyncs = 2 };

static char g_suffix[512];
static atomic_int g_kinds;
static atomic_int g_countdown; /* the call that reaches 0 fails */
static atomic_int g_error;
static atomic_int g_sticky; /* after the first failure, every later matching call fails too */
static atomic_int g_fired;

__attribute__((visibility("default"))) void lendora_fault_arm(const char *suffix, int kinds,
                                                              int nth, int error, int sticky)
{
    atomic_store(&g_kinds, 0);
    snprintf(g_suffix, sizeof g_suffix, "%s", suffix);
    atomic_store(&g_countdown, nth);
    atomic_store(&g_error, error);
    atomic_store(&g_sticky, sticky);
    atomic_store(&g_fired, 0);
    atomic_store(&g_kinds, kinds);
}

__attribute__((visibility("default"))) int lendora_fault_disarm(void)
{
    atomic_store(&g_kinds, 0);
    return atomic_load(&g_fired);
}

static int names_file(int fd)
{
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return 0;
    path[length] = '\0';
    const size_t want = strlen(g_suffix);
    return (size_t)length >= want && strcmp(path + length - want, g_suffix) == 0;
}

/* Whether this call fails; errno is set when it does. */
static int fails(int fd, int kind)
{
    if (!(atomic_load(&g_kinds) & kind) || !names_file(fd))
        return 0;
    if (atomic_load(&g_fired) > 0) {
        if (!atomic_load(&g_sticky))
            return 0;
    } else if (atomic_fetch_sub(&g_countdown, 1) != 1) {
        return 0;
    }
    atomic_fetch_add(&g_fired, 1);
    errno = atomic_load(&g_error);
    return 1;
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void *buffer, size_t count)
{
    if (fails(fd, kWrites))
        return -1;
    return NEXT(write)(fd, buffer, count);
}

ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset)
{
    if (fails(fd, kWrites))
        return -1;
    return NEXT(pwrite)(fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void *buffer, size_t count, off64_t offset)
{
    if (fails(fd, kWrites))
        return -1;
    return NEXT(pwrite64)(fd, buffer, count, offset);
}

ssize_t writev(int fd, const struct iovec *vector, int count)
{
    if (fails(fd, kWrites))
        return -1;
    return NEXT(writev)(fd, vector, count);
}

int fsync(int fd)
{
    if (fails(fd, kSyncs))
        return -1;
    return NEXT(fsync)(fd);
}

int fdatasync(int fd)
{
    if (fails(fd, kSyncs))
        return -1;
    return NEXT(fdatasync)(fd);
}
