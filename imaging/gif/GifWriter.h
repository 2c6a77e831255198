// Builds the GIF89a (or, for a document without frames, GIF87a) stream of a
// document in memory: header, screen, global table, loop extension, then per
// frame a control extension, descriptor, local table and LZW data.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "imaging/gif/GifDocument.h"

namespace korvane::imaging {

// A frame the load could not make surfaces for: its pixels are not there.
class FrameWithoutPixels : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class GifWriter {
public:
    explicit GifWriter(GifDocument& doc);

    // The whole stream. Stores the screen's packed byte into the document.
    // Throws when the document cannot be written as it stands: no slot
    // (std::out_of_range), a value that does not fit its field
    // (std::overflow_error), a frame without pixels (FrameWithoutPixels) or a
    // pixel index its code size cannot express (std::domain_error).
    std::vector<std::uint8_t> Write();

private:
    void WriteHeader();
    void WriteLogicalScreen(std::uint8_t globalExponent);
    void WriteLoopExtension();
    void WriteFrame(const FrameRecord& frame, int nFrame, std::uint8_t globalExponent);
    void WriteGraphicControl(const FrameRecord& frame);
    void Put16(std::int32_t value);
    void PutText(const char* text);

    GifDocument& m_Doc;
    std::vector<std::uint8_t> m_Out;
};

// The smallest n >= 1 with 2^n >= entries: a colour table's size exponent.
std::uint8_t TableExponent(std::int16_t entries);

}  // namespace korvane::imaging
