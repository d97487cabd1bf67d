#pragma once

#include <array>
#include <cstddef>
#include <optional>

// Inside the platform layer only.
namespace platform::detail {

// The last few things a look-up found, kept in turns: a file run goes back and forth between a
// couple of folders and drives (its sources, its backup folder), and finds each again here
// without the look-up that found it.
template <typename T, std::size_t Size = 2>
class RecentlyUsed {
public:
    // The kept thing for which `matches` holds, or null.
    template <typename Matches>
    const T *find(Matches matches) const
    {
        for (const std::optional<T> &kept : m_kept) {
            if (kept && matches(*kept))
                return &*kept;
        }
        return nullptr;
    }

    // Keeps `value` in place of the oldest one.
    void remember(T value)
    {
        m_kept[m_next] = std::move(value);
        m_next = (m_next + 1) % Size;
    }

    void clear() { m_kept = {}; }

private:
    std::array<std::optional<T>, Size> m_kept;
    std::size_t m_next = 0;
};

}  // namespace platform::detail
