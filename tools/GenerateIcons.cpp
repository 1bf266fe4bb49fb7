// flarons_icons: writes the desktop icons as DIR/<size>/flarons.png at build time.
#include "content/IconArt.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int stbi_write_png(const char* filename, int w, int h, int comp, const void* data,
                              int stride_in_bytes);

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: flarons_icons DIR SIZE...\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const std::vector<uint32_t> icon = PaintIcon(size);
        std::vector<uint8_t> rgba;
        rgba.reserve(icon.size() * 4);
        for (const uint32_t c : icon)
            for (const int shift : {16, 8, 0, 24})
                rgba.push_back(uint8_t(c >> shift));
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / std::to_string(size);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        const std::string file = (dir / "flarons.png").string();
        if (icon.empty() || stbi_write_png(file.c_str(), size, size, 4, rgba.data(), size * 4) == 0) {
            std::fprintf(stderr, "flarons_icons: could not write %s\n", file.c_str());
            return 1;
        }
    }
    return 0;
}
