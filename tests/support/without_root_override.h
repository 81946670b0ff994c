#pragma once

// Makes file permissions count for a test that runs as root (as CI does): root ignores them,
// so a folder or file made read-only would still take writes.
//
// While alive, a WithoutRootOverride takes the capabilities that override permissions out of
// the thread's effective set (they stay in the permitted set) and gives them back when it
// ends. It also keeps access() honest meanwhile: for a real user id of 0 the kernel checks
// access() with the permitted set, so that Qt's "is this file writable?" would still say yes.
// Capabilities belong to one thread: use the guard on the thread that does the file work.
// Outside Linux, and for a user who is not root, it does nothing; outside Linux,
// permissionsApply() tries whether a read-only file refuses writes.

#ifdef __linux__
#include <linux/capability.h>
#include <linux/securebits.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>
#else
#include <QFile>
#include <QTemporaryFile>
#endif

class WithoutRootOverride {
public:
    WithoutRootOverride() {
#ifdef __linux__
        if (geteuid() != 0)
            return;
        if (!capabilities(Get, saved_))
            return;
        savedSecureBits_ = prctl(PR_GET_SECUREBITS);
        if (savedSecureBits_ < 0 ||
            prctl(PR_SET_SECUREBITS, savedSecureBits_ | SECBIT_NO_SETUID_FIXUP) != 0)
            return;
        Data dropped[2] = {saved_[0], saved_[1]};
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            dropped[capability / 32].effective &= ~(1u << (capability % 32));
        if (!capabilities(Set, dropped)) {
            prctl(PR_SET_SECUREBITS, savedSecureBits_);
            return;
        }
        dropped_ = true;
#endif
    }

    ~WithoutRootOverride() {
#ifdef __linux__
        if (!dropped_)
            return;
        capabilities(Set, saved_);
        prctl(PR_SET_SECUREBITS, savedSecureBits_);
#endif
    }

    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

    // True when permissions are now enforced for this thread: the user is not root, or root's
    // override could be set aside. A test that relies on a read-only file skips otherwise.
    bool permissionsApply() const {
#ifdef __linux__
        return dropped_ || geteuid() != 0;
#else
        // Elsewhere a read-only file is tried: under Wine run by root it still takes writes.
        QTemporaryFile probe;
        if (!probe.open())
            return false;
        probe.close();
        QFile::setPermissions(probe.fileName(), QFile::ReadOwner);
        QFile file(probe.fileName());
        const bool refused = !file.open(QIODevice::WriteOnly | QIODevice::Append);
        QFile::setPermissions(probe.fileName(), QFile::ReadOwner | QFile::WriteOwner);
        return refused;
#endif
    }

private:
#ifdef __linux__
    using Data = __user_cap_data_struct;
    enum Direction { Get, Set };

    static bool capabilities(Direction direction, Data* data) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(direction == Get ? SYS_capget : SYS_capset, &header, data) == 0;
    }

    Data saved_[2] = {};
    int savedSecureBits_ = 0;
    bool dropped_ = false;
#endif
};
