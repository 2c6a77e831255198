#include "platform/gdi/Transfer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/gdi/AxisMap.h"
#include "platform/gdi/ColourConversion.h"

namespace korvane::gdi {

namespace {

using Lut = std::array<std::uint32_t, 256>;
// For 1-bit sources: the eight destination values of each source byte.
using ByteExpansion = std::array<std::array<std::uint32_t, 8>, 256>;

// What one call's row routine needs besides the two rows.
struct RowJob {
    const AxisMap& xs;
    const Lut& lut;                  // source index -> destination value, indexed sources
    ColourMatcher* matcher;          // colour -> destination index: direct sources onto indexed ones
    const ByteExpansion* expansion;  // 1-bit sources at 1:1 onto 32 bits, else null
};

using RowFn = void (*)(RowJob&, std::uint8_t* dstRow, const std::uint8_t* srcRow);

template <RasterOp Op>
inline std::uint32_t Combine(std::uint32_t d, std::uint32_t s)
{
    if constexpr (Op == RasterOp::Copy) {
        return s;
    } else if constexpr (Op == RasterOp::And) {
        return d & s;
    } else {
        return d | s;
    }
}

template <int Bpp>
inline std::uint32_t ReadRaw(const std::uint8_t* row, int x)
{
    if constexpr (Bpp == 1) {
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    } else if constexpr (Bpp == 4) {
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u;
    } else if constexpr (Bpp == 8) {
        return row[x];
    } else if constexpr (Bpp == 16) {
        std::uint16_t v = 0;
        std::memcpy(&v, row + 2 * static_cast<std::size_t>(x), 2);
        return v;
    } else if constexpr (Bpp == 24) {
        const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
    } else {
        std::uint32_t v = 0;
        std::memcpy(&v, row + 4 * static_cast<std::size_t>(x), 4);
        return v;
    }
}

template <int Bpp, RasterOp Op>
inline void Store(std::uint8_t* row, int x, std::uint32_t v)
{
    if constexpr (Bpp == 1 || Bpp == 4) {
        constexpr std::uint32_t mask = (1u << Bpp) - 1;
        const int shift = Bpp == 1 ? 7 - (x & 7) : ((x & 1) ? 0 : 4);
        std::uint8_t& b = row[Bpp == 1 ? x >> 3 : x >> 1];
        const std::uint32_t r = Combine<Op>((b >> shift) & mask, v) & mask;
        b = static_cast<std::uint8_t>((b & ~(mask << shift)) | (r << shift));
    } else if constexpr (Bpp == 8) {
        row[x] = static_cast<std::uint8_t>(Combine<Op>(row[x], v));
    } else if constexpr (Bpp == 16) {
        std::uint8_t* p = row + 2 * static_cast<std::size_t>(x);
        std::uint16_t d = 0;
        std::memcpy(&d, p, 2);
        const auto r = static_cast<std::uint16_t>(Combine<Op>(d, v));
        std::memcpy(p, &r, 2);
    } else if constexpr (Bpp == 24) {
        std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        const std::uint32_t d = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
        const std::uint32_t r = Combine<Op>(d, v);
        p[0] = static_cast<std::uint8_t>(r);
        p[1] = static_cast<std::uint8_t>(r >> 8);
        p[2] = static_cast<std::uint8_t>(r >> 16);
    } else {
        std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
        std::uint32_t d = 0;
        std::memcpy(&d, p, 4);
        const std::uint32_t r = Combine<Op>(d, v);
        std::memcpy(p, &r, 4);
    }
}

template <int SrcBpp, int DstBpp>
inline std::uint32_t ToDestination(RowJob& job, std::uint32_t raw)
{
    if constexpr (SrcBpp <= 8) {
        return job.lut[raw];
    } else {
        const std::uint32_t colour = SrcBpp == 16 ? Unpack555(raw) : raw & 0x00FFFFFFu;
        if constexpr (DstBpp <= 8) {
            return job.matcher->Index(colour);
        } else if constexpr (DstBpp == 16) {
            return Pack555(colour);
        } else {
            return colour;
        }
    }
}

// Any depth pair: read, convert, combine, store, one pixel at a time.
template <int SrcBpp, int DstBpp, RasterOp Op>
void GenericRow(RowJob& job, std::uint8_t* dstRow, const std::uint8_t* srcRow)
{
    const AxisMap& xs = job.xs;
    for (int k = 0; k < xs.count; ++k) {
        const std::uint32_t v = ToDestination<SrcBpp, DstBpp>(job, ReadRaw<SrcBpp>(srcRow, xs.Src(k)));
        Store<DstBpp, Op>(dstRow, xs.dstStart + k, v);
    }
}

// 8-bit source onto 32 bits at 1:1, the frame draw's image pass: eight
// indices per load keep the loop on the table look-ups.
template <RasterOp Op>
inline void Put(std::uint32_t* d, const Lut& lut, std::uint64_t indices, int j)
{
    d[j] = Combine<Op>(d[j], lut[(indices >> (8 * j)) & 0xFF]);
}

template <RasterOp Op>
void EightBitTo32Row(std::uint32_t* d, const std::uint8_t* s, int count, const Lut& lut)
{
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, s + k, 8);
        std::uint32_t* p = d + k;
        Put<Op>(p, lut, eight, 0);
        Put<Op>(p, lut, eight, 1);
        Put<Op>(p, lut, eight, 2);
        Put<Op>(p, lut, eight, 3);
        Put<Op>(p, lut, eight, 4);
        Put<Op>(p, lut, eight, 5);
        Put<Op>(p, lut, eight, 6);
        Put<Op>(p, lut, eight, 7);
    }
    for (; k < count; ++k)
        d[k] = Combine<Op>(d[k], lut[s[k]]);
}

// 1-bit source onto 32 bits at 1:1, the frame draw's mask pass: a whole
// source byte at a time once the run reaches a byte boundary.
template <RasterOp Op>
void OneBitTo32Row(std::uint32_t* d, const std::uint8_t* srcRow, int sx, int count, const Lut& lut,
                   const ByteExpansion& expansion)
{
    int k = 0;
    for (; k < count && (sx & 7) != 0; ++k, ++sx)
        d[k] = Combine<Op>(d[k], lut[ReadRaw<1>(srcRow, sx)]);
    // A clear source byte over black sets eight pixels without reading them:
    // most mask bytes of an opaque area are clear.
    const bool clearIsStore = (Op == RasterOp::Copy || Op == RasterOp::And) && lut[0] == 0;
    for (; k + 8 <= count; k += 8, sx += 8) {
        const std::uint8_t bits = srcRow[sx >> 3];
        if (bits == 0 && clearIsStore) {
            std::memset(d + k, 0, 8 * sizeof(std::uint32_t));
            continue;
        }
        const std::array<std::uint32_t, 8> values = expansion[bits];  // a copy: no aliasing
        for (int j = 0; j < 8; ++j)
            d[k + j] = Combine<Op>(d[k + j], values[j]);
    }
    for (; k < count; ++k, ++sx)
        d[k] = Combine<Op>(d[k], lut[ReadRaw<1>(srcRow, sx)]);
}

// Indexed source onto 32 bits: one table look-up per pixel.
template <int SrcBpp, RasterOp Op, bool Identity>
void IndexedTo32Row(RowJob& job, std::uint8_t* dstRow, const std::uint8_t* srcRow)
{
    const AxisMap& xs = job.xs;
    std::uint32_t* d = reinterpret_cast<std::uint32_t*>(dstRow) + xs.dstStart;
    const Lut& lut = job.lut;
    if constexpr (Identity && SrcBpp == 8) {
        EightBitTo32Row<Op>(d, srcRow + xs.srcStart, xs.count, lut);
    } else if constexpr (Identity && SrcBpp == 1) {
        OneBitTo32Row<Op>(d, srcRow, xs.srcStart, xs.count, lut, *job.expansion);
    } else {
        for (int k = 0; k < xs.count; ++k) {
            const int sx = Identity ? xs.srcStart + k : xs.src[static_cast<std::size_t>(k)];
            d[k] = Combine<Op>(d[k], lut[ReadRaw<SrcBpp>(srcRow, sx)]);
        }
    }
}

// The mask pass and the image pass of a transparent draw for one pixel:
// And with the value of the mask bit, then Or with the colour of the index.
using MaskValues = std::array<std::uint32_t, 2>;

// f(0) to f(7) written out, so each pixel's shifts are constants.
template <class F>
inline void ForEight(F f)
{
    [&]<int... J>(std::integer_sequence<int, J...>)
    {
        (f(J), ...);
    }
    (std::make_integer_sequence<int, 8>{});
}

// 1-bit mask and 8-bit image at 1:1 onto 32 bits: a mask byte and eight
// indices per step once the run reaches a mask byte boundary. The two mask
// values live in locals: stores through `d` could otherwise alias them.
void MaskedRowIdentity(std::uint32_t* d, const std::uint8_t* maskRow, const std::uint8_t* imageRow, int sx, int count,
                       const Lut& lut, const MaskValues& values)
{
    const std::uint32_t clear = values[0], set = values[1], flip = clear ^ set;
    const auto select = [&](unsigned bit) { return clear ^ (flip & (0U - bit)); };
    int k = 0;
    for (; k < count && (sx & 7) != 0; ++k, ++sx)
        d[k] = (d[k] & select(ReadRaw<1>(maskRow, sx))) | lut[imageRow[sx]];
    for (; k + 8 <= count; k += 8, sx += 8) {
        const unsigned bits = maskRow[sx >> 3];
        std::uint64_t eight = 0;
        std::memcpy(&eight, imageRow + sx, 8);
        std::uint32_t* p = d + k;
        if (bits == 0 && clear == 0) {
            // The And leaves 0: store the colours without reading what lay there.
            ForEight([&](int j) { p[j] = lut[(eight >> (8 * j)) & 0xFF]; });
        } else if (bits == 0 || bits == 0xFF) {
            const std::uint32_t keep = bits == 0 ? clear : set;
            ForEight([&](int j) { p[j] = (p[j] & keep) | lut[(eight >> (8 * j)) & 0xFF]; });
        } else {
            ForEight([&](int j) { p[j] = (p[j] & select((bits >> (7 - j)) & 1U)) | lut[(eight >> (8 * j)) & 0xFF]; });
        }
    }
    for (; k < count; ++k, ++sx)
        d[k] = (d[k] & select(ReadRaw<1>(maskRow, sx))) | lut[imageRow[sx]];
}

void MaskedRowScaled(std::uint32_t* d, const std::uint8_t* maskRow, const std::uint8_t* imageRow, const AxisMap& xs,
                     const Lut& lut, const MaskValues& values)
{
    const std::uint32_t clear = values[0], flip = values[0] ^ values[1];
    for (int k = 0; k < xs.count; ++k) {
        const int sx = xs.src[static_cast<std::size_t>(k)];
        d[k] = (d[k] & (clear ^ (flip & (0U - ReadRaw<1>(maskRow, sx))))) | lut[imageRow[sx]];
    }
}

template <RasterOp Op, bool Identity>
void Direct32Row(RowJob& job, std::uint8_t* dstRow, const std::uint8_t* srcRow)
{
    const AxisMap& xs = job.xs;
    std::uint32_t* d = reinterpret_cast<std::uint32_t*>(dstRow) + xs.dstStart;
    const auto* s = reinterpret_cast<const std::uint32_t*>(srcRow);
    for (int k = 0; k < xs.count; ++k) {
        const int sx = Identity ? xs.srcStart + k : xs.src[static_cast<std::size_t>(k)];
        d[k] = Combine<Op>(d[k], s[sx]);
    }
}

template <int BytesPerPixel>
void CopyBytesRow(RowJob& job, std::uint8_t* dstRow, const std::uint8_t* srcRow)
{
    const AxisMap& xs = job.xs;
    std::memmove(dstRow + static_cast<std::size_t>(xs.dstStart) * BytesPerPixel,
                 srcRow + static_cast<std::size_t>(xs.srcStart) * BytesPerPixel,
                 static_cast<std::size_t>(xs.count) * BytesPerPixel);
}

template <int SrcBpp, int DstBpp>
RowFn SelectGenericOp(RasterOp op)
{
    switch (op) {
        case RasterOp::Copy:
            return &GenericRow<SrcBpp, DstBpp, RasterOp::Copy>;
        case RasterOp::And:
            return &GenericRow<SrcBpp, DstBpp, RasterOp::And>;
        case RasterOp::Or:
            return &GenericRow<SrcBpp, DstBpp, RasterOp::Or>;
    }
    return nullptr;
}

template <int SrcBpp>
RowFn SelectGenericDst(int dstBpp, RasterOp op)
{
    switch (dstBpp) {
        case 1:
            return SelectGenericOp<SrcBpp, 1>(op);
        case 4:
            return SelectGenericOp<SrcBpp, 4>(op);
        case 8:
            return SelectGenericOp<SrcBpp, 8>(op);
        case 16:
            return SelectGenericOp<SrcBpp, 16>(op);
        case 24:
            return SelectGenericOp<SrcBpp, 24>(op);
        default:
            return SelectGenericOp<SrcBpp, 32>(op);
    }
}

RowFn SelectGeneric(int srcBpp, int dstBpp, RasterOp op)
{
    switch (srcBpp) {
        case 1:
            return SelectGenericDst<1>(dstBpp, op);
        case 4:
            return SelectGenericDst<4>(dstBpp, op);
        case 8:
            return SelectGenericDst<8>(dstBpp, op);
        case 16:
            return SelectGenericDst<16>(dstBpp, op);
        case 24:
            return SelectGenericDst<24>(dstBpp, op);
        default:
            return SelectGenericDst<32>(dstBpp, op);
    }
}

template <int SrcBpp, RasterOp Op>
RowFn SelectIndexedTo32(bool identity)
{
    return identity ? &IndexedTo32Row<SrcBpp, Op, true> : &IndexedTo32Row<SrcBpp, Op, false>;
}

template <int SrcBpp>
RowFn SelectIndexedTo32Op(RasterOp op, bool identity)
{
    switch (op) {
        case RasterOp::Copy:
            return SelectIndexedTo32<SrcBpp, RasterOp::Copy>(identity);
        case RasterOp::And:
            return SelectIndexedTo32<SrcBpp, RasterOp::And>(identity);
        case RasterOp::Or:
            return SelectIndexedTo32<SrcBpp, RasterOp::Or>(identity);
    }
    return nullptr;
}

RowFn SelectDirect32(RasterOp op, bool identity)
{
    switch (op) {
        case RasterOp::Copy:
            return identity ? &CopyBytesRow<4> : &Direct32Row<RasterOp::Copy, false>;
        case RasterOp::And:
            return identity ? &Direct32Row<RasterOp::And, true> : &Direct32Row<RasterOp::And, false>;
        case RasterOp::Or:
            return identity ? &Direct32Row<RasterOp::Or, true> : &Direct32Row<RasterOp::Or, false>;
    }
    return nullptr;
}

// Destination values of every source index. Equal tables copy indices as
// they are, even where a table holds one colour twice.
Lut BuildLut(int srcBpp, const ColourTable& srcColours, int dstBpp, const ColourTable& dstColours)
{
    Lut lut{};
    if (srcBpp > 8) return lut;
    const unsigned n = 1u << srcBpp;
    const bool sameIndices = srcBpp == dstBpp && srcColours == dstColours;
    for (unsigned i = 0; i < n; ++i) {
        const std::uint32_t colour = i < srcColours.Count() ? ColourOf(srcColours[i]) : 0;
        lut[i] = sameIndices ? i : PixelValueFor(dstBpp, dstColours, colour);
    }
    return lut;
}

std::unique_ptr<ByteExpansion> BuildExpansion(const Lut& lut)
{
    auto expansion = std::make_unique<ByteExpansion>();
    for (unsigned byte = 0; byte < 256; ++byte)
        for (unsigned bit = 0; bit < 8; ++bit)
            (*expansion)[byte][bit] = lut[(byte >> (7 - bit)) & 1];
    return expansion;
}

bool IsIdentityCopy(int srcBpp, int dstBpp, RasterOp op, bool xIdentity, bool sameIndices)
{
    if (op != RasterOp::Copy || !xIdentity || srcBpp != dstBpp || srcBpp < 8) return false;
    return srcBpp > 8 || sameIndices;
}

RowFn SelectRow(int srcBpp, int dstBpp, RasterOp op, bool xIdentity, bool sameIndices)
{
    if (IsIdentityCopy(srcBpp, dstBpp, op, xIdentity, sameIndices)) {
        switch (srcBpp) {
            case 8:
                return &CopyBytesRow<1>;
            case 16:
                return &CopyBytesRow<2>;
            case 24:
                return &CopyBytesRow<3>;
            default:
                return &CopyBytesRow<4>;
        }
    }
    if (dstBpp == 32) {
        switch (srcBpp) {
            case 1:
                return SelectIndexedTo32Op<1>(op, xIdentity);
            case 4:
                return SelectIndexedTo32Op<4>(op, xIdentity);
            case 8:
                return SelectIndexedTo32Op<8>(op, xIdentity);
            case 32:
                return SelectDirect32(op, xIdentity);
            default:
                break;
        }
    }
    return SelectGeneric(srcBpp, dstBpp, op);
}

std::shared_ptr<Surface> CopyOf(const Surface& s)
{
    auto copy = Surface::Make(s.Width(), s.Height(), s.Bpp(), s.TopDown());
    if (copy) std::memcpy(copy->Bits(), s.Bits(), s.ByteSize());
    return copy;
}

template <int Bpp>
void FillRows(Surface& dst, int left, int top, int right, int bottom, std::uint32_t value)
{
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = dst.Row(y);
        if constexpr (Bpp == 32) {
            std::fill(dst.Row32(y) + left, dst.Row32(y) + right, value);
        } else if constexpr (Bpp == 8) {
            std::memset(row + left, static_cast<int>(value & 0xFF), static_cast<std::size_t>(right - left));
        } else {
            for (int x = left; x < right; ++x)
                Store<Bpp, RasterOp::Copy>(row, x, value);
        }
    }
}

}  // namespace

std::optional<RasterOp> RasterOpFromCode(std::uint32_t rop)
{
    switch (rop) {
        case SRCCOPY:
            return RasterOp::Copy;
        case SRCAND:
            return RasterOp::And;
        case SRCPAINT:
            return RasterOp::Or;
        default:
            return std::nullopt;
    }
}

void Transfer(Surface& dst, const ColourTable& dstColours, const Surface& src, const ColourTable& srcColours,
              const Placement& to, const Placement& from, RasterOp op)
{
    const AxisMap xs = MapAxis(to.x, to.width, from.x, from.width, dst.Width(), src.Width());
    const AxisMap ys = MapAxis(to.y, to.height, from.y, from.height, dst.Height(), src.Height());
    if (xs.count == 0 || ys.count == 0) return;
    // Reading and writing one surface would see rows already written.
    std::shared_ptr<Surface> snapshot;
    const Surface* source = &src;
    if (&dst == &src) {
        snapshot = CopyOf(src);
        if (!snapshot) return;
        source = snapshot.get();
    }
    const bool sameIndices = src.Bpp() == dst.Bpp() && srcColours == dstColours;
    const Lut lut = BuildLut(src.Bpp(), srcColours, dst.Bpp(), dstColours);
    std::optional<ColourMatcher> matcher;
    if (src.Bpp() > 8 && dst.Bpp() <= 8) matcher.emplace(dstColours);
    const std::unique_ptr<ByteExpansion> expansion =
        src.Bpp() == 1 && dst.Bpp() == 32 && xs.identity ? BuildExpansion(lut) : nullptr;
    RowJob job{xs, lut, matcher ? &*matcher : nullptr, expansion.get()};
    const RowFn row = SelectRow(src.Bpp(), dst.Bpp(), op, xs.identity, sameIndices);
    // An enlarged copy repeats whole rows: the repeats are byte copies of the
    // row just drawn (whole bytes only, so not at 1 and 4 bits).
    const bool repeatRows = op == RasterOp::Copy && dst.Bpp() >= 8;
    const std::size_t spanAt = static_cast<std::size_t>(xs.dstStart) * (dst.Bpp() / 8);
    const std::size_t spanBytes = static_cast<std::size_t>(xs.count) * (dst.Bpp() / 8);
    for (int k = 0; k < ys.count; ++k) {
        std::uint8_t* dstRow = dst.Row(ys.dstStart + k);
        if (repeatRows && k > 0 && ys.Src(k) == ys.Src(k - 1)) {
            std::memcpy(dstRow + spanAt, dst.Row(ys.dstStart + k - 1) + spanAt, spanBytes);
        } else {
            row(job, dstRow, source->Row(ys.Src(k)));
        }
    }
}

void TransferMasked(Surface& dst, const ColourTable& dstColours, const Surface& mask, const ColourTable& maskColours,
                    const Surface& image, const ColourTable& imageColours, const Placement& to, const Placement& from)
{
    // One pass needs one pixel mapping for both sources and a destination
    // that neither of them is.
    const bool onePass = dst.Bpp() == 32 && mask.Bpp() == 1 && image.Bpp() == 8 && mask.Width() == image.Width() &&
                         mask.Height() == image.Height() && &dst != &mask && &dst != &image;
    if (!onePass) {
        Transfer(dst, dstColours, mask, maskColours, to, from, RasterOp::And);
        Transfer(dst, dstColours, image, imageColours, to, from, RasterOp::Or);
        return;
    }
    const AxisMap xs = MapAxis(to.x, to.width, from.x, from.width, dst.Width(), image.Width());
    const AxisMap ys = MapAxis(to.y, to.height, from.y, from.height, dst.Height(), image.Height());
    if (xs.count == 0 || ys.count == 0) return;
    const Lut lut = BuildLut(8, imageColours, 32, dstColours);
    const Lut maskLut = BuildLut(1, maskColours, 32, dstColours);
    const MaskValues keep{maskLut[0], maskLut[1]};
    for (int k = 0; k < ys.count; ++k) {
        std::uint32_t* d = dst.Row32(ys.dstStart + k) + xs.dstStart;
        const int sy = ys.Src(k);
        if (xs.identity) {
            MaskedRowIdentity(d, mask.Row(sy), image.Row(sy), xs.srcStart, xs.count, lut, keep);
        } else {
            MaskedRowScaled(d, mask.Row(sy), image.Row(sy), xs, lut, keep);
        }
    }
}

void Fill(Surface& dst, const RECT& rect, std::uint32_t value)
{
    const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const int right = std::min(rect.right, dst.Width()), bottom = std::min(rect.bottom, dst.Height());
    if (left >= right || top >= bottom) return;
    switch (dst.Bpp()) {
        case 1:
            FillRows<1>(dst, left, top, right, bottom, value);
            break;
        case 4:
            FillRows<4>(dst, left, top, right, bottom, value);
            break;
        case 8:
            FillRows<8>(dst, left, top, right, bottom, value);
            break;
        case 16:
            FillRows<16>(dst, left, top, right, bottom, value);
            break;
        case 24:
            FillRows<24>(dst, left, top, right, bottom, value);
            break;
        default:
            FillRows<32>(dst, left, top, right, bottom, value);
            break;
    }
}

}  // namespace korvane::gdi
