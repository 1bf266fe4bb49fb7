// WorldTestKit: temporary folders and the small pictures of the world tests.
#include "WorldTestKit.h"

#include "core/GameMath.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
fs::path Disk(const fs::path& root, const std::string& winPath) {
    fs::path p = root;
    for (const std::string& part : TFiles::Split(winPath))
        p /= part;
    return p;
}
} // namespace

TWorldFolder::TWorldFolder() {
    static std::atomic<int> counter{0};
    Root = fs::temp_directory_path() /
           ("flarons_world_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(Root);
    fs::create_directories(Root / "home");
    Files = TFiles(Root, Root / "home");
}

TWorldFolder::~TWorldFolder() {
    std::error_code ec;
    fs::remove_all(Root, ec);
}

void TWorldFolder::WriteText(const std::string& winPath, const std::string& text) const {
    const fs::path p = Disk(Root, winPath);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

void TWorldFolder::WritePicture(const std::string& winPath, const Surface& picture) const {
    const fs::path p = Disk(Root, winPath);
    fs::create_directories(p.parent_path());
    if (!picture.SaveToBmp(p.string())) throw std::runtime_error("cannot write " + p.string());
}

void TWorldFolder::WriteStandardPictures() const {
    WritePicture("graphics\\test_ship.bmp", TestShip());
    WritePicture("graphics\\test_flag.bmp", TestFlag());
    WritePicture("graphics\\menu\\flaron.bmp", TestPilot());
}

Surface Filled(int w, int h, uint32_t pixel) {
    Surface s(w, h);
    s.Fill(pixel);
    return s;
}

Surface TestShip() {
    Surface ship(64, 64);
    // Hull: a triangle of 2 x 2 blocks widening downwards from the nose at block row 4 to row 27.
    const auto block = [&ship](int bx, int by, uint32_t c) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                ship.SetPixel(2 * bx + x, 2 * by + y, c);
    };
    for (int y = 4; y < 28; ++y)
        for (int x = 16 - (y - 4) / 2; x <= 16 + (y - 4) / 2; ++x)
            block(x, y, Rgb(160, 160, 160));
    block(16, 4, Rgb(255, 255, 0));
    block(16, 5, Rgb(255, 255, 0));
    block(5, 27, Rgb(40, 40, 200));
    return ship;
}

Surface TestPilot() {
    Surface p(12, 20);
    for (int y = 0; y < 5; ++y)
        for (int x = 3; x < 9; ++x)
            p.SetPixel(x, y, Rgb(0, 0, 255));
    for (int y = 5; y < 12; ++y)
        for (int x = 2; x < 10; ++x)
            p.SetPixel(x, y, Rgb(0, 255, 0));
    for (int y = 5; y < 12; ++y)
        for (int x = 6; x < 8; ++x)
            p.SetPixel(x, y, Rgb(60, 50, 70));
    for (int x = 2; x < 10; ++x)
        p.SetPixel(x, 12, Rgb(254, 0, 0));
    for (int y = 13; y < 20; ++y) {
        const uint32_t c = y < 19 ? Rgb(255, 0, 0) : Rgb(70, 50, 40);
        p.SetPixel(3, y, c);
        p.SetPixel(4, y, c);
        p.SetPixel(8, y, c);
    }
    return p;
}

Surface TestFlag() {
    Surface f(32, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            f.SetPixel(x, y, x < 16 ? Rgb(0, 200, 200) : Rgb(200, 0, 200));
    return f;
}

TPictureItem TestFont() {
    TPictureItem font;
    font.Name = "GreenFont";
    font.Picture = Filled(8 * 45, 8, Rgb(255, 255, 255));
    font.PatternWidth = 8;
    font.PatternHeight = 8;
    return font;
}

TOptions TestOptions(const std::string& mapFile) {
    TOptions o;
    for (int p = 0; p < 2; ++p) {
        o.Players[size_t(p)] = DefaultPilot(p, "graphics\\test_ship.bmp", "graphics\\test_flag.bmp");
    }
    o.MapFile.Set(mapFile);
    o.Lives = 3;
    return o;
}
