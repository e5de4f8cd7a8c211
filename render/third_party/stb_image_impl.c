/* The one translation unit that compiles the image decoder. Only memory decoding is used:
   skin images come from resources, the skin archive or files read by the render kit. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include "stb_image.h"
