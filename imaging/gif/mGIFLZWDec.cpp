#include "imaging/gif/mGIFLZWDec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace korvane::imaging::mGIFLZWDec {
namespace {

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

constexpr int kTableSlots = 4097;          // slots 0..4096
constexpr int kStackBytes = 4097;          // the longest string a 4097-slot table can describe
constexpr std::uint32_t kLastSlot = 4095;  // once filled, the table stays as it is until the next clear
constexpr int kMaxGrownWidth = 12;
constexpr int kMaxCodeSize = 30;
constexpr int kWord = 8;  // bytes every short string is copied with

// The string table outlives a frame: damaged data can reach slots the current
// frame never wrote, and those must read what earlier frames left there. It is
// per thread so that documents on different threads never share it.
//
// A slot's facts are packed in two words, so a new slot is two stores. Head:
// a string of up to eight bytes itself, first byte lowest; for a longer
// string the address of an earlier copy of it in the surface (0 when there is
// none to copy from). Facts: prefix code in bits 0-15, length in 16-31, last
// byte in 32-39, first byte in 40-47. Only the prefix and the last byte carry
// over between frames. The head, the length and the first byte are never
// reset: the fast loop reads them only for literals, which InitLiterals sets
// at its start, and for slots it has itself written since the last clear, so
// whatever an earlier frame or segment left there is never read. The plain
// loop reads only prefixes and last bytes.
struct Slot {
    std::uint64_t Head;
    std::uint64_t Facts;
};
constexpr std::uint64_t kPrefixAndLastByte = 0xFF'0000'FFFFULL;

constexpr std::uint64_t PackFacts(std::uint32_t prefix, std::uint32_t length, std::uint8_t last, std::uint8_t first)
{
    return prefix | std::uint64_t{length} << 16 | std::uint64_t{last} << 32 | std::uint64_t{first} << 40;
}
inline std::uint32_t PrefixOf(const Slot& slot)
{
    return static_cast<std::uint32_t>(slot.Facts & 0xFFFF);
}
inline std::uint32_t LengthOf(const Slot& slot)
{
    return static_cast<std::uint32_t>(slot.Facts >> 16 & 0xFFFF);
}
inline std::uint8_t LastByteOf(const Slot& slot)
{
    return static_cast<std::uint8_t>(slot.Facts >> 32);
}
// What the plain loop keeps of a slot: the code of the string it extends and
// the byte it adds.
inline void SetPrefixAndLastByte(Slot& slot, std::uint32_t prefix, std::uint8_t last)
{
    slot.Facts = (slot.Facts & ~kPrefixAndLastByte) | prefix | std::uint64_t{last} << 32;
}

struct StringTable {
    std::array<Slot, kTableSlots> Slots{};
};
thread_local StringTable t_Table;

// The frame's 8-bit surface as rows of bytes; owns nothing.
struct SurfaceRows {
    std::uint8_t* Bits = nullptr;
    std::ptrdiff_t BytesPerScanline = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

SurfaceRows MapSurfaceRows(const FrameRecord& frame)
{
    const cDIB& dib = *frame.DIBXOR;
    return {dib.lpBits(), dib.BytesPerScanline(), dib.Width(), dib.Height()};
}

// The payloads of a frame's sub-blocks, gathered a chunk at a time into a
// small buffer, so a frame's data is never copied whole.
class SubBlockFeed {
public:
    SubBlockFeed(std::span<const std::uint8_t> stream, std::size_t first) : m_Stream(stream), m_Pos(first) {}

    // Keeps the bytes from `next` to `end` (fewer than a word) and gathers
    // more behind them; false when no more came.
    bool More(const std::uint8_t*& next, const std::uint8_t*& end)
    {
        const auto keep = static_cast<std::size_t>(end - next);
        if (keep > 0) std::memmove(m_Chunk.data(), next, keep);
        const std::size_t added = Gather(m_Chunk.data() + keep, kChunk);
        next = m_Chunk.data();
        end = m_Chunk.data() + keep + added;
        return added > 0;
    }

private:
    static constexpr std::size_t kChunk = 16384;

    std::size_t Gather(std::uint8_t* to, std::size_t room)
    {
        std::size_t n = 0;
        while (n < room) {
            if (m_BlockLeft > 0) {
                const std::size_t k = std::min(room - n, m_BlockLeft);
                std::memcpy(to + n, m_Stream.data() + m_At, k);
                m_At += k;
                m_BlockLeft -= k;
                n += k;
            } else if (m_PadLeft > 0) {
                const std::size_t k = std::min(room - n, m_PadLeft);
                std::memset(to + n, 0, k);
                m_PadLeft -= k;
                n += k;
            } else {
                // The next size byte; 0 or the end of the stream ends the data.
                if (m_Pos >= m_Stream.size() || m_Stream[m_Pos] == 0) break;
                const std::size_t size = m_Stream[m_Pos];
                m_At = m_Pos + 1;
                m_BlockLeft = std::min(size, m_Stream.size() - m_At);
                m_PadLeft = size - m_BlockLeft;
                m_Pos += size + 1;
            }
        }
        return n;
    }

    std::span<const std::uint8_t> m_Stream;
    std::size_t m_Pos;  // the next size byte
    std::size_t m_At = 0;
    std::size_t m_BlockLeft = 0;
    std::size_t m_PadLeft = 0;
    std::array<std::uint8_t, kChunk + 8> m_Chunk;
};

// Codes packed lowest bit first. A code fails to read only when the data ends
// before all its bits are there, exactly as a byte-at-a-time reader would.
class CodeReader {
public:
    explicit CodeReader(std::span<const std::uint8_t> data) : m_Next(data.data()), m_End(data.data() + data.size()) {}
    explicit CodeReader(SubBlockFeed& feed) : m_Next(nullptr), m_End(nullptr), m_Feed(&feed) {}

    bool ReadCode(int CodeWidth, std::uint32_t& code)
    {
        if (m_BitCount < CodeWidth) {
            if (m_End - m_Next >= 8) {
                LoadWord();
            } else if (!Refill(CodeWidth)) {
                return false;
            }
        }
        code = static_cast<std::uint32_t>(m_BitBuffer) & ((std::uint32_t{1} << CodeWidth) - 1);
        m_BitBuffer >>= CodeWidth;
        m_BitCount -= CodeWidth;
        return true;
    }

    // The state as plain values, for a loop that keeps it in registers and
    // hands it back before each slow refill.
    struct State {
        const std::uint8_t* Next;
        const std::uint8_t* End;
        std::uint64_t BitBuffer;
        int BitCount;
    };
    State Get() const { return {m_Next, m_End, m_BitBuffer, m_BitCount}; }
    void Set(const State& state)
    {
        m_Next = state.Next;
        m_End = state.End;
        m_BitBuffer = state.BitBuffer;
        m_BitCount = state.BitCount;
    }

private:
    // Whole bytes that fit go in; bits above m_BitCount are the true low bits
    // of the next byte, so loading it again later changes nothing.
    void LoadWord()
    {
        std::uint64_t word;
        std::memcpy(&word, m_Next, sizeof word);
        m_BitBuffer |= word << m_BitCount;
        const int bytes = (63 - m_BitCount) >> 3;
        m_Next += bytes;
        m_BitCount += bytes * 8;
    }

    [[gnu::noinline]] bool Refill(int CodeWidth)
    {
        if (m_End - m_Next < 8 && m_Feed != nullptr && !m_Feed->More(m_Next, m_End)) m_Feed = nullptr;
        if (m_End - m_Next >= 8) {
            LoadWord();
            return true;
        }
        while (m_BitCount < CodeWidth) {
            if (m_Next == m_End) return false;
            m_BitBuffer |= static_cast<std::uint64_t>(*m_Next++) << m_BitCount;
            m_BitCount += 8;
        }
        return true;
    }

    const std::uint8_t* m_Next;
    const std::uint8_t* m_End;
    SubBlockFeed* m_Feed = nullptr;  // more data behind m_End, null when there is none
    std::uint64_t m_BitBuffer = 0;
    int m_BitCount = 0;
};

// Places pixels in row order, or in the four interlace passes. Every call
// that completes the last row of the last pass returns false: decoding ends.
class PixelCursor {
public:
    // `blank`: the surface reads as zero wherever no pixel has been written.
    PixelCursor(const SurfaceRows& rows, bool Interlaced, bool blank)
        : m_Rows(rows), m_Row(rows.Bits), m_Interlaced(Interlaced), m_Blank(blank)
    {
        if (!m_Blank) m_Original.resize(static_cast<std::size_t>(rows.Width));
        if (m_Interlaced) {
            m_RowStep = {8, 8, 4, 2};
            m_RowStart = {0, 4, 2, 1};
        }
    }

    bool Put(std::uint8_t value)
    {
        m_Row[m_X] = value;
        if (++m_X == m_Rows.Width) return NextRow();
        return true;
    }

    // Writes n bytes that do not overlap the surface bytes being written.
    bool Emit(const std::uint8_t* bytes, int n)
    {
        while (n > 0) {
            const int chunk = std::min(n, m_Rows.Width - m_X);
            std::memcpy(m_Row + m_X, bytes, static_cast<std::size_t>(chunk));
            bytes += chunk;
            n -= chunk;
            m_X += chunk;
            if (m_X == m_Rows.Width && !NextRow()) return false;
        }
        return true;
    }

    // The room left in the current row, and the write position within it.
    int RowRoom() const { return m_Rows.Width - m_X; }
    std::uint8_t* Here() const { return m_Row + m_X; }

    // Accounts for n bytes written at Here() that leave the row unfinished.
    void Advance(int n) { m_X += n; }

    // Pixels written in the order rows are first visited.
    std::int64_t Written() const
    {
        if (!m_FirstVisit) return std::int64_t{m_Rows.Width} * m_Rows.Height;
        return m_RowsDone * m_Rows.Width + m_X;
    }

    bool NextRow()
    {
        ++m_RowsDone;
        m_X = 0;
        m_Y += m_RowStep[m_Pass];
        // A frame shorter than five rows has passes without rows; they are skipped.
        while (m_Y > m_Rows.Height - 1) {
            if (++m_Pass == 4) {
                m_FirstVisit = false;  // every row is complete: nothing to put back
                return false;
            }
            m_Y = m_RowStart[m_Pass];
            m_FirstVisit = m_Interlaced;
        }
        m_Row = m_Rows.Bits + m_Y * m_Rows.BytesPerScanline;
        m_RowSaved = false;
        return true;
    }

    // Until every pixel has been written once, no write lands on an earlier
    // one, and bytes ahead in the row hold what the surface held before.
    bool FirstVisit() const { return m_FirstVisit; }
    // Puts back the bytes ahead of the write position that whole-word copies
    // ran over, so no byte beyond the pixels written changes.
    void RestoreAhead()
    {
        if (!m_FirstVisit || !m_RowSaved) return;
        const int n = std::min(kWord, m_Rows.Width - m_X);
        if (m_Blank) {
            std::memset(m_Row + m_X, 0, static_cast<std::size_t>(n));
        } else {
            std::memcpy(m_Row + m_X, m_Original.data() + m_X, static_cast<std::size_t>(n));
        }
    }
    // Keeps the row as it was before the first whole-word copy into it.
    void SaveRow()
    {
        if (m_RowSaved) return;
        if (!m_Blank) std::memcpy(m_Original.data(), m_Row, m_Original.size());
        m_RowSaved = true;
    }

private:
    SurfaceRows m_Rows;
    std::array<int, 4> m_RowStep{1, 1, 1, 1};
    std::array<int, 4> m_RowStart{0, 0, 0, 0};
    std::uint8_t* m_Row;
    int m_X = 0;
    int m_Y = 0;
    int m_Pass = 0;
    std::int64_t m_RowsDone = 0;
    const bool m_Interlaced;
    const bool m_Blank;
    bool m_FirstVisit = true;
    bool m_RowSaved = false;
    std::vector<std::uint8_t> m_Original;  // the current row as it was, unless blank
};

class Decoder {
public:
    Decoder(const SurfaceRows& rows, bool Interlaced, bool blank, std::uint8_t CodeSize, const CodeReader& reader)
        : m_Slots(t_Table.Slots.data()),
          m_Reader(reader),
          m_Cursor(rows, Interlaced, blank),
          m_InitialCodeWidth(CodeSize + 1),
          m_ClearCode(std::uint32_t{1} << CodeSize),
          m_CodeWidth(m_InitialCodeWidth),
          m_MaxCode((std::uint32_t{1} << m_InitialCodeWidth) - 1),
          m_NextFree(m_ClearCode + 2)
    {
    }

    void Run()
    {
        // Literals are single bytes only up to code size 8; other code sizes
        // take the plain loop throughout.
        if (m_ClearCode > 256) {
            DecodeCodes(nullptr);
            return;
        }
        std::uint32_t pending = 0;
        if (DecodeClean(pending)) DecodeCodes(&pending);
    }

    std::int64_t Written() const { return m_Cursor.Written(); }

private:
    // The plain decoding loop, one code at a time: each code puts out its
    // string (a code equal to the next free slot: the previous string and
    // its own first byte); each code after the first enters the previous
    // string plus this string's first byte in the next free slot, up to slot
    // 4095; the code width grows by one when the next free slot passes the
    // largest code of the width, up to 12 bits. It decides what damaged data
    // gives (a code above the next free slot repeats the previous string;
    // chains run through whatever the table holds, earlier frames' slots
    // too), so damaged pictures keep looking as they always have; the fast
    // loop hands over to it wherever the data stops being clean. Also used
    // for unusual code sizes; `pending` is a code already read by
    // DecodeClean.
    void DecodeCodes(const std::uint32_t* pending);
    // The string of `code` into stack from `top` upward, last byte first;
    // false when the chain is too long, leaves the table or ends in a value
    // that is no byte.
    bool ExpandCode(int& top, std::uint32_t code);
    void Clear();

    // The fast loop for well-formed data: every string is built from literals
    // and slots of the same segment, so each slot's length, first byte and
    // bytes (or an earlier copy in the surface) are known. Returns true with
    // `pending` set when it meets a code it leaves to DecodeCodes, false when
    // decoding ended.
    bool DecodeClean(std::uint32_t& pending);
    bool DecodeCleanCodes(std::uint32_t& pending);
    bool WriteClean(std::uint32_t head, std::uint32_t headLength, bool withTail, std::uint8_t tail);
    void WriteChain(std::uint8_t* last, std::uint32_t code, bool copy) const;
    void InitLiterals();

    Slot* const m_Slots;
    CodeReader m_Reader;
    PixelCursor m_Cursor;
    const int m_InitialCodeWidth;
    const std::uint32_t m_ClearCode;
    int m_CodeWidth;
    std::uint32_t m_MaxCode;
    std::uint32_t m_NextFree;
    bool m_AfterClear = true;
    std::uint32_t m_PreviousCode = 0;
    std::uint8_t m_FirstByte = 0;

    // The plain loop's string stack, kept between codes because a code above
    // the next free slot puts out the string on it again; DecodeClean keeps
    // it implicitly as the string of m_LastExpanded (none: the stack still
    // all zero).
    std::array<std::uint8_t, kStackBytes> m_Stack{};
    int m_StackTop = 0;
    bool m_HaveExpanded = false;
    std::uint32_t m_LastExpanded = 0;

    // Where the previous string stands in the surface, null when it was split
    // across rows.
    const std::uint8_t* m_PreviousSource = nullptr;
};

void Decoder::Clear()
{
    m_AfterClear = true;
    m_CodeWidth = m_InitialCodeWidth;
    m_MaxCode = (std::uint32_t{1} << m_CodeWidth) - 1;
    m_NextFree = m_ClearCode + 2;
}

bool Decoder::ExpandCode(int& top, std::uint32_t code)
{
    while (code >= m_ClearCode) {
        if (code >= kTableSlots || top >= kStackBytes) return false;
        m_Stack[static_cast<std::size_t>(top++)] = LastByteOf(m_Slots[code]);
        code = PrefixOf(m_Slots[code]);
    }
    if (top >= kStackBytes || code > 255) return false;
    m_Stack[static_cast<std::size_t>(top)] = static_cast<std::uint8_t>(code);
    return true;
}

void Decoder::DecodeCodes(const std::uint32_t* pending)
{
    // Rebuild the stack DecodeClean kept implicitly; no slot on the chain
    // has been rewritten since.
    m_StackTop = 0;
    m_Stack[0] = 0;
    if (m_HaveExpanded) ExpandCode(m_StackTop, m_LastExpanded);
    std::uint32_t code = 0;
    if (pending != nullptr) code = *pending;
    for (bool first = pending != nullptr;; first = false) {
        if (!first && !m_Reader.ReadCode(m_CodeWidth, code)) return;
        if (code == m_ClearCode + 1) return;
        if (code == m_ClearCode) {
            Clear();
            continue;
        }
        if (m_AfterClear) {
            m_AfterClear = false;
            m_PreviousCode = code;
            if (code > 255) return;
            m_FirstByte = static_cast<std::uint8_t>(code);
            if (!m_Cursor.Put(m_FirstByte)) return;
            continue;
        }
        if (code < m_NextFree) {
            int top = 0;
            if (!ExpandCode(top, code)) return;
            m_StackTop = top;
        } else if (code == m_NextFree) {
            m_Stack[0] = m_FirstByte;
            int top = 1;
            if (!ExpandCode(top, m_PreviousCode)) return;
            m_StackTop = top;
        }
        // A code above the next free slot outputs the previous string again.
        m_FirstByte = m_Stack[static_cast<std::size_t>(m_StackTop)];
        for (int i = m_StackTop; i >= 0; --i) {
            if (!m_Cursor.Put(m_Stack[static_cast<std::size_t>(i)])) return;
        }
        if (m_NextFree <= kLastSlot) {
            SetPrefixAndLastByte(m_Slots[m_NextFree], m_PreviousCode, m_FirstByte);
            ++m_NextFree;
        } else if (m_NextFree >= static_cast<std::uint32_t>(kTableSlots)) {
            // A code size above 11 puts the first free slot past the table:
            // the string is out, and decoding ends where it would be entered.
            return;
        }
        if (m_NextFree > m_MaxCode && m_CodeWidth < kMaxGrownWidth) {
            ++m_CodeWidth;
            m_MaxCode = (std::uint32_t{1} << m_CodeWidth) - 1;
        }
        m_PreviousCode = code;
    }
}

// The prefix and last byte of a literal's slot keep what earlier frames left.
void Decoder::InitLiterals()
{
    for (std::uint32_t c = 0; c < m_ClearCode; ++c) {
        Slot& slot = m_Slots[c];
        const auto byte = static_cast<std::uint8_t>(c);
        slot.Head = c;
        slot.Facts = (slot.Facts & kPrefixAndLastByte) | PackFacts(0, 1, 0, byte);
    }
}

// Writes the string of `code` backwards from `last`. The part a slot holds
// itself is copied from there; with `copy`, so is the part an earlier copy
// in the surface holds.
void Decoder::WriteChain(std::uint8_t* last, std::uint32_t code, bool copy) const
{
    while (code >= m_ClearCode) {
        const Slot& slot = m_Slots[code];
        const std::uint32_t length = LengthOf(slot);
        if (length <= kWord) {
            std::memcpy(last - length + 1, &slot.Head, length);
            return;
        }
        if (copy && slot.Head != 0) {
            std::memcpy(last - length + 1, reinterpret_cast<const std::uint8_t*>(slot.Head), length);
            return;
        }
        *last-- = LastByteOf(slot);
        code = PrefixOf(slot);
    }
    *last = static_cast<std::uint8_t>(code);
}

// Writes the string of `head`, followed by `tail` when asked, and notes where
// it stands for the slot the next code adds. False when decoding ended.
bool Decoder::WriteClean(std::uint32_t head, std::uint32_t headLength, bool withTail, std::uint8_t tail)
{
    const std::uint32_t length = headLength + (withTail ? 1 : 0);
    if (static_cast<int>(length) < m_Cursor.RowRoom()) {
        std::uint8_t* to = m_Cursor.Here();
        WriteChain(to + headLength - 1, head, m_Cursor.FirstVisit());
        if (withTail) to[headLength] = tail;
        m_Cursor.Advance(static_cast<int>(length));
        m_PreviousSource = to;
        return true;
    }
    // The string reaches the end of the row: assemble it, then place it.
    WriteChain(m_Stack.data() + headLength - 1, head, m_Cursor.FirstVisit());
    if (withTail) m_Stack[static_cast<std::size_t>(headLength)] = tail;
    m_PreviousSource = nullptr;
    return m_Cursor.Emit(m_Stack.data(), static_cast<int>(length));
}

bool Decoder::DecodeClean(std::uint32_t& pending)
{
    InitLiterals();
    const bool handedOver = DecodeCleanCodes(pending);
    m_Cursor.RestoreAhead();
    return handedOver;
}

bool Decoder::DecodeCleanCodes(std::uint32_t& pending)
{
    // The loop keeps its state in locals and hands it back at its exits and
    // around its rare calls: pixel stores may alias any member, which would
    // otherwise be reloaded after each one, and no local's address is taken,
    // so all can stay in registers. The flag after a clear, the first byte
    // and the last string expanded are settled on the rare paths and at the
    // exits.
    CodeReader::State bits = m_Reader.Get();
    std::uint32_t nextFree = m_NextFree;
    std::uint32_t maxCode = m_MaxCode;
    int codeWidth = m_CodeWidth;
    std::uint32_t previous = m_PreviousCode;
    const std::uint8_t* previousSource = m_PreviousSource;
    bool afterClear = m_AfterClear;
    const std::uint32_t clearCode = m_ClearCode;
    Slot* const slots = m_Slots;
    // The previous string's slot, which the next slot extends. Each half is
    // loaded on its own, as it was stored, so a load straight after the store
    // is served from it.
    std::uint64_t previousHead = slots[previous].Head;
    std::uint64_t previousFacts = slots[previous].Facts;
    // Whole-word stores are made while more than a word and a byte of the
    // row are left before fastEnd: the row's end on a first visit, else here.
    std::uint8_t* here = nullptr;
    std::uint8_t* fastEnd = nullptr;
    const auto syncCursor = [this](std::uint8_t*& at, std::uint8_t*& end) {
        at = m_Cursor.Here();
        end = at;
        if (m_Cursor.FirstVisit()) {
            m_Cursor.SaveRow();
            end += m_Cursor.RowRoom();
        }
    };
    syncCursor(here, fastEnd);
    const auto readCode = [this](CodeReader::State& b, int width, std::uint32_t& code) {
        if (b.BitCount < width) {
            if (b.End - b.Next >= 8) {
                std::uint64_t word;
                std::memcpy(&word, b.Next, sizeof word);
                b.BitBuffer |= word << b.BitCount;
                const int bytes = (63 - b.BitCount) >> 3;
                b.Next += bytes;
                b.BitCount += bytes * 8;
            } else {
                m_Reader.Set(b);
                const bool read = m_Reader.ReadCode(width, code);
                b = m_Reader.Get();
                return read;
            }
        }
        code = static_cast<std::uint32_t>(b.BitBuffer) & ((std::uint32_t{1} << width) - 1);
        b.BitBuffer >>= width;
        b.BitCount -= width;
        return true;
    };

    bool handedOver = false;
    std::uint32_t code = 0;
    bool running = true;
    while (running) {
        if (afterClear) {
            // The first code of a segment: a literal, without a slot.
            if (!readCode(bits, codeWidth, code) || code == clearCode + 1) break;
            if (code == clearCode) continue;
            if (code > clearCode) {  // a first code naming a slot reads whatever the table holds
                handedOver = true;
                break;
            }
            afterClear = false;
            previous = code;
            previousHead = slots[code].Head;
            previousFacts = slots[code].Facts;
            m_Cursor.Advance(static_cast<int>(here - m_Cursor.Here()));
            const bool more = WriteClean(code, 1, false, 0);
            previousSource = m_PreviousSource;
            syncCursor(here, fastEnd);
            if (!more) break;
        }
        for (;;) {
            if (!readCode(bits, codeWidth, code)) {
                running = false;
                break;
            }
            if (code - clearCode <= 1) {
                running = code == clearCode;  // else the end code
                if (running) {
                    if (nextFree > clearCode + 2) {  // the previous code was expanded
                        m_HaveExpanded = true;
                        m_LastExpanded = previous;
                    }
                    afterClear = true;
                    codeWidth = m_InitialCodeWidth;
                    maxCode = (std::uint32_t{1} << codeWidth) - 1;
                    nextFree = clearCode + 2;
                }
                break;
            }
            // A code above the next free slot is damage: the previous string
            // comes again. So it does for a code naming the slot past a full
            // table.
            if (code > nextFree || (code == nextFree && nextFree > kLastSlot)) {
                handedOver = true;
                running = false;
                break;
            }
            // The code being defined is the previous string and its first byte.
            const bool define = code == nextFree;
            const std::uint64_t head = define ? previousHead : slots[code].Head;
            const std::uint64_t facts = define ? previousFacts : slots[code].Facts;
            const auto headLength = static_cast<std::uint32_t>(facts >> 16 & 0xFFFF);
            const auto firstByte = static_cast<std::uint8_t>(facts >> 40);
            const std::uint8_t* const prefixSource = previousSource;
            if (headLength <= kWord && fastEnd - here > kWord + 1) {
                // Most strings are short and held by their slot: one word is
                // stored whatever the length; the bytes past the string are
                // rewritten by the strings that follow, or put back by
                // RestoreAhead.
                std::memcpy(here, &head, kWord);
                here[headLength] = firstByte;
                previousSource = here;
                here += headLength + (define ? 1 : 0);
            } else {
                m_Cursor.Advance(static_cast<int>(here - m_Cursor.Here()));
                m_PreviousSource = previousSource;
                const bool more = WriteClean(define ? previous : code, headLength, define, firstByte);
                previousSource = m_PreviousSource;
                syncCursor(here, fastEnd);
                if (!more) {
                    running = false;
                    break;
                }
            }
            // The slot the string defines: the previous string, which stands
            // at prefixSource, followed by this string's first byte.
            if (nextFree <= kLastSlot) {
                const auto previousLength = static_cast<std::uint32_t>(previousFacts >> 16 & 0xFFFF);
                const std::uint64_t addedHead = previousLength < kWord
                                                    ? previousHead | std::uint64_t{firstByte} << (8 * previousLength)
                                                    : reinterpret_cast<std::uintptr_t>(prefixSource);
                const std::uint64_t addedFacts =
                    PackFacts(previous, previousLength + 1, firstByte, 0) | (previousFacts & std::uint64_t{0xFF} << 40);
                slots[nextFree].Head = addedHead;
                slots[nextFree].Facts = addedFacts;
                previousHead = define ? addedHead : head;
                previousFacts = define ? addedFacts : facts;
                ++nextFree;
            } else {
                previousHead = head;
                previousFacts = facts;
            }
            if (nextFree > maxCode && codeWidth < kMaxGrownWidth) {
                ++codeWidth;
                maxCode = (std::uint32_t{1} << codeWidth) - 1;
            }
            previous = code;
        }
    }
    if (!afterClear && nextFree > clearCode + 2) {
        m_HaveExpanded = true;
        m_LastExpanded = previous;
    }
    m_Cursor.Advance(static_cast<int>(here - m_Cursor.Here()));
    m_Reader.Set(bits);
    m_NextFree = nextFree;
    m_MaxCode = maxCode;
    m_CodeWidth = codeWidth;
    m_PreviousCode = previous;
    m_FirstByte = static_cast<std::uint8_t>(previousFacts >> 40);
    m_PreviousSource = previousSource;
    m_AfterClear = afterClear;
    pending = code;
    return handedOver;
}

}  // namespace

void InitDecoderTables()
{
    // The decoder's constant tables are compile-time constants, so every
    // thread has them whether or not a document was constructed on it.
}

void DecodeToDIB(FrameRecord& frame, bool Interlaced, std::uint8_t CodeSize, std::span<const std::uint8_t> data)
{
    if (!frame.DIBXOR || frame.DIBXOR->bpp() != 8) return;
    if (CodeSize > kMaxCodeSize) throw std::overflow_error("LZW minimum code size above 30");
    Decoder decoder(MapSurfaceRows(frame), Interlaced, false, CodeSize, CodeReader(data));
    decoder.Run();
}

std::int64_t DecodeToDIB(FrameRecord& frame, bool Interlaced, std::uint8_t CodeSize,
                         std::span<const std::uint8_t> stream, std::size_t first)
{
    if (!frame.DIBXOR || frame.DIBXOR->bpp() != 8) return 0;
    if (CodeSize > kMaxCodeSize) throw std::overflow_error("LZW minimum code size above 30");
    SubBlockFeed feed(stream, first);
    Decoder decoder(MapSurfaceRows(frame), Interlaced, true, CodeSize, CodeReader(feed));
    decoder.Run();
    return decoder.Written();
}

}  // namespace korvane::imaging::mGIFLZWDec
