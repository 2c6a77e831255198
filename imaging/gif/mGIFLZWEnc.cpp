#include "imaging/gif/mGIFLZWEnc.h"

#include <algorithm>
#include <array>
#include <cstddef>
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

constexpr int kFastBits = 13;
constexpr std::uint32_t kFastSlots = 1u << kFastBits;

// The string table. The rules keep it in an open-addressing hash of 5003
// slots whose probe also stops at a stored key of 0; that stop only matters
// once key 0 ("0 0") has had to leave slot 0, so until then any exact table
// gives the same codes, and a faster one is used: a half-empty hash with
// linear probing, each slot (prefix << 8 | pixel) << 12 | code, 0 empty.
// When key 0 would leave slot 0 the rules' table is rebuilt from the codes
// in the order they were assigned and used until the next clear.
// Per thread, so documents on different threads never share it.
struct HashTables {
    std::array<std::uint32_t, kFastSlots> Fast;
    std::array<std::int32_t, kCodeLimit> KeyOfCode;  // the rules' key of each code
    std::array<std::int32_t, kHashSlots> HashTable;
    std::array<std::uint16_t, kHashSlots> CodeTable;
};
thread_local HashTables t_Tables;

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
        : m_Tables(t_Tables),
          m_Out(out),
          m_InitBits(InitBits),
          m_CodeWidth(InitBits),
          m_MaxCode(kMasks[InitBits]),
          m_ClearCode(std::uint32_t{1} << (InitBits - 1)),
          m_EndCode(m_ClearCode + 1),
          m_FreeCode(m_ClearCode + 2)
    {
    }

    void Compress(const std::vector<const std::uint8_t*>& rows, std::int32_t width);

private:
    void OutputCode(std::uint32_t code);
    void ClearBlock();
    void ClearHash()
    {
        m_Tables.Fast.fill(0);
        m_RulesTable = false;
    }
    // Finds prefix `ent` + `pixel`; on a miss, `slot` is where it goes.
    bool FindFast(std::uint32_t ent, std::uint32_t pixel, std::uint32_t& code, std::uint32_t& slot) const;
    void AddString(std::uint32_t ent, std::uint32_t pixel, std::uint32_t slot);
    bool KeyZeroLeavesSlotZero() const;
    void SwitchToRulesTable();
    void PacketByte(std::uint8_t b)
    {
        m_Packet[static_cast<std::size_t>(++m_PacketCount)] = b;
        if (m_PacketCount == kPacketData) FlushPacket();
    }
    void FlushPacket();
    // Looks up prefix `ent` + `pixel`; on a miss, `slot` is where it goes.
    bool Lookup(std::uint32_t ent, std::uint32_t pixel, std::int32_t key, int& slot) const;

    HashTables& m_Tables;
    std::vector<std::uint8_t>& m_Out;
    const int m_InitBits;
    int m_CodeWidth;
    std::uint32_t m_MaxCode;
    const std::uint32_t m_ClearCode;
    const std::uint32_t m_EndCode;
    std::uint32_t m_FreeCode;
    bool m_ClearFlag = false;
    std::uint64_t m_BitBuffer = 0;
    int m_BitCount = 0;
    std::array<std::uint8_t, kPacketData + 1> m_Packet{};
    int m_PacketCount = 0;
    bool m_RulesTable = false;
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
        // also stops at key 0 (its loss would change the codes written).
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

void Encoder::SwitchToRulesTable()
{
    m_Tables.HashTable.fill(-1);
    for (std::uint32_t code = m_ClearCode + 2; code < m_FreeCode; ++code) {
        const std::int32_t key = m_Tables.KeyOfCode[code];
        int slot;
        Lookup(static_cast<std::uint32_t>(key & 0xFFF), static_cast<std::uint32_t>(key >> 12), key, slot);
        m_Tables.HashTable[static_cast<std::size_t>(slot)] = key;
        m_Tables.CodeTable[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(code);
    }
    m_RulesTable = true;
}

void Encoder::AddString(std::uint32_t ent, std::uint32_t pixel, std::uint32_t slot)
{
    const auto key = static_cast<std::int32_t>((pixel << 12) + ent);
    if (!m_RulesTable && key == 0 && KeyZeroLeavesSlotZero()) {
        SwitchToRulesTable();
        int rulesSlot;
        Lookup(0, 0, 0, rulesSlot);
        slot = static_cast<std::uint32_t>(rulesSlot);
    }
    if (m_RulesTable) {
        m_Tables.CodeTable[slot] = static_cast<std::uint16_t>(m_FreeCode);
        m_Tables.HashTable[slot] = key;
    } else {
        m_Tables.Fast[slot] = (ent << 8 | pixel) << 12 | m_FreeCode;
        m_Tables.KeyOfCode[m_FreeCode] = key;
    }
    ++m_FreeCode;
}

void Encoder::Compress(const std::vector<const std::uint8_t*>& rows, std::int32_t width)
{
    ClearHash();
    OutputCode(m_ClearCode);
    std::uint32_t ent = rows.front()[0];
    std::size_t x = 1;
    for (const std::uint8_t* row : rows) {
        for (; x < static_cast<std::size_t>(width); ++x) {
            const std::uint32_t c = row[x];
            std::uint32_t slot;
            if (!m_RulesTable) {
                std::uint32_t code;
                if (FindFast(ent, c, code, slot)) {
                    ent = code;
                    continue;
                }
            } else {
                int rulesSlot;
                if (Lookup(ent, c, static_cast<std::int32_t>((c << 12) + ent), rulesSlot)) {
                    ent = m_Tables.CodeTable[static_cast<std::size_t>(rulesSlot)];
                    continue;
                }
                slot = static_cast<std::uint32_t>(rulesSlot);
            }
            OutputCode(ent);
            if (m_FreeCode < kCodeLimit) {
                AddString(ent, c, slot);
            } else {
                ClearBlock();
            }
            ent = c;
        }
        x = 0;
    }
    OutputCode(ent);
    OutputCode(m_EndCode);
}

void Encoder::ClearBlock()
{
    ClearHash();
    m_FreeCode = m_ClearCode + 2;
    m_ClearFlag = true;
    OutputCode(m_ClearCode);
}

void Encoder::OutputCode(std::uint32_t code)
{
    if (m_BitCount < 0) throw std::out_of_range("LZW code after a padded end code");
    // Only the code's own width goes out, whatever a stray index holds above it.
    m_BitBuffer |= static_cast<std::uint64_t>(code & kMasks[static_cast<std::size_t>(m_CodeWidth)]) << m_BitCount;
    m_BitCount += m_CodeWidth;
    while (m_BitCount >= 8) {
        PacketByte(static_cast<std::uint8_t>(m_BitBuffer));
        m_BitBuffer >>= 8;
        m_BitCount -= 8;
    }
    // The width changes after the code's bits are in: the code that passes
    // the limit still has the old width.
    if (m_ClearFlag) {
        m_CodeWidth = m_InitBits;
        m_MaxCode = kMasks[static_cast<std::size_t>(m_CodeWidth)];
        m_ClearFlag = false;
    } else if (m_FreeCode > m_MaxCode) {
        ++m_CodeWidth;
        m_MaxCode = m_CodeWidth == kMaxCodeWidth ? kCodeLimit : kMasks[static_cast<std::size_t>(m_CodeWidth)];
    }
    if (code == m_EndCode) {
        // The last byte is zero-padded. A stray index equal to the end code
        // flushes early too and leaves the bit count below zero, which the
        // next code rejects.
        while (m_BitCount > 0) {
            PacketByte(static_cast<std::uint8_t>(m_BitBuffer));
            m_BitBuffer >>= 8;
            m_BitCount -= 8;
        }
        FlushPacket();
    }
}

void Encoder::FlushPacket()
{
    if (m_PacketCount == 0) return;
    m_Packet[0] = static_cast<std::uint8_t>(m_PacketCount);
    m_Out.insert(m_Out.end(), m_Packet.begin(), m_Packet.begin() + m_PacketCount + 1);
    m_PacketCount = 0;
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
    // An interlaced frame of 4 rows or fewer is read top to bottom, as the
    // decoder fills such frames in stored order.
    const auto rows = MapSurfaceRows(dib, Interlaced && dib.Height() > 4);
    if (rows.empty() || dib.Width() < 1) return;
    Encoder encoder(out, InitBits);
    encoder.Compress(rows, dib.Width());
}

}  // namespace korvane::imaging::mGIFLZWEnc
