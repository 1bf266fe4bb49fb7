// MapLoader: reading a map file into the world (layers, terrain classes, parallax, particle areas).
#include "world/MapLoader.h"

#include "core/Files.h"
#include "core/GameMath.h"
#include "media/SafeRead.h"
#include "world/StateHash.h"
#include "world/World.h"
#include "world/WorldError.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {
constexpr size_t MaxValueLength = 50;
constexpr int BackSamples = 3000;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

[[noreturn]] void BadNumber(const std::string& key, const std::string& text) {
    throw TWorldError("'" + text + "' is not a valid number for " + key);
}

// The layers of one world share one pixel budget, so whatever sizes a map's pictures announce, a
// world stays within a few hundred megabytes. The BACK picture counts twice (it was once held as read
// and as drawn; the maps refused stay those refused before) and the MIDDLE one has a terrain byte
// under each pixel.
enum LayerSlot : size_t { BackSlot, MiddleSlot, FrontSlot, DotSlot };
constexpr std::array<int64_t, 4> LayerCopies{2, 2, 1, 1};

void LoadLayer(const TFiles& files, const std::string& winPath, Surface& into, std::array<int64_t, 4>& used,
               LayerSlot slot, TStateHash& content) {
    int64_t others = 0;
    for (size_t k = 0; k < used.size(); ++k)
        if (k != slot) others += used[k];
    TPictureLimit limit = MapLayerLimit;
    limit.MaxPixels = std::max<int64_t>(0, WorldPixelBudget - others) / LayerCopies[slot];
    const TReadResult file = files.Read(winPath, PictureReadLimit(limit));
    Surface picture;
    if (!file.Ok() || !picture.LoadFromMemory(file.Bytes.data(), file.Bytes.size(), limit))
        throw TWorldError("Cannot read the map picture '" + winPath +
                          "' (missing, not a picture, or larger than " + std::to_string(limit.MaxPixels) +
                          " pixels)");
    HashNamedFile(content, winPath, file.Bytes);
    used[slot] = int64_t(picture.Width) * picture.Height * LayerCopies[slot];
    into = std::move(picture);
    into.TransparentColor = 0;
}

float Parallax(int layerSide, int middleSide, int viewSide) {
    if (middleSide > viewSide && layerSide > viewSide)
        return float(double(layerSide - viewSide) / double(middleSide - viewSide));
    return 1.0f;
}

uint8_t ParticleKindOf(std::string_view word) {
    const std::string w = Upper(TrimBlanks(word));
    if (w == "SNOW") return ParticleSnow;
    if (w == "ANT") return ParticleAnt;
    if (w == "WATER") return ParticleWater;
    if (w == "RAIN") return ParticleRain;
    if (w == "GLUE") return ParticleGlue;
    return 0;
}

// The keys in the order every line is tested against them.
enum class Key {
    Back,
    Middle,
    Front,
    DotMap,
    Ply1X,
    Ply1Y,
    Ply2X,
    Ply2Y,
    Flag1X,
    Flag1Y,
    Flag2X,
    Flag2Y,
    Scale,
    ParticleArea,
    PaX,
    PaY,
    PaWidth,
    PaHeight,
    PaPerSecond,
    PaType,
    PaXSpeed,
    PaYSpeed,
    PaRandomXSpeed,
    PaRandomYSpeed
};
struct KeyName {
    Key Id;
    std::string_view Text;
};
// PA_RANDOMXSPEED= is tested twice: once for the x spread and once more for the y spread.
constexpr KeyName Keys[] = {
    {Key::Back, "BACK="},
    {Key::Middle, "MIDDLE="},
    {Key::Front, "FRONT="},
    {Key::DotMap, "DOTMAP="},
    {Key::Ply1X, "PLY1X="},
    {Key::Ply1Y, "PLY1Y="},
    {Key::Ply2X, "PLY2X="},
    {Key::Ply2Y, "PLY2Y="},
    {Key::Flag1X, "FLAG1X="},
    {Key::Flag1Y, "FLAG1Y="},
    {Key::Flag2X, "FLAG2X="},
    {Key::Flag2Y, "FLAG2Y="},
    {Key::Scale, "SCALE="},
    {Key::ParticleArea, "PARTICLEAREA"},
    {Key::PaX, "PA_X="},
    {Key::PaY, "PA_Y="},
    {Key::PaWidth, "PA_WIDTH="},
    {Key::PaHeight, "PA_HEIGHT="},
    {Key::PaPerSecond, "PA_PERSECOND="},
    {Key::PaType, "PA_TYPE="},
    {Key::PaXSpeed, "PA_XSPEED="},
    {Key::PaYSpeed, "PA_YSPEED="},
    {Key::PaRandomXSpeed, "PA_RANDOMXSPEED="},
    {Key::PaRandomYSpeed, "PA_RANDOMXSPEED="},
};
} // namespace

std::optional<std::string> MapKeyValue(std::string_view line, std::string_view key) {
    if (line.size() < key.size()) return std::nullopt;
    if (Upper(line.substr(0, key.size())) != key) return std::nullopt;
    return std::string(line.substr(key.size(), MaxValueLength));
}

namespace {
// Splits off an optional sign; the rest must start with a digit or the decimal point.
bool TakeSign(std::string_view& s, bool& negative) {
    negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    return !s.empty() && (std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.');
}
} // namespace

float ParseMapDecimal(const std::string& text, const std::string& key) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(s, negative)) BadNumber(key, text);
    // from_chars never looks at the locale, so "1.5" means one and a half on every system.
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size()) BadNumber(key, text);
    const float result = float(negative ? -value : value);
    // Beyond a million every number of a map means nothing (the largest map is 16384 pixels a side),
    // and such values would overflow the conversions to whole pixels and particle counts.
    if (!std::isfinite(result) || std::fabs(result) > MapNumberLimit) BadNumber(key, text);
    return result;
}

int32_t ParseMapInteger(const std::string& text, const std::string& key) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(s, negative)) BadNumber(key, text);
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) BadNumber(key, text);
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        BadNumber(key, text);
    return int32_t(value);
}

std::vector<std::string> SplitMapLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    // Lines end in LF, CR LF or a lone CR, whichever system the map was written on.
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::string MapFolder(const std::string& mapFile) {
    const size_t cut = mapFile.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : mapFile.substr(0, cut + 1);
}

TSpawnPoints TWorld::LoadMap(const TFiles& files, const std::string& mapFile) {
    TSpawnPoints spawn;
    // Players whose spawn point the map leaves out start at the centre of the world.
    std::array<bool, 4> playerGiven{};
    bool middleGiven = false;
    bool dotMapGiven = false;
    Surface back;
    Surface dots;

    const TReadResult file = files.Read(mapFile, TextFileLimit);
    if (!file.Ok()) throw TWorldError("The map file '" + mapFile + "' " + file.Reason());
    MapContent = TStateHash{};
    HashNamedFile(MapContent, mapFile, file.Bytes);
    const std::string text(file.Bytes.begin(), file.Bytes.end());
    std::array<int64_t, 4> layerPixels{};

    const std::string folder = MapFolder(mapFile);
    ParticleAreas.clear();
    for (const std::string& line : SplitMapLines(text)) {
        for (const KeyName& k : Keys) {
            const std::optional<std::string> value = MapKeyValue(line, k.Text);
            if (!value) continue;
            const std::string key(k.Text);
            TParticleArea* area = ParticleAreas.empty() ? nullptr : &ParticleAreas.back();
            switch (k.Id) {
            case Key::Back:
                LoadLayer(files, folder + *value, back, layerPixels, BackSlot, MapContent);
                break;
            case Key::Middle:
                LoadLayer(files, folder + *value, MiddleLayer, layerPixels, MiddleSlot, MapContent);
                middleGiven = true;
                break;
            case Key::Front:
                LoadLayer(files, folder + *value, FrontLayer, layerPixels, FrontSlot, MapContent);
                break;
            case Key::DotMap:
                LoadLayer(files, folder + *value, dots, layerPixels, DotSlot, MapContent);
                dotMapGiven = true;
                break;
            case Key::Ply1X:
                spawn.PlayerX[0] = ParseMapDecimal(*value, key);
                playerGiven[0] = true;
                break;
            case Key::Ply1Y:
                spawn.PlayerY[0] = ParseMapDecimal(*value, key);
                playerGiven[1] = true;
                break;
            case Key::Ply2X:
                spawn.PlayerX[1] = ParseMapDecimal(*value, key);
                playerGiven[2] = true;
                break;
            case Key::Ply2Y:
                spawn.PlayerY[1] = ParseMapDecimal(*value, key);
                playerGiven[3] = true;
                break;
            case Key::Flag1X:
                spawn.FlagX[0] = ParseMapDecimal(*value, key);
                break;
            case Key::Flag1Y:
                spawn.FlagY[0] = ParseMapDecimal(*value, key);
                break;
            case Key::Flag2X:
                spawn.FlagX[1] = ParseMapDecimal(*value, key);
                break;
            case Key::Flag2Y:
                spawn.FlagY[1] = ParseMapDecimal(*value, key);
                break;
            case Key::Scale: {
                const float scale = ParseMapDecimal(*value, key);
                // Zero would divide by zero and a huge scale would need gigabytes of ship frames.
                if (!(scale > 0.0f) || scale > 4.0f)
                    throw TWorldError("SCALE= must be above 0 and at most 4, not '" + *value + "'");
                Scale = scale / 2.0f;
                break;
            }
            case Key::ParticleArea:
                ParticleAreas.emplace_back();
                break;
            default:
                if (area == nullptr) break; // particle keys before the first area mean nothing
                switch (k.Id) {
                case Key::PaX:
                    area->AreaX = uint16_t(ParseMapInteger(*value, key));
                    break;
                case Key::PaY:
                    area->AreaY = uint16_t(ParseMapInteger(*value, key));
                    break;
                case Key::PaWidth:
                    area->AreaWidth = uint16_t(ParseMapInteger(*value, key));
                    break;
                case Key::PaHeight:
                    area->AreaHeight = uint16_t(ParseMapInteger(*value, key));
                    break;
                case Key::PaPerSecond:
                    area->Rate = float(double(ParseMapDecimal(*value, key)) / 35.0);
                    break;
                case Key::PaType:
                    area->ParticleKind = ParticleKindOf(*value);
                    break;
                case Key::PaXSpeed:
                    area->XSpeed = ParseMapDecimal(*value, key);
                    break;
                case Key::PaYSpeed:
                    area->YSpeed = ParseMapDecimal(*value, key);
                    break;
                case Key::PaRandomXSpeed:
                    area->RandomXSpeed = ParseMapDecimal(*value, key);
                    break;
                case Key::PaRandomYSpeed:
                    area->RandomYSpeed = ParseMapDecimal(*value, key);
                    break;
                default:
                    break;
                }
            }
        }
    }
    if (!middleGiven) throw TWorldError("The map '" + mapFile + "' names no MIDDLE= picture");

    const Surface& m = MiddleLayer;
    const float centreX = float(m.Width / 2);
    const float centreY = float(m.Height / 2);
    if (!playerGiven[0]) spawn.PlayerX[0] = centreX;
    if (!playerGiven[1]) spawn.PlayerY[0] = centreY;
    if (!playerGiven[2]) spawn.PlayerX[1] = centreX;
    if (!playerGiven[3]) spawn.PlayerY[1] = centreY;

    BackParallaxX = Parallax(back.Width, m.Width, ViewWidth);
    BackParallaxY = Parallax(back.Height, m.Height, ViewHeight);
    FrontParallaxX = Parallax(FrontLayer.Width, m.Width, ViewWidth);
    FrontParallaxY = Parallax(FrontLayer.Height, m.Height, ViewHeight);

    const int gridW = m.Width;
    const int gridH = m.Height + 1;
    TerrainBitmap.SetSize(gridW, gridH);

    if (back.Width > 0) {
        std::array<uint64_t, 3> sum{};
        for (int i = 0; i < BackSamples; ++i) {
            const int x = Rng.Random(back.Width);
            const int y = Rng.Random(back.Height);
            const uint32_t px = back.Pixel(x, y);
            sum[0] += (px >> 16) & 0xFF;
            sum[1] += (px >> 8) & 0xFF;
            sum[2] += px & 0xFF;
        }
        for (size_t c = 0; c < 3; ++c)
            BackAverage[c] = uint8_t(sum[c] / BackSamples);
    }

    // Rows top to bottom, pixels left to right: this fixes the order of the random draws. The grid is
    // as wide as the MIDDLE picture; its last row lies under the picture and counts as not black.
    for (int y = 0; y < gridH; ++y) {
        uint8_t* row = TerrainBitmap.Row(y);
        uint32_t* middle = MiddleLayer.Row(y);
        const auto black = [&](int x) { return middle != nullptr && (middle[x] & 0xFFFFFF) == 0; };
        if (!dotMapGiven) {
            for (int x = 0; x < gridW; ++x)
                row[x] = black(x) ? TerrainEmpty : TerrainGround;
            continue;
        }
        // The dot map is read as if resized to the grid keeping its top-left corner; what it does
        // not cover is empty.
        const uint32_t* dot = dots.Row(y);
        const int dotWidth = dot != nullptr ? std::min(dots.Width, gridW) : 0;
        for (int x = 0; x < gridW; ++x) {
            const uint32_t px = x < dotWidth ? dot[x] : 0;
            const uint32_t r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
            if (r == 255 && g == 255 && b == 255) {
                row[x] = TerrainSnow;
                if (black(x)) {
                    const int grey = 255 - Rng.Random(8);
                    middle[x] = Rgb(grey, grey, grey);
                }
            } else if (b == 255) {
                row[x] = TerrainWater;
                if ((x + y) % 2 == 0) {
                    const int shade = Rng.Random(95);
                    if (middle != nullptr) middle[x] = Rgb(shade, shade, 255);
                } else if (middle != nullptr) {
                    middle[x] = 0;
                }
            } else if (g == 255) {
                row[x] = TerrainGround;
            } else if (r == 255) {
                row[x] = TerrainPad;
            } else {
                row[x] = TerrainEmpty;
            }
        }
    }

    // The BACK picture drawn over the base colour, its black (its colour key) showing the base: done
    // in place, as the picture is not needed as read any more.
    for (uint32_t& px : back.Pixels)
        px = px != back.TransparentColor ? px : ColourValueOne;
    BackLayer = std::move(back);
    BackLayer.TransparentColor = 0;
    return spawn;
}
