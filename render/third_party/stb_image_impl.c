/* The one translation unit that compiles the image decoder. Only memory decoding is used:
   skin images come from resources, the skin archive or files read by the render kit. Its buffers
   come from malloc, as the other decoder's do, so an image entry frees either kind alike. */
#include <stdlib.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) malloc(size)
#define STBI_REALLOC(pointer, size) realloc(pointer, size)
#define STBI_FREE(pointer) free(pointer)
#include "stb_image.h"
