/* The one translation unit that compiles the resampler, which makes the shrunk copies of pictures
   held as pixels in memory. Its working buffers come from malloc; a failed allocation fails the copy. */
#include <stdlib.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include "stb_image_resize.h"
