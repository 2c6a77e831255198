// Builds GIF streams field by field for the tests, independent of the
// writer under test, and an "uncompressed" LZW encoding (literal codes with a
// clear code before the width would grow) that any decoder reads.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace korvane::test_support {

using Bytes = std::vector<std::uint8_t>;

class GifBytes {
public:
    GifBytes& Header(const char* version = "89a");
    // Logical screen descriptor: width, height, packed, background, aspect.
    GifBytes& Screen(std::uint16_t width, std::uint16_t height, std::uint8_t packed, std::uint8_t background = 0,
                     std::uint8_t aspect = 0);
    // A colour table: each entry 0xRRGGBB as three stream bytes red, green, blue.
    GifBytes& Table(std::initializer_list<std::uint32_t> colours);
    GifBytes& Table(const std::vector<std::uint32_t>& colours);
    // 0x21 0xF9 0x04 packed delay(2) transparent 0x00.
    GifBytes& GraphicControl(std::uint8_t packed, std::uint16_t delay = 0, std::uint8_t transparent = 0);
    // 0x21 0xFF 0x0B identifier(11) then the sub-blocks given, then 0x00.
    GifBytes& Application(const std::string& identifier, const Bytes& subBlocks);
    GifBytes& Netscape(std::uint16_t loops);
    // 0x21 label, the data cut into sub-blocks, 0x00.
    GifBytes& Extension(std::uint8_t label, const Bytes& data);
    // 0x2C left top width height packed.
    GifBytes& Image(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                    std::uint8_t packed = 0);
    // Code size byte, the data in sub-blocks of up to 255 bytes, 0x00.
    GifBytes& ImageData(std::uint8_t codeSize, const Bytes& lzw);
    // Code size byte and LiteralLzw of the indices in stored order.
    GifBytes& Pixels(std::uint8_t codeSize, std::span<const std::uint8_t> indices);
    GifBytes& Raw(std::initializer_list<std::uint8_t> bytes);
    GifBytes& Trailer();

    const Bytes& bytes() const { return m_Bytes; }
    operator const Bytes&() const { return m_Bytes; }

private:
    void Put16(std::uint16_t v);
    void SubBlocks(const Bytes& data);
    Bytes m_Bytes;
};

// LZW data that codes every index as a literal, sending a clear code before
// the code width would grow, then the end code.
Bytes LiteralLzw(std::span<const std::uint8_t> indices, std::uint8_t codeSize);

}  // namespace korvane::test_support
