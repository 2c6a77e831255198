#include "imaging/gif/mGIFLZWEnc.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace korvane::imaging::mGIFLZWEnc {
namespace {

constexpr int kHashSlots = 5003;  // a prime
constexpr int kHashShift = 4;     // 5003 doubled up to 65536 takes 4 steps: 8 - 4
constexpr std::uint32_t kCodeLimit = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr int kPacketData = 254;
constexpr int kMaxInitBits = 16;

// 2^k - 1 for k = 0..16.
constexpr std::array<std::uint32_t, 17> kMasks = [] {
    std::array<std::uint32_t, 17> masks{};
    for (std::size_t k = 1; k < masks.size(); ++k)
        masks[k] = masks[k - 1] * 2 + 1;
    return masks;
}();

// A quarter full at most: probes stay short, and 64 KiB stay close to the
// core, so a lookup on the hit path costs little more than one load.
constexpr int kFastBits = 14;
constexpr std::uint32_t kFastSlots = 1u << kFastBits;
static_assert(kFastSlots >= 4 * kCodeLimit, "at most a quarter full, or probes grow long");
constexpr std::uint32_t kNoChild = 0xFFFFFFFF;  // all bits set, so memset can clear to it

// Codes of up to 16 bits, at most two a pixel (one written, one clear), and
// an 8-byte store past the last byte: room each row must have in the buffer.
constexpr std::size_t kBytesPerPixel = 4;
constexpr std::size_t kStoreSlack = 16;
// Packed bytes held back before they go out as sub-blocks.
constexpr std::size_t kFlushBytes = std::size_t{kPacketData} * 128;

// The string table. The codes written are those of the table this encoder
// has always kept, so the files it writes stay, byte for byte, the ones every
// reader of our files has seen so far. That table (the classic table) is an
// open-addressing hash of 5003 slots holding keys (pixel << 12) + prefix:
// the first probe is slot (pixel << 4) ^ prefix, the next ones step back by
// 5003 minus that slot (by 1 from slot 0), and a probe stops at an empty
// (negative) slot or, after the first, at a stored key of 0. That last stop
// only matters once key 0 ("0 0") has had to leave slot 0, so until then any
// exact table gives the same codes, and a faster one is used: a hash at most
// a quarter full with linear probing, each slot holding
// (prefix << 8 | pixel) << 12 | code, 0 when empty. When key 0 would leave
// slot 0, the classic table is rebuilt from the codes in the order they were
// assigned and used until the next clear. Per thread, so documents on
// different threads never share it.
struct HashTables {
    std::array<std::uint32_t, kFastSlots> Fast{};
    // Per code, the child string met last: pixel << 12 | its code, kNoChild
    // when there is none. Codes get theirs emptied as they are assigned.
    std::array<std::uint32_t, kCodeLimit> Child{};
    std::array<std::int32_t, kHashSlots> HashTable{};
    std::array<std::uint16_t, kHashSlots> CodeTable{};
    // The packed codes before they are cut into sub-blocks; kept between
    // frames so its pages are touched once.
    std::vector<std::uint8_t> Raw;
};
// Made on a thread's first encode, so threads that never encode carry none.
thread_local std::unique_ptr<HashTables> t_Tables;

HashTables& ThreadTables()
{
    if (!t_Tables) t_Tables = std::make_unique<HashTables>();
    return *t_Tables;
}

// A multiplicative hash: prefixes and pixels of an image cluster, and a
// plain xor of them piles keys into runs of neighbouring slots.
inline std::uint32_t FastSlot(std::uint32_t ent, std::uint32_t pixel)
{
    return ((ent << 8 | pixel) * 0x9E3779B1u) >> (32 - kFastBits);
}

// The frame's rows in reading order: top to bottom, or the four interlace
// passes (0, 8, 16, ...; 4, 12, ...; 2, 6, ...; 1, 3, 5, ...).
std::vector<const std::uint8_t*> MapSurfaceRows(const cDIB& dib, bool Interlace)
{
    std::vector<const std::uint8_t*> rows;
    rows.reserve(static_cast<std::size_t>(dib.Height()));
    const auto row = [&](std::int32_t y) {
        return dib.lpBits() + static_cast<std::ptrdiff_t>(y) * dib.BytesPerScanline();
    };
    if (!Interlace) {
        for (std::int32_t y = 0; y < dib.Height(); ++y)
            rows.push_back(row(y));
        return rows;
    }
    constexpr std::array<std::int32_t, 4> kStart{0, 4, 2, 1};
    constexpr std::array<std::int32_t, 4> kStep{8, 8, 4, 2};
    for (std::size_t pass = 0; pass < 4; ++pass) {
        for (std::int32_t y = kStart[pass]; y < dib.Height(); y += kStep[pass])
            rows.push_back(row(y));
    }
    return rows;
}

// Appends `size` packed bytes as sub-blocks of 254 data bytes, the last one
// shorter.
void AppendSubBlocks(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return;
    const std::size_t blocks = (size + kPacketData - 1) / kPacketData;
    std::size_t at = out.size();
    out.resize(at + size + blocks);
    std::uint8_t* dst = out.data() + at;
    for (; size >= static_cast<std::size_t>(kPacketData); size -= kPacketData, data += kPacketData) {
        *dst++ = kPacketData;
        std::memcpy(dst, data, kPacketData);
        dst += kPacketData;
    }
    if (size > 0) {
        *dst++ = static_cast<std::uint8_t>(size);
        std::memcpy(dst, data, size);
    }
}

class Encoder {
public:
    Encoder(std::vector<std::uint8_t>& out, std::uint8_t InitBits)
        : m_Tables(ThreadTables()),
          m_Out(out),
          m_InitBits(InitBits),
          m_ClearCode(std::uint32_t{1} << (InitBits - 1)),
          m_EndCode(m_ClearCode + 1)
    {
    }

    void Compress(const std::vector<const std::uint8_t*>& rows, std::int32_t width);

private:
    // Tables are cleared with memset: one call even where std::fill stays a
    // loop, as in the unoptimised sanitizer builds that fuzz the encoder.
    void ClearHash()
    {
        std::memset(m_Tables.Fast.data(), 0, sizeof m_Tables.Fast);
        std::memset(m_Tables.Child.data(), 0xFF, 256 * sizeof(std::uint32_t));  // kNoChild
    }
    // Finds prefix `ent` + `pixel`; on a miss, `slot` is where it goes.
    bool FindFast(std::uint32_t ent, std::uint32_t pixel, std::uint32_t& code, std::uint32_t& slot) const;
    bool KeyZeroLeavesSlotZero() const;
    void SwitchToClassicTable(std::uint32_t FreeCode);
    // Looks up prefix `ent` + `pixel` in the classic table; on a miss,
    // `slot` is where it goes.
    bool Lookup(std::uint32_t ent, std::uint32_t pixel, std::int32_t key, int& slot) const;

    HashTables& m_Tables;
    std::vector<std::uint8_t>& m_Out;
    const int m_InitBits;
    const std::uint32_t m_ClearCode;
    const std::uint32_t m_EndCode;
};

inline bool Encoder::Lookup(std::uint32_t ent, std::uint32_t pixel, std::int32_t key, int& slot) const
{
    const auto& hash = m_Tables.HashTable;
    int i = static_cast<int>((pixel << kHashShift) ^ ent);
    if (hash[static_cast<std::size_t>(i)] == key) {
        slot = i;
        return true;
    }
    if (hash[static_cast<std::size_t>(i)] >= 0) {
        // Only the first test takes negative keys alone as empty; the probe
        // also stops at key 0.
        const int displacement = i == 0 ? 1 : kHashSlots - i;
        for (;;) {
            i -= displacement;
            if (i < 0) i += kHashSlots;
            const std::int32_t stored = hash[static_cast<std::size_t>(i)];
            if (stored == key) {
                slot = i;
                return true;
            }
            if (stored <= 0) break;
        }
    }
    slot = i;
    return false;
}

inline bool Encoder::FindFast(std::uint32_t ent, std::uint32_t pixel, std::uint32_t& code, std::uint32_t& slot) const
{
    const std::uint32_t key = ent << 8 | pixel;
    for (std::uint32_t i = FastSlot(ent, pixel);; i = (i + 1) & (kFastSlots - 1)) {
        const std::uint32_t stored = m_Tables.Fast[i];
        if (stored == 0) {
            slot = i;
            return false;
        }
        if (stored >> 12 == key) {
            code = stored & 0xFFF;
            return true;
        }
    }
}

// Key 0 goes to slot 0 unless a key whose first probe is slot 0 (prefix
// 16 x pixel) is already there.
bool Encoder::KeyZeroLeavesSlotZero() const
{
    for (std::uint32_t pixel = 1; pixel < 256; ++pixel) {
        std::uint32_t code = 0;
        std::uint32_t slot = 0;
        if (FindFast(pixel << kHashShift, pixel, code, slot)) return true;
    }
    return false;
}

// Rebuilds the classic table: inserting the strings in the order their codes
// were assigned puts each where that table would have put it.
void Encoder::SwitchToClassicTable(std::uint32_t FreeCode)
{
    std::array<std::int32_t, kCodeLimit> keyOfCode{};
    for (const std::uint32_t stored : m_Tables.Fast) {
        if (stored == 0) continue;
        const std::uint32_t ent = stored >> 20;
        const std::uint32_t pixel = (stored >> 12) & 0xFF;
        keyOfCode[stored & 0xFFF] = static_cast<std::int32_t>((pixel << 12) + ent);
    }
    std::memset(m_Tables.HashTable.data(), 0xFF, sizeof m_Tables.HashTable);  // every slot -1: empty
    for (std::uint32_t code = m_ClearCode + 2; code < FreeCode; ++code) {
        const std::int32_t key = keyOfCode[code];
        int slot = 0;
        Lookup(static_cast<std::uint32_t>(key & 0xFFF), static_cast<std::uint32_t>(key >> 12), key, slot);
        m_Tables.HashTable[static_cast<std::size_t>(slot)] = key;
        m_Tables.CodeTable[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(code);
    }
}

void Encoder::Compress(const std::vector<const std::uint8_t*>& rows, std::int32_t width)
{
    // The state lives in locals, so the compiler keeps it in registers
    // across the stores into the buffer.
    std::uint32_t* const fast = m_Tables.Fast.data();
    std::uint32_t* const child = m_Tables.Child.data();
    std::vector<std::uint8_t>& raw = m_Tables.Raw;
    const std::size_t rowRoom = (static_cast<std::size_t>(width) + 2) * kBytesPerPixel + kStoreSlack;
    if (raw.size() < rowRoom) raw.resize(std::max(rowRoom, 2 * kFlushBytes));
    std::uint8_t* put = raw.data();
    int codeWidth = m_InitBits;
    std::uint32_t maxCode = kMasks[static_cast<std::size_t>(codeWidth)];
    std::uint32_t codeMask = maxCode;
    std::uint32_t freeCode = m_ClearCode + 2;
    bool classicTable = false;
    // Bits not yet in a whole byte (fewer than 8); the byte they start is
    // already stored at `put`, zero above them.
    std::uint64_t bitBuffer = 0;
    int bitCount = 0;

    // The packed bytes so far go out as sub-blocks and the buffer starts over.
    const auto flushRaw = [&] {
        AppendSubBlocks(m_Out, raw.data(), static_cast<std::size_t>(put - raw.data()));
        put = raw.data();
    };
    // Makes room for a row's codes. Whole sub-blocks go out once the buffer
    // has many, so it stays small and in cache; the pending bits are in
    // bitBuffer, so the bytes from `put` on need no moving.
    const auto reserveRow = [&] {
        auto used = static_cast<std::size_t>(put - raw.data());
        if (used >= kFlushBytes) {
            const std::size_t whole = used - used % kPacketData;
            AppendSubBlocks(m_Out, raw.data(), whole);
            std::memmove(raw.data(), raw.data() + whole, used - whole);
            used -= whole;
            put = raw.data() + used;
        }
        if (raw.size() - used < rowRoom) {
            raw.resize(std::max(raw.size() * 2, used + rowRoom));
            put = raw.data() + used;
        }
    };
    // The per-code steps are lambdas over the loop's locals; forced inline
    // (GCC and Clang, the compilers we build with, both take the attribute),
    // the locals stay in registers, and encoding runs a sixth faster.
    const auto putBits = [&](std::uint32_t code) __attribute__((always_inline))
    {
        // Only the code's own width goes out, whatever a stray index holds above it.
        bitBuffer |= static_cast<std::uint64_t>(code & codeMask) << bitCount;
        bitCount += codeWidth;
        std::memcpy(put, &bitBuffer, sizeof bitBuffer);
        put += bitCount >> 3;
        bitBuffer >>= bitCount & ~7;
        bitCount &= 7;
    };
    // The width changes after the code's bits are in: the code that passes
    // the limit still has the old width.
    const auto outputCode = [&](std::uint32_t code) __attribute__((always_inline))
    {
        putBits(code);
        if (freeCode > maxCode) {
            ++codeWidth;
            codeMask = kMasks[static_cast<std::size_t>(codeWidth)];
            maxCode = codeWidth == kMaxCodeWidth ? kCodeLimit : codeMask;
        }
    };
    // The end code's last byte is zero-padded and the data so far goes out.
    // Returns false when a stray index equal to the end code padded bits that
    // later codes would have to follow: no code may come after it.
    const auto padEnd = [&] {
        const bool whole = bitCount == 0;
        if (!whole) ++put;
        bitBuffer = 0;
        bitCount = 0;
        flushRaw();
        return whole;
    };
    const auto clearBlock = [&] {
        ClearHash();
        classicTable = false;
        freeCode = m_ClearCode + 2;
        putBits(m_ClearCode);
        // Only growth caps the limit at 4096: starting over at 12 bits, the
        // width still grows to 13 once 4095 is passed.
        codeWidth = m_InitBits;
        codeMask = kMasks[static_cast<std::size_t>(codeWidth)];
        maxCode = codeMask;
    };
    // Enters prefix `ent` + `pixel` with the next code at `slot`.
    const auto addString = [&](std::uint32_t ent, std::uint32_t pixel, std::uint32_t slot)
        __attribute__((always_inline))
    {
        const auto key = static_cast<std::int32_t>((pixel << 12) + ent);
        if (!classicTable && key == 0 && KeyZeroLeavesSlotZero()) [[unlikely]] {
            SwitchToClassicTable(freeCode);
            classicTable = true;
            // Its codes can differ from the exact table's, so no shortcut may
            // bypass it.
            std::memset(m_Tables.Child.data(), 0xFF, sizeof m_Tables.Child);  // kNoChild
            int classicSlot = 0;
            Lookup(0, 0, 0, classicSlot);
            slot = static_cast<std::uint32_t>(classicSlot);
        }
        if (classicTable) {
            m_Tables.CodeTable[slot] = static_cast<std::uint16_t>(freeCode);
            m_Tables.HashTable[slot] = key;
        } else {
            fast[slot] = (ent << 8 | pixel) << 12 | freeCode;
            child[ent] = pixel << 12 | freeCode;
            child[freeCode] = kNoChild;
        }
        ++freeCode;
    };
    const auto strayEnd = [&] { throw std::out_of_range("LZW code after a padded end code"); };

    ClearHash();
    outputCode(m_ClearCode);
    std::uint32_t ent = rows.front()[0];
    std::size_t x = 1;
    for (const std::uint8_t* row : rows) {
        reserveRow();
        for (; x < static_cast<std::size_t>(width); ++x) {
            const std::uint32_t c = row[x];
            // The string's child met last: on runs and repeated patterns
            // the next code is at hand without hashing. Empty in the classic
            // table's time.
            const std::uint32_t known = child[ent];
            if (known >> 12 == c) {
                ent = known & 0xFFF;
                continue;
            }
            std::uint32_t slot = 0;
            if (!classicTable) [[likely]] {
                const std::uint32_t key = ent << 8 | c;
                std::uint32_t i = FastSlot(ent, c);
                std::uint32_t stored = 0;
                while ((stored = fast[i]) != 0 && stored >> 12 != key)
                    i = (i + 1) & (kFastSlots - 1);
                if (stored != 0) {
                    child[ent] = c << 12 | (stored & 0xFFF);
                    ent = stored & 0xFFF;
                    continue;
                }
                slot = i;
            } else {
                int classicSlot = 0;
                if (Lookup(ent, c, static_cast<std::int32_t>((c << 12) + ent), classicSlot)) {
                    ent = m_Tables.CodeTable[static_cast<std::size_t>(classicSlot)];
                    continue;
                }
                slot = static_cast<std::uint32_t>(classicSlot);
            }
            outputCode(ent);
            if (ent == m_EndCode) [[unlikely]] {
                if (!padEnd()) strayEnd();
            }
            if (freeCode < kCodeLimit) {
                addString(ent, c, slot);
            } else {
                clearBlock();
            }
            ent = c;
        }
        x = 0;
    }
    reserveRow();
    outputCode(ent);
    if (ent == m_EndCode && !padEnd()) strayEnd();
    outputCode(m_EndCode);
    padEnd();
}

}  // namespace

void InitEncoderTables()
{
    // The masks are a compile-time constant, so every thread has them whether
    // or not a document was constructed on it.
}

void EncodeFromDIB(std::vector<std::uint8_t>& out, const FrameRecord& frame, std::uint8_t InitBits, bool Interlaced)
{
    if (!frame.DIBXOR || frame.DIBXOR->bpp() != 8) return;
    if (InitBits < 1 || InitBits > kMaxInitBits) throw std::out_of_range("LZW initial code width outside 1..16");
    const cDIB& dib = *frame.DIBXOR;
    const auto rows = MapSurfaceRows(dib, Interlaced);
    if (rows.empty() || dib.Width() < 1) return;
    Encoder encoder(out, InitBits);
    encoder.Compress(rows, dib.Width());
}

}  // namespace korvane::imaging::mGIFLZWEnc
