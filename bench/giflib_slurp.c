/* The baseline of the whole-program benchmark: a plain C program that reads
   a GIF file with giflib's DGifSlurp, as korvane-gif info reads it with the
   program's engine, and prints the image count. */
#include <stdio.h>

#include <gif_lib.h>

int main(int argc, char** argv)
{
    int error = 0;
    if (argc != 2) {
        fprintf(stderr, "usage: giflib_slurp FILE\n");
        return 2;
    }
    GifFileType* gif = DGifOpenFileName(argv[1], &error);
    if (gif == NULL) {
        fprintf(stderr, "giflib_slurp: %s: %s\n", argv[1], GifErrorString(error));
        return 1;
    }
    const int slurped = DGifSlurp(gif);
    printf("%s: %d images\n", argv[1], gif->ImageCount);
    DGifCloseFile(gif, &error);
    return slurped == GIF_OK ? 0 : 1;
}
