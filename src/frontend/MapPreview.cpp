// MapPreview: reads only what a preview needs from a map file and shrinks its MIDDLE picture.
#include "frontend/MapPreview.h"

#include "core/Files.h"
#include "core/OptionsFile.h"
#include "frontend/FrontEnd.h"
#include "media/SafeRead.h"
#include "world/MapLoader.h"
#include "world/WorldError.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr uint32_t Air = 0x0C1626;
// The window of the menu backdrop the still shows through.
constexpr TRect PreviewBox{196, 96, 444, 233};

struct TMarks {
    std::array<std::array<float, 2>, 2> Base{};
    std::array<std::array<float, 2>, 2> Flag{};
    std::array<bool, 8> Given{}; // in the order of the keys below
};

// A box of the source averaged into one pixel; black source pixels are open air.
uint32_t Average(const Surface& src, int x0, int y0, int x1, int y1) {
    std::array<uint64_t, 3> sum{};
    uint64_t n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            uint32_t px = src.Pixel(x, y) & 0xFFFFFF;
            if (px == 0) px = Air;
            sum[0] += (px >> 16) & 0xFF;
            sum[1] += (px >> 8) & 0xFF;
            sum[2] += px & 0xFF;
        }
    if (n == 0) return Air;
    return Rgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n));
}

// A ring of radius 4 with a dark edge, so it reads over rock and air alike.
void Ring(Surface& s, int cx, int cy, uint32_t colour) {
    for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -5; dx <= 5; ++dx) {
            const double d = std::hypot(dx, dy);
            if (d >= 2.5 && d < 3.6)
                s.SetPixel(cx + dx, cy + dy, colour);
            else if ((d >= 3.6 && d < 4.6) || (d >= 1.6 && d < 2.5))
                s.SetPixel(cx + dx, cy + dy, 0x010101);
        }
    s.SetPixel(cx, cy, colour);
}

// A pennant on a pole: the pole's foot at (x, y), the cloth to the right.
void Pennant(Surface& s, int x, int y, uint32_t colour) {
    for (int dy = -8; dy <= 1; ++dy)
        for (int dx = -1; dx <= 5; ++dx)
            s.SetPixel(x + dx, y + dy, 0x010101);
    for (int dy = -7; dy <= 0; ++dy)
        s.SetPixel(x, y + dy, 0xE0E0E0);
    for (int row = 0; row < 4; ++row)
        for (int dx = 1; dx <= 4 - row; ++dx)
            s.SetPixel(x + dx, y - 7 + row, colour);
    for (int row = 0; row < 3; ++row)
        for (int dx = 1; dx <= 2 + row; ++dx)
            s.SetPixel(x + dx, y - 4 + row, colour);
}

} // namespace

Surface MakeMapPreview(const TFiles& files, const std::string& mapFile, int width, int height) {
    const auto path = files.ForReading(mapFile);
    if (path.empty() || width <= 0 || height <= 0) return Surface();
    const TReadResult file = ReadFileBounded(path, TextFileLimit);
    if (!file.Ok()) return Surface();
    std::string middle;
    TMarks marks;
    try {
        const struct {
            const char* Key;
            float* Value;
        } numbers[] = {
            {"PLY1X=", &marks.Base[0][0]},  {"PLY1Y=", &marks.Base[0][1]},  {"PLY2X=", &marks.Base[1][0]},
            {"PLY2Y=", &marks.Base[1][1]},  {"FLAG1X=", &marks.Flag[0][0]}, {"FLAG1Y=", &marks.Flag[0][1]},
            {"FLAG2X=", &marks.Flag[1][0]}, {"FLAG2Y=", &marks.Flag[1][1]},
        };
        for (const std::string& line : SplitMapLines(std::string(file.Bytes.begin(), file.Bytes.end()))) {
            if (const std::optional<std::string> v = MapKeyValue(line, "MIDDLE=")) middle = *v;
            for (size_t k = 0; k < std::size(numbers); ++k)
                if (const std::optional<std::string> v = MapKeyValue(line, numbers[k].Key)) {
                    *numbers[k].Value = ParseMapDecimal(*v, numbers[k].Key);
                    marks.Given[k] = true;
                }
        }
    } catch (const TWorldError&) {
        return Surface();
    }
    Surface map;
    const auto picture = files.ForReading(MapFolder(mapFile) + middle);
    if (middle.empty() || picture.empty() || !map.LoadFromFile(picture.string(), MapLayerLimit) ||
        map.Empty())
        return Surface();

    // One scale for both directions, so the caves keep their shape.
    const double scale = std::min(double(width) / map.Width, double(height) / map.Height);
    const int w = std::max(1, int(map.Width * scale)), h = std::max(1, int(map.Height * scale));
    const int left = (width - w) / 2, top = (height - h) / 2;
    Surface out(width, height);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int x0 = int(x / scale), y0 = int(y / scale);
            const int x1 = std::max(x0 + 1, int((x + 1) / scale)),
                      y1 = std::max(y0 + 1, int((y + 1) / scale));
            out.SetPixel(left + x, top + y, Average(map, x0, y0, x1, y1));
        }
    const auto at = [&](const std::array<float, 2>& p) {
        return std::array<int, 2>{left + int(std::lround(p[0] * scale)),
                                  top + int(std::lround(p[1] * scale))};
    };
    for (size_t p = 0; p < 2; ++p) {
        // A start point the map leaves out is the middle of the world, as in a match.
        if (!marks.Given[2 * p]) marks.Base[p][0] = float(map.Width / 2);
        if (!marks.Given[2 * p + 1]) marks.Base[p][1] = float(map.Height / 2);
        if (marks.Given[4 + 2 * p] && marks.Given[5 + 2 * p]) {
            const auto f = at(marks.Flag[p]);
            Pennant(out, f[0], f[1], PreviewMarkColour[p]);
        }
        const auto b = at(marks.Base[p]);
        Ring(out, b[0], b[1], PreviewMarkColour[p]);
    }
    return out;
}

void TFrontEnd::MapPreviewFrame() {
    // After a match its still fills the box, except while a map is being chosen.
    if ((World && GameState != gsMapSelect) || AboutShown) return;
    std::string file = Options.MapFile.Str();
    if (GameState == gsMapSelect && ListMenu)
        for (size_t i = 0; i < ListFiles.size() && i < ListMenu->Items.size(); ++i)
            if (ListMenu->Items[i].State != 0) file = ListFiles[i];
    auto preview = MapPreviews.find(file);
    if (preview == MapPreviews.end())
        preview =
            MapPreviews.emplace(file, MakeMapPreview(Files, file, PreviewBox.Width(), PreviewBox.Height()))
                .first;
    BackSurface.Draw(PreviewBox.Left, PreviewBox.Top, preview->second, false);
}
