#include "platform/gdi/PixelBlocks.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "platform/files/MemoryPages.h"

namespace korvane::gdi {

namespace {

// Smaller blocks are left to malloc, which keeps them anyway.
constexpr std::size_t kKeptFrom = std::size_t{256} << 10;
// Runs of at least this many bytes are zeroed a page at a time.
constexpr std::size_t kZeroByPages = std::size_t{16} << 10;
// What the kept blocks may hold in all.
constexpr std::size_t kKeptAtMost = std::size_t{32} << 20;

struct KeptBlock {
    std::uint32_t* block;
    std::size_t bytes;
};

struct KeptBlocks {
    std::mutex mutex;
    std::vector<KeptBlock> blocks;  // oldest first
    std::size_t bytes = 0;

    // A kept block of at least `bytes` that wastes at most half of itself.
    std::uint32_t* Take(std::size_t bytes)
    {
        const std::lock_guard lock(mutex);
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            if (it->bytes >= bytes && it->bytes / 2 <= bytes) {
                std::uint32_t* block = it->block;
                this->bytes -= it->bytes;
                blocks.erase(it);
                return block;
            }
        }
        return nullptr;
    }

    // False when the block is not kept; the oldest make room for it.
    bool Keep(std::uint32_t* block, std::size_t bytes)
    {
        const std::lock_guard lock(mutex);
        try {
            blocks.push_back({block, bytes});
        } catch (...) {
            return false;
        }
        this->bytes += bytes;
        while (this->bytes > kKeptAtMost) {
            std::free(blocks.front().block);
            this->bytes -= blocks.front().bytes;
            blocks.erase(blocks.begin());
        }
        return true;
    }
};

// Never destroyed: surfaces held by static objects are freed after static
// destruction has begun.
KeptBlocks& Kept()
{
    static KeptBlocks& kept = *new KeptBlocks;  // NOLINT(cppcoreguidelines-owning-memory)
    return kept;
}

}  // namespace

std::uint32_t* AllocatePixelBlock(std::size_t bytes, bool zeroed)
{
    if (bytes >= kKeptFrom && bytes <= kKeptAtMost) {
        if (std::uint32_t* block = Kept().Take(bytes)) {
            if (zeroed) std::memset(block, 0, bytes);
            return block;
        }
    }
    return static_cast<std::uint32_t*>(zeroed ? std::calloc(bytes / 4, 4) : std::malloc(bytes));
}

void ZeroPixels(std::uint8_t* pixels, std::size_t bytes)
{
#if defined(__linux__)
    const platform::WholePages pages = platform::WholePagesOf(pixels, bytes);
    // Private anonymous pages given back read as zero when next touched.
    if (bytes >= kZeroByPages && pages.Length > 0 && madvise(pixels + pages.Offset, pages.Length, MADV_DONTNEED) == 0) {
        std::memset(pixels, 0, pages.Offset);
        const std::size_t after = pages.Offset + pages.Length;
        std::memset(pixels + after, 0, bytes - after);
        return;
    }
#endif
    std::memset(pixels, 0, bytes);
}

void FreePixelBlock(std::uint32_t* block, std::size_t bytes)
{
    if (block == nullptr) return;
    if (bytes >= kKeptFrom && bytes <= kKeptAtMost && Kept().Keep(block, bytes)) return;
    std::free(block);
}

}  // namespace korvane::gdi
