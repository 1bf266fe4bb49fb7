// TestSupport: helpers shared by the tests.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

TTempDir::TTempDir() {
    static std::atomic<int> counter{0};
    Path = std::filesystem::temp_directory_path() /
           ("flarons-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
}

void TTempDir::Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path p = Path / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void TTempDir::Write(const std::string& relative, const std::string& text) const {
    Write(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

uint64_t ScreenDigest(const Surface& screen) {
    uint64_t h = 14695981039346656037u; // FNV-1a
    for (uint32_t p : screen.Pixels)
        h = (h ^ p) * 1099511628211u;
    return h;
}

void TGoldenScreens::Check(const std::string& label, const Surface& screen) {
    Check(label, ScreenDigest(screen));
}

void TGoldenScreens::Check(const std::string& label, uint64_t digest) {
    Shown.push_back(label + " " + std::to_string(digest));
}

TGoldenScreens::~TGoldenScreens() {
    const std::filesystem::path file = std::filesystem::path(FLARONS_REPLAY_DIR) / (Set + ".screens");
    const bool record = std::getenv("FLARONS_RECORD_SCREENS") != nullptr;
    std::fstream f(file, record ? std::ios::out : std::ios::in);
    std::string line;
    for (const std::string& shown : Shown)
        if (record)
            f << shown << '\n';
        else
            EXPECT_TRUE(std::getline(f, line) && line == shown)
                << file.filename() << ": the screen differs at " << shown << ", recorded: " << line;
}

TPictureItem MakeCellFont(const std::string& name, int cellWidth, int height, int cellCount) {
    TPictureItem item;
    item.Name = name;
    item.PatternWidth = cellWidth;
    item.PatternHeight = height;
    item.Picture.SetSize(cellWidth * cellCount + 2, height); // a spare column, like the real fonts
    for (int k = 0; k < cellCount; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < cellWidth; ++x)
                item.Picture.SetPixel(k * cellWidth + x, y, uint32_t(k + 1));
    return item;
}

std::vector<uint8_t> TinyTallBmp(int headerSize) {
    std::vector<uint8_t> b(70, 0);
    const auto put = [&b](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, 70, 4);
    put(14, uint32_t(headerSize), 4);
    if (headerSize == 12) {
        put(10, 14 + 12 + 6, 4); // two 3-byte palette entries
        put(18, 1, 2);
        put(20, 65535, 2);
        put(22, 1, 2);
        put(24, 1, 2);
    } else {
        put(10, 14 + 40 + 8, 4); // two 4-byte palette entries
        put(18, 1, 4);
        put(22, 70000, 4);
        put(26, 1, 2);
        put(28, 1, 2);
        put(46, 2, 4);
    }
    return b;
}
