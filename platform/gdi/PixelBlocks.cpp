#include "platform/gdi/PixelBlocks.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace korvane::gdi {

namespace {

// Smaller blocks are left to malloc, which keeps them anyway.
constexpr std::size_t kKeptFrom = std::size_t{256} << 10;
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

std::uint32_t* AllocatePixelBlock(std::size_t bytes)
{
    if (bytes >= kKeptFrom && bytes <= kKeptAtMost) {
        if (std::uint32_t* block = Kept().Take(bytes)) {
            std::memset(block, 0, bytes);
            return block;
        }
    }
    return static_cast<std::uint32_t*>(std::calloc(bytes / 4, 4));
}

void FreePixelBlock(std::uint32_t* block, std::size_t bytes)
{
    if (block == nullptr) return;
    if (bytes >= kKeptFrom && bytes <= kKeptAtMost && Kept().Keep(block, bytes)) return;
    std::free(block);
}

}  // namespace korvane::gdi
