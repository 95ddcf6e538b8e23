// Root reads and writes files whatever their rights say. While a WithoutRootFileAccess lives, the
// calling thread is held to the rights like any user (its file capabilities are lowered); for
// other users it does nothing.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quirlanto::test {

class WithoutRootFileAccess {
public:
    WithoutRootFileAccess()
    {
        if (::geteuid() != 0 || !get(m_saved))
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        const unsigned mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        lowered[0].effective &= ~mask;
        m_lowered = set(lowered);
    }
    ~WithoutRootFileAccess()
    {
        if (m_lowered)
            set(m_saved);
    }
    WithoutRootFileAccess(const WithoutRootFileAccess &) = delete;
    WithoutRootFileAccess &operator=(const WithoutRootFileAccess &) = delete;

private:
    static bool get(__user_cap_data_struct *data)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static bool set(__user_cap_data_struct *data)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    __user_cap_data_struct m_saved[2] = {};
    bool m_lowered = false;
};

} // namespace quirlanto::test
