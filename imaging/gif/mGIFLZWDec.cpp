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

// Byte n at index n, so a literal's string can be copied like any other.
constexpr std::array<std::uint8_t, 256 + kWord> kLiteralBytes = [] {
    std::array<std::uint8_t, 256 + kWord> bytes{};
    for (std::size_t i = 0; i < 256; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}();

// The string table outlives a frame: damaged data can reach slots the current
// frame never wrote, and those must read what earlier frames left there. It is
// per thread so that documents on different threads never share it.
struct StringTable {
    std::array<std::uint16_t, kTableSlots> Prefix{};
    std::array<std::uint8_t, kTableSlots> Suffix{};
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

// Codes packed lowest bit first. A code fails to read only when the data ends
// before all its bits are there, exactly as a byte-at-a-time reader would.
class CodeReader {
public:
    explicit CodeReader(std::span<const std::uint8_t> data) : m_Next(data.data()), m_End(data.data() + data.size()) {}

    bool ReadCode(int CodeWidth, std::uint32_t& code)
    {
        if (m_BitCount < CodeWidth && !Refill(CodeWidth)) return false;
        code = static_cast<std::uint32_t>(m_BitBuffer) & ((std::uint32_t{1} << CodeWidth) - 1);
        m_BitBuffer >>= CodeWidth;
        m_BitCount -= CodeWidth;
        return true;
    }

private:
    bool Refill(int CodeWidth)
    {
        if (m_End - m_Next >= 8) {
            // Whole bytes that fit go in; bits above m_BitCount are the true low
            // bits of the next byte, so loading it again later changes nothing.
            std::uint64_t word;
            std::memcpy(&word, m_Next, sizeof word);
            m_BitBuffer |= word << m_BitCount;
            const int bytes = (63 - m_BitCount) >> 3;
            m_Next += bytes;
            m_BitCount += bytes * 8;
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
    std::uint64_t m_BitBuffer = 0;
    int m_BitCount = 0;
};

// Places pixels in row order, or in the four interlace passes. Every call
// that completes the last row of the last pass returns false: decoding ends.
class PixelCursor {
public:
    PixelCursor(const SurfaceRows& rows, bool Interlaced)
        : m_Rows(rows), m_Row(rows.Bits), m_Interlaced(Interlaced), m_Original(static_cast<std::size_t>(rows.Width))
    {
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

    bool NextRow()
    {
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
        std::memcpy(m_Row + m_X, m_Original.data() + m_X, static_cast<std::size_t>(n));
    }
    bool RowSaved() const { return m_RowSaved; }
    // Keeps the row as it was before the first whole-word copy into it.
    void SaveRow()
    {
        if (m_RowSaved) return;
        std::memcpy(m_Original.data(), m_Row, m_Original.size());
        m_RowSaved = true;
    }
    // One past the surface's last byte. (The last place a whole word may be
    // read from would lie before the surface when it holds fewer than eight
    // bytes, so it is never formed.)
    const std::uint8_t* End() const { return m_Rows.Bits + m_Rows.BytesPerScanline * m_Rows.Height; }

private:
    SurfaceRows m_Rows;
    std::array<int, 4> m_RowStep{1, 1, 1, 1};
    std::array<int, 4> m_RowStart{0, 0, 0, 0};
    std::uint8_t* m_Row;
    int m_X = 0;
    int m_Y = 0;
    int m_Pass = 0;
    const bool m_Interlaced;
    bool m_FirstVisit = true;
    bool m_RowSaved = false;
    std::vector<std::uint8_t> m_Original;  // the current row as it was
};

// Copies n >= 2 bytes between regions that do not overlap, without a call
// for the short strings that make up most of a picture.
inline void CopyString(std::uint8_t* to, const std::uint8_t* from, int n)
{
    if (n >= 16) {
        std::memcpy(to, from, static_cast<std::size_t>(n));
    } else if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
        std::memcpy(to, from, 2);
        std::memcpy(to + n - 2, from + n - 2, 2);
    }
}

class Decoder {
public:
    Decoder(const SurfaceRows& rows, bool Interlaced, std::uint8_t CodeSize, std::span<const std::uint8_t> data)
        : m_Table(t_Table),
          m_Reader(data),
          m_Cursor(rows, Interlaced),
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
        // take the described loop throughout.
        if (m_ClearCode > 256) {
            DecodeCodes(nullptr);
            return;
        }
        std::uint32_t pending = 0;
        if (DecodeClean(pending)) DecodeCodes(&pending);
    }

private:
    // The described decoding loop, used for unusual code sizes and once the
    // data stops being clean; `pending` is a code already read by DecodeClean.
    void DecodeCodes(const std::uint32_t* pending);
    // The string of `code` into stack from `top` upward, last byte first;
    // false when the chain is too long, leaves the table or ends in a value
    // that is no byte.
    bool ExpandCode(int& top, std::uint32_t code);
    void Clear();

    // The fast loop for well-formed data: every string is built from literals
    // and slots of the same segment, so each slot's length, first byte and an
    // earlier copy of it in the surface are known. Returns true with `pending`
    // set when it meets a code it leaves to DecodeCodes, false when decoding
    // ended.
    bool DecodeClean(std::uint32_t& pending);
    bool DecodeCleanCodes(std::uint32_t& pending);
    bool WriteClean(std::uint32_t head, int headLength, bool withTail, std::uint8_t tail);
    void WriteChain(std::uint8_t* last, std::uint32_t code, bool copy) const;
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

    // Described state of the string stack; DecodeClean keeps it implicitly
    // as the string of m_LastExpanded (none: the stack still all zero).
    std::array<std::uint8_t, kStackBytes> m_Stack{};
    int m_StackTop = 0;
    bool m_HaveExpanded = false;
    std::uint32_t m_LastExpanded = 0;

    // Facts of the clean slots: string length, first byte and an earlier copy
    // of the string in the surface (null when that copy was split across
    // rows, or when a whole word read there would leave the surface).
    std::array<std::uint16_t, kTableSlots> m_Length;
    std::array<std::uint8_t, kTableSlots> m_First;
    std::array<const std::uint8_t*, kTableSlots> m_Source;
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
        m_Stack[static_cast<std::size_t>(top++)] = m_Table.Suffix[code];
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
            m_Table.Suffix[m_NextFree] = m_FirstByte;
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

void Decoder::InitLiterals()
{
    for (std::uint32_t c = 0; c < m_ClearCode; ++c) {
        m_Length[c] = 1;
        m_First[c] = static_cast<std::uint8_t>(c);
        m_Source[c] = &kLiteralBytes[c];
    }
}

// Writes the string of `code` backwards from `last`; with `copy`, the part
// that an earlier copy in the surface holds is copied from there.
void Decoder::WriteChain(std::uint8_t* last, std::uint32_t code, bool copy) const
{
    while (code >= m_ClearCode) {
        const std::uint8_t* source = m_Source[code];
        if (copy && source != nullptr) {
            const int length = m_Length[code];
            std::memcpy(last - length + 1, source, static_cast<std::size_t>(length));
            return;
        }
        *last-- = m_Table.Suffix[code];
        code = m_Table.Prefix[code];
    }
    *last = static_cast<std::uint8_t>(code);
}

// Writes the string of `head`, followed by `tail` when asked, and notes where
// it stands for the slot the next code adds. False when decoding ended.
bool Decoder::WriteClean(std::uint32_t head, int headLength, bool withTail, std::uint8_t tail)
{
    const int length = headLength + (withTail ? 1 : 0);
    const std::uint8_t* source = m_Source[head];
    const bool copy = source != nullptr && m_Cursor.FirstVisit();
    if (length < m_Cursor.RowRoom()) {
        std::uint8_t* to = m_Cursor.Here();
        if (headLength == 1) {
            *to = static_cast<std::uint8_t>(head);
        } else if (copy) {
            CopyString(to, source, headLength);
        } else {
            WriteChain(to + headLength - 1, head, m_Cursor.FirstVisit());
        }
        if (withTail) to[headLength] = tail;
        m_Cursor.Advance(length);
        m_PreviousSource = to;
        return true;
    }
    // The string reaches the end of the row: assemble it, then place it.
    if (copy) {
        std::memcpy(m_Stack.data(), source, static_cast<std::size_t>(headLength));
    } else {
        WriteChain(m_Stack.data() + headLength - 1, head, m_Cursor.FirstVisit());
    }
    if (withTail) m_Stack[static_cast<std::size_t>(headLength)] = tail;
    m_PreviousSource = nullptr;
    return m_Cursor.Emit(m_Stack.data(), length);
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
    // The loop keeps its state in locals and hands it back at its exits:
    // pixel stores may alias any member, which would otherwise be reloaded
    // after each one.
    CodeReader reader = m_Reader;
    std::uint32_t nextFree = m_NextFree;
    std::uint32_t maxCode = m_MaxCode;
    int codeWidth = m_CodeWidth;
    std::uint32_t previous = m_PreviousCode;
    std::uint8_t firstByte = m_FirstByte;
    const std::uint8_t* previousSource = m_PreviousSource;
    bool afterClear = m_AfterClear;
    bool expanded = m_HaveExpanded;
    std::uint32_t lastExpanded = m_LastExpanded;
    const std::uint32_t clearCode = m_ClearCode;
    std::uint16_t* const prefixes = m_Table.Prefix.data();
    std::uint8_t* const suffixes = m_Table.Suffix.data();
    std::uint16_t* const lengths = m_Length.data();
    std::uint8_t* const firsts = m_First.data();
    const std::uint8_t** const sources = m_Source.data();
    std::uint8_t* here = m_Cursor.Here();
    std::uint8_t* rowEnd = here + m_Cursor.RowRoom();
    bool wordCopies = m_Cursor.FirstVisit();
    bool rowSaved = false;
    const std::uint8_t* const surfaceEnd = m_Cursor.End();

    // Hands the cursor and the string state to WriteClean and back.
    const auto writeSlow = [&](std::uint32_t head, int headLength, bool withTail) {
        m_Cursor.Advance(static_cast<int>(here - m_Cursor.Here()));
        m_PreviousSource = previousSource;
        const bool more = WriteClean(head, headLength, withTail, firstByte);
        previousSource = m_PreviousSource;
        here = m_Cursor.Here();
        rowEnd = here + m_Cursor.RowRoom();
        wordCopies = m_Cursor.FirstVisit();
        rowSaved = m_Cursor.RowSaved();
        return more;
    };

    bool handedOver = false;
    std::uint32_t code = 0;
    for (;;) {
        if (!reader.ReadCode(codeWidth, code) || code == clearCode + 1) break;
        if (code == clearCode) {
            afterClear = true;
            codeWidth = m_InitialCodeWidth;
            maxCode = (std::uint32_t{1} << codeWidth) - 1;
            nextFree = clearCode + 2;
            continue;
        }
        if (afterClear) {
            // A first code that names a slot reads whatever the table holds.
            if (code > clearCode) {
                handedOver = true;
                break;
            }
            afterClear = false;
            previous = code;
            firstByte = static_cast<std::uint8_t>(code);
            if (!writeSlow(code, 1, false)) break;
            continue;
        }
        if (code > nextFree) {  // damaged: the previous string comes again
            handedOver = true;
            break;
        }
        // The code being defined is the previous string and its first byte.
        const bool define = code == nextFree;
        const std::uint32_t head = define ? previous : code;
        const int headLength = lengths[head];
        const std::uint8_t* source = sources[head];
        const std::uint8_t* prefixSource = previousSource;
        firstByte = firsts[head];
        if (headLength <= kWord && source != nullptr && rowEnd - here > kWord + 1 && wordCopies) {
            // Most strings are short: one word copied, whatever the length;
            // the bytes past the string are rewritten by the strings that
            // follow, or put back by RestoreAhead.
            if (!rowSaved) {
                m_Cursor.SaveRow();
                rowSaved = true;
            }
            std::uint64_t word;
            std::memcpy(&word, source, kWord);
            std::memcpy(here, &word, kWord);
            if (define) here[headLength] = firstByte;
            previousSource = here;
            here += headLength + (define ? 1 : 0);
        } else if (!writeSlow(head, headLength, define)) {
            break;
        }
        // The slot the string defines: the previous string, which stands at
        // prefixSource, followed by this string's first byte.
        if (nextFree <= kLastSlot) {
            prefixes[nextFree] = static_cast<std::uint16_t>(previous);
            suffixes[nextFree] = firstByte;
            lengths[nextFree] = static_cast<std::uint16_t>(lengths[previous] + 1);
            firsts[nextFree] = firsts[previous];
            sources[nextFree] = prefixSource != nullptr && surfaceEnd - prefixSource >= kWord ? prefixSource : nullptr;
            ++nextFree;
        }
        if (nextFree > maxCode && codeWidth < kMaxGrownWidth) {
            ++codeWidth;
            maxCode = (std::uint32_t{1} << codeWidth) - 1;
        }
        previous = code;
        expanded = true;
        lastExpanded = code;
    }
    m_Cursor.Advance(static_cast<int>(here - m_Cursor.Here()));
    m_Reader = reader;
    m_NextFree = nextFree;
    m_MaxCode = maxCode;
    m_CodeWidth = codeWidth;
    m_PreviousCode = previous;
    m_FirstByte = firstByte;
    m_PreviousSource = previousSource;
    m_AfterClear = afterClear;
    m_HaveExpanded = expanded;
    m_LastExpanded = lastExpanded;
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
    Decoder decoder(MapSurfaceRows(frame), Interlaced, CodeSize, data);
    decoder.Run();
}

}  // namespace korvane::imaging::mGIFLZWDec
