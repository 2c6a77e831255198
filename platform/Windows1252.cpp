#include "platform/Windows1252.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <stdexcept>

namespace korvane::platform {
namespace {

constexpr const char* kCodePage = "WINDOWS-1252";

// Owns one iconv conversion descriptor.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        // iconv_open reports failure as the descriptor (iconv_t)-1.
        if (reinterpret_cast<std::intptr_t>(cd_) == -1) throw std::runtime_error("iconv cannot convert Windows-1252");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much of [in, in + inLeft) as possible and appends the output.
    // Returns false when it stopped at an unconvertible or incomplete input.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out)
    {
        char buffer[256];
        while (inLeft > 0) {
            char* next = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &next, &room);
            out.append(buffer, static_cast<std::size_t>(next - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

void AppendUtf8TwoByte(std::uint8_t c1, std::string& out)
{
    out.push_back(static_cast<char>(0xC0 | (c1 >> 6)));
    out.push_back(static_cast<char>(0x80 | (c1 & 0x3F)));
}

bool IsUnassignedByte(std::uint8_t byte)
{
    Converter decoder("UTF-8", kCodePage);
    const char raw = static_cast<char>(byte);
    const char* in = &raw;
    std::size_t left = 1;
    std::string ignored;
    return !decoder.Run(in, left, ignored);
}

}  // namespace

std::string Windows1252::ToUtf8(std::span<const std::uint8_t> bytes) const
{
    Converter decoder("UTF-8", kCodePage);
    std::string out;
    const char* in = reinterpret_cast<const char*>(bytes.data());
    std::size_t left = bytes.size();
    while (!decoder.Run(in, left, out)) {
        AppendUtf8TwoByte(static_cast<std::uint8_t>(*in), out);
        ++in;
        --left;
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> Windows1252::FromUtf8(const std::string& text) const
{
    Converter encoder(kCodePage, "UTF-8");
    std::string out;
    const char* in = text.data();
    std::size_t left = text.size();
    while (!encoder.Run(in, left, out)) {
        // Only the C1 controls that stand for the unassigned bytes get through.
        if (left < 2 || static_cast<std::uint8_t>(in[0]) != 0xC2) return std::nullopt;
        const auto code = static_cast<std::uint8_t>(in[1]);
        if (code < 0x80 || code > 0x9F || !IsUnassignedByte(code)) return std::nullopt;
        out.push_back(static_cast<char>(code));
        in += 2;
        left -= 2;
    }
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

}  // namespace korvane::platform
