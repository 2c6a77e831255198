#include "tests/support/GifBytes.h"

#include <algorithm>

namespace korvane::test_support {

GifBytes& GifBytes::Header(const char* version)
{
    m_Bytes.insert(m_Bytes.end(), {'G', 'I', 'F'});
    m_Bytes.insert(m_Bytes.end(), version, version + 3);
    return *this;
}

GifBytes& GifBytes::Screen(std::uint16_t width, std::uint16_t height, std::uint8_t packed, std::uint8_t background,
                           std::uint8_t aspect)
{
    Put16(width);
    Put16(height);
    m_Bytes.insert(m_Bytes.end(), {packed, background, aspect});
    return *this;
}

GifBytes& GifBytes::Table(std::initializer_list<std::uint32_t> colours)
{
    return Table(std::vector(colours));
}

GifBytes& GifBytes::Table(const std::vector<std::uint32_t>& colours)
{
    for (std::uint32_t c : colours) {
        m_Bytes.insert(m_Bytes.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                       static_cast<std::uint8_t>(c)});
    }
    return *this;
}

GifBytes& GifBytes::GraphicControl(std::uint8_t packed, std::uint16_t delay, std::uint8_t transparent)
{
    m_Bytes.insert(m_Bytes.end(), {0x21, 0xF9, 0x04, packed});
    Put16(delay);
    m_Bytes.insert(m_Bytes.end(), {transparent, 0x00});
    return *this;
}

GifBytes& GifBytes::Application(const std::string& identifier, const Bytes& subBlocks)
{
    m_Bytes.insert(m_Bytes.end(), {0x21, 0xFF, 0x0B});
    m_Bytes.insert(m_Bytes.end(), identifier.begin(), identifier.end());
    m_Bytes.insert(m_Bytes.end(), subBlocks.begin(), subBlocks.end());
    m_Bytes.push_back(0x00);
    return *this;
}

GifBytes& GifBytes::Netscape(std::uint16_t loops)
{
    return Application("NETSCAPE2.0",
                       {0x03, 0x01, static_cast<std::uint8_t>(loops & 0xFF), static_cast<std::uint8_t>(loops >> 8)});
}

GifBytes& GifBytes::Extension(std::uint8_t label, const Bytes& data)
{
    m_Bytes.insert(m_Bytes.end(), {0x21, label});
    SubBlocks(data);
    return *this;
}

GifBytes& GifBytes::Image(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                          std::uint8_t packed)
{
    m_Bytes.push_back(0x2C);
    Put16(left);
    Put16(top);
    Put16(width);
    Put16(height);
    m_Bytes.push_back(packed);
    return *this;
}

GifBytes& GifBytes::ImageData(std::uint8_t codeSize, const Bytes& lzw)
{
    m_Bytes.push_back(codeSize);
    SubBlocks(lzw);
    return *this;
}

GifBytes& GifBytes::Pixels(std::uint8_t codeSize, std::span<const std::uint8_t> indices)
{
    return ImageData(codeSize, LiteralLzw(indices, codeSize));
}

GifBytes& GifBytes::Raw(std::initializer_list<std::uint8_t> bytes)
{
    m_Bytes.insert(m_Bytes.end(), bytes);
    return *this;
}

GifBytes& GifBytes::Trailer()
{
    m_Bytes.push_back(0x3B);
    return *this;
}

void GifBytes::Put16(std::uint16_t v)
{
    m_Bytes.insert(m_Bytes.end(), {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)});
}

void GifBytes::SubBlocks(const Bytes& data)
{
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        m_Bytes.push_back(static_cast<std::uint8_t>(n));
        m_Bytes.insert(m_Bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    m_Bytes.push_back(0x00);
}

namespace {

class CodeWriter {
public:
    explicit CodeWriter(int width) : m_Width(width) {}
    void Put(unsigned code)
    {
        m_Bits |= static_cast<std::uint64_t>(code) << m_Count;
        m_Count += m_Width;
        while (m_Count >= 8) {
            m_Out.push_back(static_cast<std::uint8_t>(m_Bits & 0xFF));
            m_Bits >>= 8;
            m_Count -= 8;
        }
    }
    Bytes Finish()
    {
        if (m_Count > 0) m_Out.push_back(static_cast<std::uint8_t>(m_Bits & 0xFF));
        return m_Out;
    }

private:
    int m_Width;
    std::uint64_t m_Bits = 0;
    int m_Count = 0;
    Bytes m_Out;
};

}  // namespace

Bytes LiteralLzw(std::span<const std::uint8_t> indices, std::uint8_t codeSize)
{
    const unsigned clear = 1U << codeSize;
    // After a clear the first literal adds no string; each later one adds one.
    // Stopping at clear - 2 literals keeps the next free code at the last one
    // the initial width can carry.
    const std::size_t perClear = clear - 2;
    CodeWriter writer(codeSize + 1);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % perClear == 0) writer.Put(clear);
        writer.Put(indices[i]);
    }
    writer.Put(clear + 1);
    return writer.Finish();
}

}  // namespace korvane::test_support
