#include "tests/support/LzwReference.h"

#include <stdexcept>

namespace korvane::test_support {

namespace {

// Ends the reference decode where the rules say decoding stops quietly.
struct Stop {};

}  // namespace

void ReferenceDecoder::Decode(const ReferenceSurface& s, bool interlaced, std::uint8_t codeSize,
                              const std::vector<std::uint8_t>& data)
{
    int rowStep[4] = {1, 1, 1, 1};
    int rowStart[4] = {0, 0, 0, 0};
    if (interlaced) {
        rowStep[0] = 8, rowStep[1] = 8, rowStep[2] = 4, rowStep[3] = 2;
        rowStart[0] = 0, rowStart[1] = 4, rowStart[2] = 2, rowStart[3] = 1;
    }
    const std::int64_t clearCode = std::int64_t{1} << codeSize;
    const int initialWidth = codeSize + 1;
    int codeWidth = initialWidth;
    std::int64_t maxCode = (std::int64_t{1} << initialWidth) - 1;
    std::size_t bytePos = 0;
    std::uint64_t bitBuffer = 0;
    int bitCount = 0;
    int pass = 0;
    int x = 0;
    int y = 0;

    const auto readCode = [&]() -> std::int64_t {
        while (bitCount < codeWidth) {
            if (bytePos >= data.size()) throw Stop{};
            bitBuffer |= static_cast<std::uint64_t>(data[bytePos++]) << bitCount;
            bitCount += 8;
        }
        const std::int64_t code = static_cast<std::int64_t>(bitBuffer & ((std::uint64_t{1} << codeWidth) - 1));
        bitBuffer >>= codeWidth;
        bitCount -= codeWidth;
        return code;
    };
    const auto put = [&](std::uint8_t b) {
        s.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.stride) + static_cast<std::size_t>(x)] = b;
        if (++x == s.width) {
            x = 0;
            y += rowStep[pass];
            // Passes without rows (frames of fewer than five) are skipped.
            while (y > s.height - 1) {
                if (++pass == 4) throw Stop{};
                y = rowStart[pass];
            }
        }
    };
    std::array<std::uint8_t, 4097> stack{};
    const auto expand = [&](int top, std::int64_t code) {
        while (code >= clearCode) {
            if (code > 4096 || top > 4096) throw Stop{};
            stack[static_cast<std::size_t>(top++)] = m_Suffix[static_cast<std::size_t>(code)];
            code = m_Prefix[static_cast<std::size_t>(code)];
        }
        if (top > 4096 || code > 255) throw Stop{};
        stack[static_cast<std::size_t>(top)] = static_cast<std::uint8_t>(code);
        return top;
    };

    try {
        std::int64_t nextFree = clearCode + 2;
        bool afterClear = true;
        int top = 0;
        std::int64_t previous = 0;
        std::uint8_t first = 0;
        for (;;) {
            const std::int64_t code = readCode();
            if (code == clearCode + 1) return;
            if (code == clearCode) {
                afterClear = true;
                codeWidth = initialWidth;
                maxCode = (std::int64_t{1} << codeWidth) - 1;
                nextFree = clearCode + 2;
            } else if (afterClear) {
                afterClear = false;
                previous = code;
                if (code > 255) return;
                first = static_cast<std::uint8_t>(code);
                put(first);
            } else {
                if (code < nextFree) {
                    top = expand(0, code);
                } else if (code == nextFree) {
                    stack[0] = first;
                    top = expand(1, previous);
                }
                first = stack[static_cast<std::size_t>(top)];
                for (int i = top; i >= 0; --i)
                    put(stack[static_cast<std::size_t>(i)]);
                // Slot 4096 is never filled; a slot past it ends decoding.
                if (nextFree <= 4095) {
                    m_Prefix[static_cast<std::size_t>(nextFree)] = static_cast<std::int32_t>(previous);
                    m_Suffix[static_cast<std::size_t>(nextFree)] = first;
                    ++nextFree;
                } else if (nextFree > 4096) {
                    throw Stop{};
                }
                if (nextFree > maxCode && codeWidth < 12) {
                    ++codeWidth;
                    maxCode = (std::int64_t{1} << codeWidth) - 1;
                }
                previous = code;
            }
        }
    } catch (const Stop&) {
    }
}

std::vector<std::uint8_t> ReferenceEncode(const ReferenceSurface& s, int initBits, bool interlaced, ProbeEnd probeEnd)
{
    std::vector<std::uint8_t> out;
    std::int64_t pixelsLeft = static_cast<std::int64_t>(s.width) * s.height;
    int curX = 0;
    int curY = 0;
    int pass = 0;
    const auto nextPixel = [&]() -> int {
        if (pixelsLeft == 0) return -1;
        const int b = s.bits[static_cast<std::size_t>(curY) * static_cast<std::size_t>(s.stride) +
                             static_cast<std::size_t>(curX)];
        if (++curX == s.width) {
            curX = 0;
            if (!interlaced) {
                ++curY;
            } else {
                // Passes without rows (frames of fewer than five) are skipped.
                constexpr int start[] = {0, 4, 2, 1};
                constexpr int step[] = {8, 8, 4, 2};
                curY += step[pass];
                while (curY >= s.height && pass < 3)
                    curY = start[++pass];
            }
        }
        --pixelsLeft;
        return b;
    };
    std::int64_t masks[17];
    masks[0] = 0;
    for (int k = 1; k <= 16; ++k)
        masks[k] = masks[k - 1] * 2 + 1;

    std::vector<std::int64_t> hashTable(5003, -1);
    std::vector<std::int64_t> codeTable(5003, 0);
    int codeWidth = initBits;
    std::int64_t maxCode = masks[codeWidth];
    const std::int64_t clearCode = std::int64_t{1} << (initBits - 1);
    const std::int64_t endCode = clearCode + 1;
    std::int64_t freeCode = clearCode + 2;
    bool clearFlag = false;
    std::int64_t bitBuffer = 0;
    int bitCount = 0;
    std::vector<std::uint8_t> packet;
    const auto flushPacket = [&] {
        if (packet.empty()) return;
        out.push_back(static_cast<std::uint8_t>(packet.size()));
        out.insert(out.end(), packet.begin(), packet.end());
        packet.clear();
    };
    const auto packetByte = [&](std::int64_t b) {
        packet.push_back(static_cast<std::uint8_t>(b));
        if (packet.size() == 254) flushPacket();
    };
    const auto outputCode = [&](std::int64_t code) {
        if (bitCount < 0) throw std::out_of_range("mask index below 0");
        bitBuffer &= masks[bitCount];
        bitBuffer = bitCount > 0 ? bitBuffer | (code * (masks[bitCount] + 1)) : code;
        bitCount += codeWidth;
        while (bitCount >= 8) {
            packetByte(bitBuffer & 255);
            bitBuffer /= 256;
            bitCount -= 8;
        }
        if (clearFlag) {
            codeWidth = initBits;
            maxCode = masks[codeWidth];
            clearFlag = false;
        } else if (freeCode > maxCode) {
            ++codeWidth;
            maxCode = codeWidth == 12 ? 4096 : masks[codeWidth];
        }
        if (code == endCode) {
            while (bitCount > 0) {
                packetByte(bitBuffer & 255);
                bitBuffer /= 256;
                bitCount -= 8;
            }
            flushPacket();
        }
    };
    const auto clearHash = [&] { std::fill(hashTable.begin(), hashTable.end(), -1); };

    clearHash();
    outputCode(clearCode);
    std::int64_t ent = nextPixel();
    for (int c = nextPixel(); c != -1; c = nextPixel()) {
        const std::int64_t key = static_cast<std::int64_t>(c) * 4096 + ent;
        std::int64_t i = (static_cast<std::int64_t>(c) * 16) ^ ent;
        bool found = false;
        if (hashTable[static_cast<std::size_t>(i)] == key) {
            found = true;
        } else if (hashTable[static_cast<std::size_t>(i)] >= 0) {
            const std::int64_t d = i == 0 ? 1 : 5003 - i;
            for (;;) {
                i -= d;
                if (i < 0) i += 5003;
                if (hashTable[static_cast<std::size_t>(i)] == key) {
                    found = true;
                    break;
                }
                const std::int64_t empty = probeEnd == ProbeEnd::AtKeyZero ? 0 : -1;
                if (hashTable[static_cast<std::size_t>(i)] <= empty) break;
            }
        }
        if (found) {
            ent = codeTable[static_cast<std::size_t>(i)];
            continue;
        }
        outputCode(ent);
        ent = c;
        if (freeCode < 4096) {
            codeTable[static_cast<std::size_t>(i)] = freeCode++;
            hashTable[static_cast<std::size_t>(i)] = key;
        } else {
            clearHash();
            freeCode = clearCode + 2;
            clearFlag = true;
            outputCode(clearCode);
        }
    }
    outputCode(ent);
    outputCode(endCode);
    return out;
}

}  // namespace korvane::test_support
