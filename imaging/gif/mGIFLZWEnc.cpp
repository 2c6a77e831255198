#include "imaging/gif/mGIFLZWEnc.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace korvane::imaging::mGIFLZWEnc {
namespace {

// The per-code steps of the hot loop are lambdas over its locals; inlined,
// the locals stay in registers (left to the compiler, encoding runs a sixth
// slower). Compilers without the attribute just decide for themselves.
#if defined(__GNUC__) || defined(__clang__)
#define KORVANE_INLINE __attribute__((always_inline))
#else
#define KORVANE_INLINE
#endif

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

constexpr int kFastBits = 16;  // a sixteenth full at most: short probes beat a smaller table
constexpr std::uint32_t kFastSlots = 1u << kFastBits;
static_assert(kFastSlots <= 65536, "slots in use are listed as 16-bit numbers");
constexpr std::uint16_t kNoRun = 0xFFFF;

// The string table. The codes written are those of the table this encoder
// has always kept, so the files it writes stay, byte for byte, the ones every
// reader of our files has seen so far. That table (the classic table) is an
// open-addressing hash of 5003 slots holding keys (pixel << 12) + prefix:
// the first probe is slot (pixel << 4) ^ prefix, the next ones step back by
// 5003 minus that slot (by 1 from slot 0), and a probe stops at an empty
// (negative) slot or, after the first, at a stored key of 0. That last stop
// only matters once key 0 ("0 0") has had to leave slot 0, so until then any
// exact table gives the same codes, and a faster one is used: a hash at most
// a sixteenth full with linear probing, each slot holding
// (prefix << 8 | pixel) << 12 | code, 0 when empty. When key 0 would leave
// slot 0, the classic table is rebuilt from the codes in the order they were
// assigned and used until the next clear. Per thread, so documents on
// different threads never share it.
struct HashTables {
    std::array<std::uint32_t, kFastSlots> Fast{};
    std::array<std::uint16_t, kCodeLimit> UsedSlots{};
    std::uint32_t UsedCount = 0;
    // Runs: the byte a code's string repeats (kNoRun when it is no run), and
    // the code of that string one byte longer (0 while there is none).
    std::array<std::uint16_t, kCodeLimit> RunByte;
    std::array<std::uint16_t, kCodeLimit> NextRun;
    std::array<std::int32_t, kHashSlots> HashTable;
    std::array<std::uint16_t, kHashSlots> CodeTable;
};
// Made on a thread's first encode, so threads that never encode carry none.
thread_local std::unique_ptr<HashTables> t_Tables;

HashTables& ThreadTables()
{
    if (!t_Tables) t_Tables = std::make_unique<HashTables>();
    return *t_Tables;
}

// The pixel's bits spread over the prefix code's: one cheap step in the
// chain of lookups each pixel makes.
inline std::uint32_t FastSlot(std::uint32_t key)
{
    return ((key & 0xFF) << (kFastBits - 8)) ^ (key >> 8);
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
    void ClearHash()
    {
        // Only the slots in use are emptied.
        for (std::uint32_t i = 0; i < m_Tables.UsedCount; ++i)
            m_Tables.Fast[m_Tables.UsedSlots[i]] = 0;
        m_Tables.UsedCount = 0;
        for (std::uint16_t b = 0; b < 256; ++b) {
            m_Tables.RunByte[b] = b;
            m_Tables.NextRun[b] = 0;
        }
    }
    // Finds prefix `ent` + `pixel`; on a miss, `slot` is where it goes.
    bool FindFast(std::uint32_t ent, std::uint32_t pixel, std::uint32_t& code, std::uint32_t& slot) const;
    bool KeyZeroLeavesSlotZero() const;
    void SwitchToClassicTable(std::uint32_t FreeCode);
    // Looks up prefix `ent` + `pixel` in the classic table; on a miss,
    // `slot` is where it goes.
    bool Lookup(std::uint32_t ent, std::uint32_t pixel, std::int32_t key, int& slot) const;
    void FlushPacket(int& PacketCount);

    HashTables& m_Tables;
    std::vector<std::uint8_t>& m_Out;
    const int m_InitBits;
    const std::uint32_t m_ClearCode;
    const std::uint32_t m_EndCode;
    std::array<std::uint8_t, kPacketData + 1> m_Packet{};
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
    for (std::uint32_t i = FastSlot(key);; i = (i + 1) & (kFastSlots - 1)) {
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
        std::uint32_t code;
        std::uint32_t slot;
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
    m_Tables.HashTable.fill(-1);
    for (std::uint32_t code = m_ClearCode + 2; code < FreeCode; ++code) {
        const std::int32_t key = keyOfCode[code];
        int slot;
        Lookup(static_cast<std::uint32_t>(key & 0xFFF), static_cast<std::uint32_t>(key >> 12), key, slot);
        m_Tables.HashTable[static_cast<std::size_t>(slot)] = key;
        m_Tables.CodeTable[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(code);
    }
}

void Encoder::FlushPacket(int& PacketCount)
{
    if (PacketCount == 0) return;
    m_Packet[0] = static_cast<std::uint8_t>(PacketCount);
    m_Out.insert(m_Out.end(), m_Packet.begin(), m_Packet.begin() + PacketCount + 1);
    PacketCount = 0;
}

void Encoder::Compress(const std::vector<const std::uint8_t*>& rows, std::int32_t width)
{
    // The state lives in locals: byte stores into the packet may alias
    // members, which would otherwise be reloaded after each one.
    std::uint32_t* const fast = m_Tables.Fast.data();
    std::uint16_t* const runByte = m_Tables.RunByte.data();
    std::uint16_t* const nextRun = m_Tables.NextRun.data();
    std::uint8_t* const packet = m_Packet.data();
    int codeWidth = m_InitBits;
    std::uint32_t maxCode = kMasks[static_cast<std::size_t>(codeWidth)];
    std::uint32_t freeCode = m_ClearCode + 2;
    bool clearFlag = false;
    bool classicTable = false;
    std::uint64_t bitBuffer = 0;
    int bitCount = 0;
    int packetCount = 0;

    const auto packetByte = [&](std::uint8_t b) KORVANE_INLINE {
        packet[++packetCount] = b;
        if (packetCount == kPacketData) FlushPacket(packetCount);
    };
    const auto outputCode = [&](std::uint32_t code) KORVANE_INLINE {
        if (bitCount < 0) throw std::out_of_range("LZW code after a padded end code");
        // Only the code's own width goes out, whatever a stray index holds above it.
        bitBuffer |= static_cast<std::uint64_t>(code & kMasks[static_cast<std::size_t>(codeWidth)]) << bitCount;
        bitCount += codeWidth;
        while (bitCount >= 8) {
            packetByte(static_cast<std::uint8_t>(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
        // The width changes after the code's bits are in: the code that
        // passes the limit still has the old width.
        if (clearFlag) {
            codeWidth = m_InitBits;
            maxCode = kMasks[static_cast<std::size_t>(codeWidth)];
            clearFlag = false;
        } else if (freeCode > maxCode) {
            ++codeWidth;
            maxCode = codeWidth == kMaxCodeWidth ? kCodeLimit : kMasks[static_cast<std::size_t>(codeWidth)];
        }
        if (code == m_EndCode) {
            // The last byte is zero-padded. A stray index equal to the end
            // code flushes early too and leaves the bit count below zero,
            // which the next code rejects.
            while (bitCount > 0) {
                packetByte(static_cast<std::uint8_t>(bitBuffer));
                bitBuffer >>= 8;
                bitCount -= 8;
            }
            FlushPacket(packetCount);
        }
    };
    const auto clearBlock = [&] {
        ClearHash();
        classicTable = false;
        freeCode = m_ClearCode + 2;
        clearFlag = true;
        outputCode(m_ClearCode);
    };
    // Enters prefix `ent` + `pixel` with the next code at `slot`.
    const auto addString = [&](std::uint32_t ent, std::uint32_t pixel, std::uint32_t slot) {
        const auto key = static_cast<std::int32_t>((pixel << 12) + ent);
        if (!classicTable && key == 0 && KeyZeroLeavesSlotZero()) {
            SwitchToClassicTable(freeCode);
            classicTable = true;
            int classicSlot;
            Lookup(0, 0, 0, classicSlot);
            slot = static_cast<std::uint32_t>(classicSlot);
        }
        if (classicTable) {
            m_Tables.CodeTable[slot] = static_cast<std::uint16_t>(freeCode);
            m_Tables.HashTable[slot] = key;
        } else {
            fast[slot] = (ent << 8 | pixel) << 12 | freeCode;
            m_Tables.UsedSlots[m_Tables.UsedCount++] = static_cast<std::uint16_t>(slot);
            const bool run = runByte[ent] == pixel;
            if (run) nextRun[ent] = static_cast<std::uint16_t>(freeCode);
            runByte[freeCode] = run ? static_cast<std::uint16_t>(pixel) : kNoRun;
            nextRun[freeCode] = 0;
        }
        ++freeCode;
    };

    ClearHash();
    outputCode(m_ClearCode);
    std::uint32_t ent = rows.front()[0];
    std::uint32_t last = ent;  // the pixel read before, in reading order
    std::size_t x = 1;
    for (const std::uint8_t* row : rows) {
        for (; x < static_cast<std::size_t>(width); ++x) {
            const std::uint32_t c = row[x];
            const bool repeated = c == last;
            last = c;
            std::uint32_t slot;
            if (!classicTable) {
                // Along a run the next code is at hand, no hashing needed.
                if (repeated && runByte[ent] == c && nextRun[ent] != 0) {
                    ent = nextRun[ent];
                    continue;
                }
                const std::uint32_t key = ent << 8 | c;
                std::uint32_t i = FastSlot(key);
                std::uint32_t stored;
                while ((stored = fast[i]) != 0 && stored >> 12 != key)
                    i = (i + 1) & (kFastSlots - 1);
                if (stored != 0) {
                    ent = stored & 0xFFF;
                    continue;
                }
                slot = i;
            } else {
                int classicSlot;
                if (Lookup(ent, c, static_cast<std::int32_t>((c << 12) + ent), classicSlot)) {
                    ent = m_Tables.CodeTable[static_cast<std::size_t>(classicSlot)];
                    continue;
                }
                slot = static_cast<std::uint32_t>(classicSlot);
            }
            outputCode(ent);
            if (freeCode < kCodeLimit) {
                addString(ent, c, slot);
            } else {
                clearBlock();
            }
            ent = c;
        }
        x = 0;
    }
    outputCode(ent);
    outputCode(m_EndCode);
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
