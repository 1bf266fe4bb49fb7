// FuzzFolder: making the fuzz targets' game folder.
#include "FuzzFolder.h"

#include "media/Surface.h"

#include <fstream>
#include <unistd.h>

namespace {
Surface Picture(int w, int h, uint32_t seed) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, ((x * 7 + y * 13 + int(seed)) % 5 == 0) ? 0 : 0x102030u * seed);
    return s;
}
} // namespace

TFuzzFolder::TFuzzFolder(const std::string& name) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("flarons_fuzz_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    Files = TFiles(root, root);
    Put("graphics/test_ship.bmp", Picture(64, 64, 3).EncodeBmp());
    Put("graphics/test_flag.bmp", Picture(32, 24, 5).EncodeBmp());
    Put("graphics/menu/flaron.bmp", Picture(12, 20, 7).EncodeBmp());
    Put("maps/mid.bmp", Picture(64, 48, 2).EncodeBmp());
    Put("maps/back.bmp", Picture(40, 30, 4).EncodeBmp());
    Put("maps/dots.bmp", Picture(64, 48, 6).EncodeBmp());
}

void TFuzzFolder::Put(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path path = Files.HomeDir / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
