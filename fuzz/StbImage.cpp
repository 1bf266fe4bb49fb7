// StbImage: the picture decoder and PNG writer compiled into the fuzz targets, so the fuzzer sees
// and instruments the code that reads the files it makes.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
