/* Wuffs' GIF decoder as a benchmark racer: the whole stream decoded to
   palette indices on one canvas, as Wuffs places frames. Built only when the
   peer sources are present beside the repository. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Called after each frame with the canvas (width bytes a row) and the
   frame's rectangle, right and bottom exclusive. */
typedef void (*korvane_wuffs_frame_fn)(void* context, const uint8_t* canvas, uint32_t width, uint32_t x0, uint32_t y0,
                                       uint32_t x1, uint32_t y1);

/* The number of frames decoded, or -1 when the stream is refused before the
   first frame. */
int korvane_wuffs_decode(const uint8_t* data, size_t size, korvane_wuffs_frame_fn frame, void* context);

#ifdef __cplusplus
}
#endif
