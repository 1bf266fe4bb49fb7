// Surface: a 32-bit picture (0x00RRGGBB pixels, black colour key) with clipped drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0; // exclusive
    int Bottom = 0; // exclusive
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

// The largest picture a role allows. A file whose header says more is refused before any pixel
// is decoded, so a few bytes can never ask for gigabytes.
struct TPictureLimit {
    int MaxWidth = 0;
    int MaxHeight = 0;
    int64_t MaxPixels = 0;
};
constexpr TPictureLimit ShipPictureLimit{64, 64, 64 * 64};    // ships and the pilot figure
constexpr TPictureLimit FlagPictureLimit{64, 64, 64 * 64};
constexpr TPictureLimit MenuPictureLimit{1024, 1024, 1024 * 1024};
constexpr int64_t WorldPixelBudget = 64 * 1024 * 1024; // 256 MB of 32-bit pixels
constexpr TPictureLimit MapLayerLimit{16384, 16384, WorldPixelBudget};

// The most bytes read of a picture file within the limit of its role.
size_t PictureReadLimit(const TPictureLimit& limit);

inline TRect Bounds(int x, int y, int w, int h) { return TRect{x, y, x + w, y + h}; }

// Records and drawing contexts speak Windows colour values 0x00BBGGRR; surfaces hold 0x00RRGGBB.
inline uint32_t WinToPixel(uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
inline uint32_t PixelToWin(uint32_t rgb) { return WinToPixel(rgb); }
inline uint32_t Rgb(int r, int g, int b) {
    return (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}

class Surface {
  public:
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels; // row-major, Width * Height, top row first
    uint32_t TransparentColor = 0;

    Surface() = default;
    Surface(int w, int h) { SetSize(w, h); }

    // New size, every pixel black. Negative sizes give an empty surface.
    void SetSize(int w, int h);
    bool Empty() const { return Width <= 0 || Height <= 0; }

    // Loads a .bmp (1-, 4-, 8-, 24- or 32-bit) within the limit of its role; on failure the
    // surface is left as it was. Only a regular file is read, and no more bytes than the limit
    // allows.
    bool LoadFromFile(const std::string& path, const TPictureLimit& limit);
    bool LoadFromMemory(const uint8_t* data, size_t size, const TPictureLimit& limit = MapLayerLimit);
    // Writes an uncompressed 24-bit .bmp; false when the file cannot be written.
    bool SaveToBmp(const std::string& path) const;
    // Encodes the surface as a 24-bit .bmp in memory.
    std::vector<uint8_t> EncodeBmp() const;
    bool SaveToPng(const std::string& path) const;

    void Fill(uint32_t color);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    // Outside reads give black; outside writes are dropped.
    uint32_t Pixel(int x, int y) const { return Contains(x, y) ? Pixels[size_t(y) * size_t(Width) + size_t(x)] : 0; }
    void SetPixel(int x, int y, uint32_t c) {
        if (Contains(x, y)) Pixels[size_t(y) * size_t(Width) + size_t(x)] = c;
    }
    uint32_t* Row(int y) { return (y >= 0 && y < Height) ? Pixels.data() + size_t(y) * size_t(Width) : nullptr; }
    const uint32_t* Row(int y) const {
        return (y >= 0 && y < Height) ? Pixels.data() + size_t(y) * size_t(Width) : nullptr;
    }
    TRect ClientRect() const { return TRect{0, 0, Width, Height}; }

    // Blits; a transparent blit skips source pixels equal to the source's TransparentColor.
    void Draw(int x, int y, const Surface& src, bool transparent);
    void DrawRect(int x, int y, const Surface& src, const TRect& srcRect, bool transparent);
    // Nearest-neighbour stretch of srcRect onto dst.
    void StretchDraw(const TRect& dst, const Surface& src, const TRect& srcRect, bool transparent);
    // Draws srcRect scaled to w x h and turned by angle (256ths of a turn, counter-clockwise on
    // screen) so that the point (centerX, centerY) of it, given as fractions of its size, lands on (x, y).
    void DrawRotated(int x, int y, int w, int h, const Surface& src, const TRect& srcRect, double centerX,
                     double centerY, int angle, bool transparent);

  private:
    bool LoadPlainBmp(const uint8_t* data);
};
