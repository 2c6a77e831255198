#include "imaging/gif/mGIFLZWDec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/gif/ProcessorFeatures.h"
#include "platform/gdi/PixelBlocks.h"

namespace korvane::imaging::mGIFLZWDec {
namespace {

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

constexpr int kTableSlots = 4097;          // slots 0..4096
constexpr int kStackBytes = 4097;          // the longest string a 4097-slot table can describe
constexpr std::uint32_t kLastSlot = 4095;  // once filled, the table stays as it is until the next clear
constexpr int kMaxGrownWidth = 12;
constexpr int kMaxCodeSize = 30;
constexpr int kWord = 8;                     // bytes the code reader loads at once
constexpr int kSpan = 32;                    // bytes every string of up to this many is copied with, in one piece
constexpr std::uintptr_t kWriteAhead = 512;  // bytes past the next string asked for early

// Every byte value followed by the next ones: a literal's string is read
// from here a span at a time, as any other string is read from its copy.
constexpr std::array<std::uint8_t, 256 + kSpan> kLiteralBytes = [] {
    std::array<std::uint8_t, 256 + kSpan> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}();

// Set in a slot's length when its string has no copy to be read from.
constexpr std::uint16_t kNoCopy = 0x8000;

// The string table outlives a frame: damaged data can reach slots the current
// frame never wrote, and those must read what earlier frames left there. It is
// per thread so that documents on different threads never share it.
//
// A slot's facts lie in one array each, so that a loop with the table's
// address in a register reaches any of them in one instruction. A slot's
// string always stands somewhere already written, since it is the string
// before it in the data plus one byte: Copy is where, in the surface (in
// kLiteralBytes for a literal), unless the length carries kNoCopy because
// that string was split across rows. Only the prefix and the last byte carry
// over between frames. Copy and length are never reset: the fast loops read
// them only for literals, which InitLiterals sets at their start, and for
// slots they have themselves written since the last clear, so whatever an
// earlier frame or segment left there is never read. The plain loop reads
// only prefixes and last bytes.
struct StringTable {
    std::array<const std::uint8_t*, kTableSlots> Copy{};
    std::array<std::uint16_t, kTableSlots> Length{};
    std::array<std::uint16_t, kTableSlots> Prefix{};
    std::array<std::uint8_t, kTableSlots> Last{};
    // Slots from 0 that hold literals' copy and length.
    std::uint32_t LiteralSlots = 0;

    std::uint32_t LengthOf(std::uint32_t code) const { return Length[code] & ~std::uint32_t{kNoCopy}; }
    bool HasCopy(std::uint32_t code) const { return (Length[code] & kNoCopy) == 0; }

    // Enters the string of `previous` followed by `last` in `slot`; `source`
    // is where the string of `previous` stands, followed by `last`, in the
    // surface (null when it does not).
    void Add(std::uint32_t slot, std::uint32_t previous, std::uint8_t last, const std::uint8_t* source)
    {
        Copy[slot] = source;
        Length[slot] = static_cast<std::uint16_t>((LengthOf(previous) + 1) | (source != nullptr ? 0U : kNoCopy));
        Prefix[slot] = static_cast<std::uint16_t>(previous);
        Last[slot] = last;
    }
};
thread_local StringTable t_Table;
thread_local std::array<std::uint8_t, kStackBytes> t_Stack;

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
    // The chunk is filled before it is read; clearing it would cost each
    // frame 16 KiB of stores.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init)
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
        std::uint64_t word = 0;
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
        // Rows in order with nothing between them are one long row to the
        // decoder, so strings rarely meet a row's end.
        const std::int64_t pixels = std::int64_t{rows.Width} * rows.Height;
        if (blank && !Interlaced && rows.Height > 1 && rows.BytesPerScanline == rows.Width && pixels <= INT32_MAX) {
            m_Rows.Width = static_cast<std::int32_t>(pixels);
            m_Rows.Height = 1;
            m_Rows.BytesPerScanline = pixels;
        }
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
    // Rows are not written in memory order: an earlier string may stand in a later row.
    bool AnyOrder() const { return m_Interlaced && m_Rows.Height > 1; }
    // The address just past the surface's last row.
    std::uintptr_t End() const
    {
        return reinterpret_cast<std::uintptr_t>(m_Rows.Bits + (m_Rows.Height - 1) * m_Rows.BytesPerScanline +
                                                m_Rows.Width);
    }
    // Puts back the bytes ahead of the write position that whole-span copies
    // ran over, so no byte beyond the pixels written changes.
    void RestoreAhead()
    {
        if (!m_FirstVisit || !m_RowSaved) return;
        const int n = std::min(kSpan, m_Rows.Width - m_X);
        if (m_Blank) {
            std::memset(m_Row + m_X, 0, static_cast<std::size_t>(n));
        } else {
            std::memcpy(m_Row + m_X, m_Original.data() + m_X, static_cast<std::size_t>(n));
        }
    }
    // Keeps the row as it was before the first whole-span copy into it.
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

// What the clean loop carries from one code to the next, handed to the
// ordinary run and back.
struct CleanState {
    CodeReader::State Bits;
    std::uint8_t* Here;
    std::uint8_t* FastEnd;
    std::uint32_t NextFree;
    std::uint32_t MaxCode;
    int CodeWidth;
    std::uint32_t Previous;
    const std::uint8_t* PreviousSource;
    // Where the surface ends: a span read from a copy must not pass it.
    std::uintptr_t SurfaceEnd;
};

// Copies the span at `from` to `to`, reading all of it before writing any,
// and returns its first byte. A string of up to a span whose copy ends at or
// before `to` arrives whole; the bytes after it are left for later strings
// to overwrite.
template <int Bytes = kSpan>
inline std::uint8_t CopySpan(std::uint8_t* to, const std::uint8_t* from)
{
#if defined(__SSE2__)
    // Whole registers: one load and one store per 16 bytes.
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    if constexpr (Bytes > 16) {
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16), tail);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), head);
    return static_cast<std::uint8_t>(_mm_cvtsi128_si32(head));
#else
    std::array<std::uint8_t, Bytes> span;  // NOLINT(cppcoreguidelines-pro-type-member-init): filled at once
    std::memcpy(span.data(), from, Bytes);
    std::memcpy(to, span.data(), Bytes);
    return span[0];
#endif
}

// Copies a string of at least a span from an earlier copy of it that ends
// at or before `to`, a span at a time: the two never overlap, even in whole
// spans, as the copy is at least a span behind. The last span ends where the
// string ends, rewriting bytes already written, so nothing past it is touched.
inline void CopyEarlierCopy(std::uint8_t* to, const std::uint8_t* from, std::uint32_t length)
{
    constexpr std::uint32_t kChunk = kSpan;
    for (std::uint32_t i = 0; i + kChunk <= length; i += kChunk)
        std::memcpy(to + i, from + i, kChunk);
    std::memcpy(to + length - kChunk, from + length - kChunk, kChunk);
}

// Decodes codes for as long as they are ordinary, which in clean data is
// nearly always: a code below the next free slot that is no clear or end
// code, or the next free slot's own code; a string with a copy to read from;
// room for whole-span stores before FastEnd; and a word of data left to load.
// Stops before the first code that is not, leaving it unread and the table as
// it was, and after the code that fills the table. Kept apart from the rest
// of the loop, with nothing else to keep track of, so its state stays in
// registers. The previous string must stand just before Here; with a full
// table no slot is entered and no code can be the next free slot's. Copies
// stand before Here in memory, so a span read from one stays in the surface,
// unless `AnyOrder`: rows are then not written in memory order, and a copy
// near the surface's end is copied exactly.
template <bool TableFull, bool AnyOrder>
[[gnu::always_inline]] inline void DecodeOrdinaryCodesIn(CleanState& state, StringTable& table)
{
    const std::uint8_t* next = state.Bits.Next;
    const std::uint8_t* const end = state.Bits.End;
    std::uint64_t buffer = state.Bits.BitBuffer;
    int count = state.Bits.BitCount;
    std::uint8_t* here = state.Here;
    // Whole spans are stored while Here is below this.
    const std::uint8_t* const spanEnd = state.FastEnd - (kSpan + 1);
    std::uint32_t nextFree = state.NextFree;
    std::uint32_t maxCode = state.MaxCode;
    int codeWidth = state.CodeWidth;
    std::uint32_t previous = state.Previous;
    const std::uint8_t* previousHere = state.PreviousSource;

    for (;;) {
        if (count < kMaxGrownWidth) {
            // Whole bytes that fit go in; bits above the count are the true
            // low bits of the next byte, so loading it again changes nothing.
            if (end - next < kWord) break;
            std::uint64_t word = 0;
            std::memcpy(&word, next, sizeof word);
            buffer |= word << count;
            next += (63 - count) >> 3;
            count |= 56;
            // The surface is mostly new to the cache, and the processor's own
            // fetching ahead stops at each page: the bytes a little on are
            // asked for, once every few codes. Asking never faults, so the
            // address may pass the surface's end; it is worked out as a
            // number, as a pointer there would not be valid.
            // NOLINTNEXTLINE(performance-no-int-to-ptr)
            __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(here) + kWriteAhead), 1);
        }
        const std::uint32_t code = static_cast<std::uint32_t>(buffer) & maxCode;
        std::uint32_t length = 0;
        std::uint8_t first = 0;
        if (TableFull || code < nextFree) {
            length = table.Length[code];
            const std::uint8_t* const copy = table.Copy[code];
            if (length - 1 < kSpan) {
                if (here >= spanEnd) break;
                if (AnyOrder && reinterpret_cast<std::uintptr_t>(copy) + kSpan > state.SurfaceEnd) {
                    first = *copy;
                    std::memcpy(here, copy, length);
                } else {
                    first = length <= kSpan / 2 ? CopySpan<kSpan / 2>(here, copy) : CopySpan(here, copy);
                }
            } else {
                // Length 0 is the clear or end code; a length with kNoCopy
                // set is above any string's.
                if (length - 1 >= kStackBytes || spanEnd - here < static_cast<std::ptrdiff_t>(length)) break;
                first = *copy;
                CopyEarlierCopy(here, copy, length);
            }
        } else {
            // The code being defined: the previous string and its first byte.
            if (code > nextFree) break;
            const auto previousLength = static_cast<std::uint32_t>(here - previousHere);
            length = previousLength + 1;
            first = *previousHere;
            if (previousLength < kSpan) {
                if (here >= spanEnd) break;
                CopySpan(here, previousHere);
            } else {
                if (spanEnd - here < static_cast<std::ptrdiff_t>(length)) break;
                CopyEarlierCopy(here, previousHere, previousLength);
            }
            here[previousLength] = first;
        }
        buffer >>= codeWidth;
        count -= codeWidth;
        if constexpr (!TableFull) {
            table.Copy[nextFree] = previousHere;
            table.Length[nextFree] = static_cast<std::uint16_t>(here - previousHere + 1);
            table.Prefix[nextFree] = static_cast<std::uint16_t>(previous);
            table.Last[nextFree] = first;
            ++nextFree;
        }
        previousHere = here;
        here += length;
        previous = code;
        // The width grows once the next free slot passes the largest code;
        // at 12 bits that is the slot past the last (a table not full starts
        // below it, so its width is at most 12).
        if (!TableFull && nextFree > maxCode) {
            if (codeWidth == kMaxGrownWidth) break;  // the table is full
            ++codeWidth;
            maxCode = maxCode * 2 + 1;
        }
    }
    state = {{next, end, buffer, count},
             here,
             state.FastEnd,
             nextFree,
             maxCode,
             codeWidth,
             previous,
             previousHere,
             state.SurfaceEnd};
}

using OrdinaryRun = void (*)(CleanState& state, StringTable& table);

template <bool TableFull, bool AnyOrder>
[[gnu::noinline]] void DecodeOrdinaryCodes(CleanState& state, StringTable& table)
{
    DecodeOrdinaryCodesIn<TableFull, AnyOrder>(state, table);
}

#if KORVANE_X86_FEATURES
// The same loop where the processor shifts by any register: with no
// register held for shift counts, more of the loop's state stays in
// registers, and noise and photographs decode a tenth faster.
template <bool TableFull, bool AnyOrder>
[[gnu::noinline, gnu::target(KORVANE_X86_BMI2)]] void DecodeOrdinaryCodesBmi2(CleanState& state, StringTable& table)
{
    DecodeOrdinaryCodesIn<TableFull, AnyOrder>(state, table);
}
#endif

// The loop's fastest build for this processor.
template <bool TableFull, bool AnyOrder>
OrdinaryRun OrdinaryCodes()
{
#if KORVANE_X86_FEATURES
    static const OrdinaryRun run =
        processor::HasBmi2() ? DecodeOrdinaryCodesBmi2<TableFull, AnyOrder> : DecodeOrdinaryCodes<TableFull, AnyOrder>;
    return run;
#else
    return DecodeOrdinaryCodes<TableFull, AnyOrder>;
#endif
}

class Decoder {
public:
    Decoder(const SurfaceRows& rows, bool Interlaced, bool blank, std::uint8_t CodeSize, const CodeReader& reader)
        : m_Table(t_Table),
          m_Reader(reader),
          m_Cursor(rows, Interlaced, blank),
          m_InitialCodeWidth(CodeSize + 1),
          m_ClearCode(std::uint32_t{1} << CodeSize),
          m_CodeWidth(m_InitialCodeWidth),
          m_MaxCode((std::uint32_t{1} << m_InitialCodeWidth) - 1),
          m_NextFree(m_ClearCode + 2),
          m_Stack(t_Stack)
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
    std::uint8_t FirstByte(std::uint32_t code, bool copy) const;
    void InitLiterals();

    StringTable& m_Table;
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
    // it implicitly as the string of m_LastExpanded (none: a stack of one 0).
    // Per thread, as the table is: a frame does not pay for clearing it.
    std::array<std::uint8_t, kStackBytes>& m_Stack;
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
        m_Stack[static_cast<std::size_t>(top++)] = m_Table.Last[code];
        code = m_Table.Prefix[code];
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
            m_Table.Prefix[m_NextFree] = static_cast<std::uint16_t>(m_PreviousCode);
            m_Table.Last[m_NextFree] = m_FirstByte;
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
// The clear and end codes' slots get length 0, which is how the ordinary run
// tells them apart without comparing against the clear code. Slots below the
// clear code are never entered, so literals set up by an earlier frame with
// at least as many stay as they are.
void Decoder::InitLiterals()
{
    for (std::uint32_t c = m_Table.LiteralSlots; c < m_ClearCode; ++c) {
        m_Table.Copy[c] = kLiteralBytes.data() + c;
        m_Table.Length[c] = 1;
    }
    m_Table.LiteralSlots = m_ClearCode;
    m_Table.Length[m_ClearCode] = 0;
    m_Table.Length[m_ClearCode + 1] = 0;
}

// Writes the string of `code` backwards from `last`. With `copy`, the part
// an earlier copy in the surface holds is copied from there.
void Decoder::WriteChain(std::uint8_t* last, std::uint32_t code, bool copy) const
{
    while (code >= m_ClearCode) {
        if (copy && m_Table.HasCopy(code)) {
            const std::uint32_t length = m_Table.Length[code];
            std::memcpy(last - length + 1, m_Table.Copy[code], length);
            return;
        }
        *last-- = m_Table.Last[code];
        code = m_Table.Prefix[code];
    }
    *last = static_cast<std::uint8_t>(code);
}

// The first byte of a clean code's string: from its copy where one is there
// and, with `copy`, still holds it; else at the root of its chain.
std::uint8_t Decoder::FirstByte(std::uint32_t code, bool copy) const
{
    while (code >= m_ClearCode && code < static_cast<std::uint32_t>(kTableSlots)) {
        if (copy && m_Table.HasCopy(code)) return *m_Table.Copy[code];
        code = m_Table.Prefix[code];
    }
    return static_cast<std::uint8_t>(code);
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
    // The loop keeps its state in a local and hands it back at its exits:
    // pixel stores may alias any member, which would otherwise be reloaded
    // after each one. Whole-span stores are made while more than a span and
    // a byte of the row are left before FastEnd: the row's end on a first
    // visit, else the write position.
    CleanState state{m_Reader.Get(), nullptr,        nullptr,          m_NextFree,    m_MaxCode,
                     m_CodeWidth,    m_PreviousCode, m_PreviousSource, m_Cursor.End()};
    const bool anyOrder = m_Cursor.AnyOrder();
    bool afterClear = m_AfterClear;
    const std::uint32_t clearCode = m_ClearCode;
    const auto syncCursor = [this, &state] {
        state.Here = m_Cursor.Here();
        state.FastEnd = state.Here;
        if (m_Cursor.FirstVisit()) {
            m_Cursor.SaveRow();
            state.FastEnd += m_Cursor.RowRoom();
        }
    };
    // A string the ordinary run left, through the cursor; false when
    // decoding ended.
    const auto writeThroughCursor = [&](std::uint32_t head, std::uint32_t headLength, bool withTail,
                                        std::uint8_t tail) {
        m_Cursor.Advance(static_cast<int>(state.Here - m_Cursor.Here()));
        const bool more = WriteClean(head, headLength, withTail, tail);
        state.PreviousSource = m_PreviousSource;
        syncCursor();
        return more;
    };
    syncCursor();
    const auto readCode = [this, &state](std::uint32_t& code) {
        m_Reader.Set(state.Bits);
        const bool read = m_Reader.ReadCode(state.CodeWidth, code);
        state.Bits = m_Reader.Get();
        return read;
    };

    bool handedOver = false;
    std::uint32_t code = 0;
    bool running = true;
    while (running) {
        if (afterClear) {
            // The first code of a segment: a literal, without a slot.
            if (!readCode(code) || code == clearCode + 1) break;
            if (code == clearCode) continue;
            if (code > clearCode) {  // a first code naming a slot reads whatever the table holds
                handedOver = true;
                break;
            }
            afterClear = false;
            state.Previous = code;
            if (!writeThroughCursor(code, 1, false, 0)) break;
        }
        for (;;) {
            if (state.FastEnd - state.Here > kSpan + 1 && state.PreviousSource != nullptr) {
                if (anyOrder) {
                    if (state.NextFree > kLastSlot) {
                        OrdinaryCodes<true, true>()(state, m_Table);
                    } else {
                        OrdinaryCodes<false, true>()(state, m_Table);
                    }
                } else if (state.NextFree > kLastSlot) {
                    OrdinaryCodes<true, false>()(state, m_Table);
                } else {
                    OrdinaryCodes<false, false>()(state, m_Table);
                }
            }
            if (!readCode(code)) {
                running = false;
                break;
            }
            if (code - clearCode <= 1) {
                running = code == clearCode;  // else the end code
                if (running) {
                    if (state.NextFree > clearCode + 2) {  // the previous code was expanded
                        m_HaveExpanded = true;
                        m_LastExpanded = state.Previous;
                    }
                    afterClear = true;
                    state.CodeWidth = m_InitialCodeWidth;
                    state.MaxCode = (std::uint32_t{1} << state.CodeWidth) - 1;
                    state.NextFree = clearCode + 2;
                }
                break;
            }
            // A code above the next free slot is damage: the previous string
            // comes again. So it does for a code naming the slot past a full
            // table.
            if (code > state.NextFree || (code == state.NextFree && state.NextFree > kLastSlot)) {
                handedOver = true;
                running = false;
                break;
            }
            // The code being defined is the previous string and its first byte.
            const bool define = code == state.NextFree;
            const std::uint32_t headCode = define ? state.Previous : code;
            const std::uint8_t first = FirstByte(headCode, m_Cursor.FirstVisit());
            const std::uint8_t* const prefixSource = state.PreviousSource;
            if (!writeThroughCursor(headCode, m_Table.LengthOf(headCode), define, first)) {
                running = false;
                break;
            }
            if (state.NextFree <= kLastSlot) {
                m_Table.Add(state.NextFree, state.Previous, first, prefixSource);
                ++state.NextFree;
            }
            if (state.NextFree > state.MaxCode && state.CodeWidth < kMaxGrownWidth) {
                ++state.CodeWidth;
                state.MaxCode = (std::uint32_t{1} << state.CodeWidth) - 1;
            }
            state.Previous = code;
        }
    }
    if (!afterClear && state.NextFree > clearCode + 2) {
        m_HaveExpanded = true;
        m_LastExpanded = state.Previous;
    }
    m_Cursor.Advance(static_cast<int>(state.Here - m_Cursor.Here()));
    m_Reader.Set(state.Bits);
    m_NextFree = state.NextFree;
    m_MaxCode = state.MaxCode;
    m_CodeWidth = state.CodeWidth;
    m_PreviousCode = state.Previous;
    m_FirstByte = FirstByte(state.Previous, m_Cursor.FirstVisit());
    m_PreviousSource = state.PreviousSource;
    m_AfterClear = afterClear;
    pending = code;
    return handedOver;
}

// Frames of up to this many pixels whose rows are not one run in memory
// (padded or interlaced) are decoded as one run, and their rows put in place
// after: strings then never meet a row's end. In larger frames that is rare
// anyway.
constexpr std::int64_t kGatherPixels = std::int64_t{1} << 18;
// Interlaced frames are decoded here, as their rows come out of order.
thread_local std::vector<std::uint8_t> t_Run;

// Decodes `pixels` pixels as one run at `run`, and zeroes those the data
// never reached.
std::int64_t DecodeRun(std::uint8_t* run, std::size_t pixels, bool Interlaced, std::uint8_t CodeSize,
                       SubBlockFeed& feed)
{
    const SurfaceRows one{run, static_cast<std::ptrdiff_t>(pixels), static_cast<std::int32_t>(pixels), 1};
    Decoder decoder(one, Interlaced, true, CodeSize, CodeReader(feed));
    decoder.Run();
    const auto written = static_cast<std::size_t>(decoder.Written());
    std::memset(run + written, 0, pixels - written);
    return decoder.Written();
}

// Moves each row of the run at the surface's start to its own row and zeroes
// its padding. Rows only move on, each past where the one before it stood, so
// they are moved from the last.
void SpreadRows(const SurfaceRows& rows)
{
    const auto width = static_cast<std::size_t>(rows.Width);
    const auto stride = static_cast<std::size_t>(rows.BytesPerScanline);
    for (auto y = static_cast<std::size_t>(rows.Height); y-- > 0;) {
        std::uint8_t* row = rows.Bits + y * stride;
        std::memmove(row, rows.Bits + y * width, width);
        std::memset(row + width, 0, stride - width);
    }
}

// Puts every row of `run`, in the order the passes visit them, into the
// surface's rows, and zeroes their padding. The surface is new to the cache
// more often than not (an earlier document's blocks, long untouched), so the
// rows a few on are asked for early.
void PlaceInterlacedRows(const std::uint8_t* run, const SurfaceRows& rows)
{
    constexpr std::array<std::int32_t, 4> kStart{0, 4, 2, 1};
    constexpr std::array<std::int32_t, 4> kStep{8, 8, 4, 2};
    constexpr std::ptrdiff_t kRowsAhead = 16;
    const auto width = static_cast<std::size_t>(rows.Width);
    const auto lastWord = static_cast<std::size_t>(rows.BytesPerScanline) - 4;
    const std::ptrdiff_t lastByte = rows.BytesPerScanline * rows.Height - 1;
    for (std::size_t pass = 0; pass < kStart.size(); ++pass) {
        const std::int32_t step = kStep[pass];
        for (std::int32_t y = kStart[pass]; y < rows.Height; y += step) {
            std::uint8_t* row = rows.Bits + y * rows.BytesPerScanline;
            __builtin_prefetch(rows.Bits + std::min((y + kRowsAhead * step) * rows.BytesPerScanline, lastByte), 1);
            // Padding is less than a word: the row's last word is zeroed, and
            // the pixels then overwrite their part of it.
            std::memset(row + lastWord, 0, 4);
            std::memcpy(row, run, width);
            run += width;
        }
    }
}

// Zeroes what decoding straight into the surface did not write: the padding
// of the rows it completed and everything after its last pixel.
void ZeroUnwritten(const SurfaceRows& rows, std::int64_t written)
{
    const auto width = static_cast<std::size_t>(rows.Width);
    const auto stride = static_cast<std::size_t>(rows.BytesPerScanline);
    const auto full = static_cast<std::size_t>(written) / width;
    if (stride > width) {
        for (std::size_t y = 0; y < full; ++y)
            std::memset(rows.Bits + y * stride + width, 0, stride - width);
    }
    const std::size_t end = stride * static_cast<std::size_t>(rows.Height);
    const std::size_t from = std::min(end, full * stride + static_cast<std::size_t>(written) % width);
    gdi::ZeroPixels(rows.Bits + from, end - from);
}

// Padded or interlaced frames of up to kGatherPixels.
bool Gathers(const SurfaceRows& rows, bool Interlaced)
{
    const std::int64_t pixels = std::int64_t{rows.Width} * rows.Height;
    return (Interlaced || rows.BytesPerScanline != rows.Width) && pixels > 1 && pixels <= kGatherPixels;
}

// Decodes into one run, then places every row: pixels the data never reached
// are zero. A frame in row order is decoded at the start of its own surface,
// which it is about to fill anyway: its rows are then moved while they are
// still in the cache.
std::int64_t DecodeGathered(const SurfaceRows& rows, bool Interlaced, std::uint8_t CodeSize, SubBlockFeed& feed)
{
    const auto pixels = static_cast<std::size_t>(rows.Width) * static_cast<std::size_t>(rows.Height);
    if (!Interlaced) {
        const std::int64_t written = DecodeRun(rows.Bits, pixels, false, CodeSize, feed);
        SpreadRows(rows);
        return written;
    }
    // Only grown: what a frame leaves unwritten is zeroed, so the run need
    // not be cleared for each frame.
    if (t_Run.size() < pixels) t_Run.resize(pixels);
    const std::int64_t written = DecodeRun(t_Run.data(), pixels, true, CodeSize, feed);
    PlaceInterlacedRows(t_Run.data(), rows);
    return written;
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

bool SetsEveryByte(std::int32_t width, std::int32_t height, bool Interlaced)
{
    // Large interlaced frames are decoded into their rows out of memory
    // order, where what was not written is not one stretch to zero.
    return !Interlaced || std::int64_t{width} * height <= kGatherPixels;
}

std::int64_t DecodeToDIB(FrameRecord& frame, bool Interlaced, std::uint8_t CodeSize,
                         std::span<const std::uint8_t> stream, std::size_t first)
{
    if (!frame.DIBXOR || frame.DIBXOR->bpp() != 8) return 0;
    const SurfaceRows rows = MapSurfaceRows(frame);
    // Such a surface was not cleared: whatever is not written is zeroed here.
    const bool setsEveryByte = SetsEveryByte(rows.Width, rows.Height, Interlaced);
    try {
        if (CodeSize > kMaxCodeSize) throw std::overflow_error("LZW minimum code size above 30");
        SubBlockFeed feed(stream, first);
        if (Gathers(rows, Interlaced)) return DecodeGathered(rows, Interlaced, CodeSize, feed);
        Decoder decoder(rows, Interlaced, true, CodeSize, CodeReader(feed));
        decoder.Run();
        if (setsEveryByte) ZeroUnwritten(rows, decoder.Written());
        return decoder.Written();
    } catch (...) {
        if (setsEveryByte) ZeroUnwritten(rows, 0);
        throw;
    }
}

}  // namespace korvane::imaging::mGIFLZWDec
