/* Compiled apart, as C at -O3, with only the base and GIF modules. */
#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__GIF
#include "WuffsPeer.h"

#include "wuffs-v0.4.c"

int korvane_wuffs_decode(const uint8_t* data, size_t size, korvane_wuffs_frame_fn frame, void* context)
{
    /* Everything a caller would allocate per stream is allocated here, as
       the other racers do. */
    wuffs_gif__decoder* decoder = (wuffs_gif__decoder*)malloc(sizeof__wuffs_gif__decoder());
    if (!decoder) return -1;
    int frames = -1;
    uint8_t* memory = NULL;
    uint8_t* work = NULL;
    if (wuffs_gif__decoder__initialize(decoder, sizeof__wuffs_gif__decoder(), WUFFS_VERSION,
                                       WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED)
            .repr) {
        goto done;
    }
    wuffs_base__io_buffer source = wuffs_base__ptr_u8__reader((uint8_t*)data, size, true);
    wuffs_base__image_config config = {0};
    if (wuffs_gif__decoder__decode_image_config(decoder, &config, &source).repr) goto done;
    const uint32_t width = wuffs_base__pixel_config__width(&config.pixcfg);
    const uint32_t height = wuffs_base__pixel_config__height(&config.pixcfg);
    wuffs_base__pixel_config__set(&config.pixcfg, WUFFS_BASE__PIXEL_FORMAT__INDEXED__BGRA_BINARY,
                                  WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, width, height);
    const size_t bytes = 1024 + (size_t)width * height; /* the palette comes first */
    memory = (uint8_t*)malloc(bytes);
    if (!memory) goto done;
    wuffs_base__pixel_buffer pixels;
    if (wuffs_base__pixel_buffer__set_from_slice(&pixels, &config.pixcfg, wuffs_base__make_slice_u8(memory, bytes))
            .repr) {
        goto done;
    }
    const uint64_t workBytes = wuffs_gif__decoder__workbuf_len(decoder).max_incl;
    work = (uint8_t*)malloc(workBytes ? workBytes : 1);
    if (!work) goto done;
    frames = 0;
    for (;;) {
        wuffs_base__frame_config frameConfig = {0};
        if (wuffs_gif__decoder__decode_frame_config(decoder, &frameConfig, &source).repr) break;
        const wuffs_base__status status = wuffs_gif__decoder__decode_frame(
            decoder, &pixels, &source, WUFFS_BASE__PIXEL_BLEND__SRC, wuffs_base__make_slice_u8(work, workBytes), NULL);
        ++frames;
        if (frame) {
            const wuffs_base__rect_ie_u32 r = wuffs_base__frame_config__bounds(&frameConfig);
            frame(context, memory + 1024, width, r.min_incl_x, r.min_incl_y, r.max_excl_x, r.max_excl_y);
        }
        if (wuffs_base__status__is_error(&status)) break;
    }
done:
    free(work);
    free(memory);
    free(decoder);
    return frames;
}
