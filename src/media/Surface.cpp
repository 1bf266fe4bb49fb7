// Surface: clipped blits, stretch, rotation and .bmp/.png input and output.
#include "media/Surface.h"

#include "media/SafeRead.h"

#include <algorithm>
#include <cmath>
#include <fstream>

extern "C" {
unsigned char* stbi_load_from_memory(const unsigned char* buffer, int len, int* x, int* y, int* channels_in_file,
                                     int desired_channels);
void stbi_image_free(void* retval_from_stbi_load);
int stbi_info_from_memory(const unsigned char* buffer, int len, int* x, int* y, int* comp);
int stbi_write_png(const char* filename, int w, int h, int comp, const void* data, int stride_in_bytes);
}

void Surface::SetSize(int w, int h) {
    Width = std::max(0, w);
    Height = std::max(0, h);
    Pixels.assign(size_t(Width) * size_t(Height), 0u);
}

size_t PictureReadLimit(const TPictureLimit& limit) {
    // Four bytes a pixel and room for the largest header and palette is more than any
    // uncompressed bitmap of the allowed size takes.
    const uint64_t fitting = uint64_t(std::max<int64_t>(limit.MaxPixels, 0)) * 4u + 64u * 1024u;
    return size_t(std::min<uint64_t>(fitting, PictureFileLimit));
}

bool Surface::LoadFromFile(const std::string& path, const TPictureLimit& limit) {
    const TReadResult file = ReadFileBounded(path, PictureReadLimit(limit));
    return file.Ok() && LoadFromMemory(file.Bytes.data(), file.Bytes.size(), limit);
}

static uint32_t Get16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
static uint32_t Get32(const uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

// The header is checked before the decoder sees it: the size must fit the role, and the file must
// hold every row it announces (the decoder would read zeros past the end of a cut-off file and
// hand back a black picture, which the game would take for a fully transparent one). Run-length
// and other compressed kinds are not pictures of this game.
static bool BmpHeaderFits(const uint8_t* data, size_t size, const TPictureLimit& limit) {
    const uint32_t offset = Get32(data + 10);
    const uint32_t headerSize = Get32(data + 14);
    int64_t w = 0, h = 0;
    uint32_t bits = 0, compression = 0;
    if (headerSize == 12) {
        w = Get16(data + 18);
        h = Get16(data + 20); // the small header's height is unsigned and never flips the rows
        bits = Get16(data + 24);
    } else {
        w = int32_t(Get32(data + 18));
        h = int32_t(Get32(data + 22));
        bits = Get16(data + 28);
        compression = Get32(data + 30);
    }
    if (compression != 0 && compression != 3) return false;
    if (w <= 0 || h == 0 || bits == 0 || bits > 32) return false;
    const int64_t rows = h < 0 ? -h : h;
    if (w > limit.MaxWidth || rows > limit.MaxHeight || w * rows > limit.MaxPixels) return false;
    const uint64_t rowBytes = (uint64_t(w) * bits + 31) / 32 * 4;
    return uint64_t(offset) + rowBytes * uint64_t(rows) <= size;
}

// The kind every picture of the game is written in - 24 bits a pixel, uncompressed, rows stored bottom
// up right after the 54-byte headers - is read straight into the pixels, with the decoder's very
// result (blue, green, red in the file, rows padded to four bytes) and no copy in between: a large
// map's layers are tens of megabytes, and each match start reads them. False for any other kind.
// The header must already have passed BmpHeaderFits.
bool Surface::LoadPlainBmp(const uint8_t* data) {
    const int32_t w = int32_t(Get32(data + 18)), h = int32_t(Get32(data + 22));
    if (Get32(data + 10) != 54 || Get32(data + 14) != 40 || Get16(data + 26) != 1 || Get16(data + 28) != 24 ||
        Get32(data + 30) != 0 || w <= 0 || h <= 0)
        return false;
    SetSize(w, h);
    const size_t rowBytes = (size_t(w) * 3 + 3) & ~size_t(3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = data + 54 + size_t(h - 1 - y) * rowBytes;
        uint32_t* d = Row(y);
        for (int x = 0; x < w; ++x, s += 3)
            d[x] = (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | uint32_t(s[0]);
    }
    return true;
}

bool Surface::LoadFromMemory(const uint8_t* data, size_t size, const TPictureLimit& limit) {
    // Only Windows bitmaps are pictures of this game; anything else is refused.
    if (size < 54 || data[0] != 'B' || data[1] != 'M' || size > 0x7FFFFFFF) return false;
    if (!BmpHeaderFits(data, size, limit)) return false;
    if (LoadPlainBmp(data)) return true;
    int w = 0, h = 0, comp = 0;
    // The decoder's own reading of the size is checked too, before it allocates anything.
    if (stbi_info_from_memory(data, int(size), &w, &h, &comp) == 0) return false;
    if (w <= 0 || h <= 0 || w > limit.MaxWidth || h > limit.MaxHeight || int64_t(w) * h > limit.MaxPixels)
        return false;
    unsigned char* rgb = stbi_load_from_memory(data, int(size), &w, &h, &comp, 3);
    if (rgb == nullptr) return false;
    SetSize(w, h);
    for (size_t i = 0; i < Pixels.size(); ++i)
        Pixels[i] = (uint32_t(rgb[3 * i]) << 16) | (uint32_t(rgb[3 * i + 1]) << 8) | uint32_t(rgb[3 * i + 2]);
    stbi_image_free(rgb);
    return true;
}

static void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}
static void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

std::vector<uint8_t> Surface::EncodeBmp() const {
    const size_t rowBytes = (size_t(Width) * 3 + 3) & ~size_t(3);
    const size_t imageBytes = rowBytes * size_t(Height);
    std::vector<uint8_t> out(54 + imageBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, 54);
    Put32(out, 14, 40);
    Put32(out, 18, uint32_t(Width));
    Put32(out, 22, uint32_t(Height));
    Put16(out, 26, 1);
    Put16(out, 28, 24);
    Put32(out, 34, uint32_t(imageBytes));
    Put32(out, 38, 2835);
    Put32(out, 42, 2835);
    for (int y = 0; y < Height; ++y) {
        const uint32_t* row = Row(Height - 1 - y);
        uint8_t* dst = out.data() + 54 + size_t(y) * rowBytes;
        for (int x = 0; x < Width; ++x) {
            dst[3 * x] = uint8_t(row[x]);
            dst[3 * x + 1] = uint8_t(row[x] >> 8);
            dst[3 * x + 2] = uint8_t(row[x] >> 16);
        }
    }
    return out;
}

bool Surface::SaveToBmp(const std::string& path) const {
    std::vector<uint8_t> bytes = EncodeBmp();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool Surface::SaveToPng(const std::string& path) const {
    if (Empty()) return false;
    std::vector<uint8_t> rgb(Pixels.size() * 3);
    for (size_t i = 0; i < Pixels.size(); ++i) {
        rgb[3 * i] = uint8_t(Pixels[i] >> 16);
        rgb[3 * i + 1] = uint8_t(Pixels[i] >> 8);
        rgb[3 * i + 2] = uint8_t(Pixels[i]);
    }
    return stbi_write_png(path.c_str(), Width, Height, 3, rgb.data(), Width * 3) != 0;
}

void Surface::Fill(uint32_t color) { std::fill(Pixels.begin(), Pixels.end(), color); }

void Surface::Draw(int x, int y, const Surface& src, bool transparent) {
    DrawRect(x, y, src, src.ClientRect(), transparent);
}

void Surface::DrawRect(int x, int y, const Surface& src, const TRect& srcRect, bool transparent) {
    // Clip the source rectangle to the source, moving the destination with it.
    int sl = srcRect.Left, st = srcRect.Top, sr = srcRect.Right, sb = srcRect.Bottom;
    if (sl < 0) { x -= sl; sl = 0; }
    if (st < 0) { y -= st; st = 0; }
    sr = std::min(sr, src.Width);
    sb = std::min(sb, src.Height);
    // Then clip against the destination.
    if (x < 0) { sl -= x; x = 0; }
    if (y < 0) { st -= y; y = 0; }
    sr = std::min(sr, sl + (Width - x));
    sb = std::min(sb, st + (Height - y));
    if (sr <= sl || sb <= st) return;
    const int w = sr - sl;
    const uint32_t key = src.TransparentColor;
    for (int row = st; row < sb; ++row) {
        const uint32_t* s = src.Row(row) + sl;
        uint32_t* d = Row(y + row - st) + x;
        if (!transparent) {
            std::copy(s, s + w, d);
        } else {
            for (int i = 0; i < w; ++i)
                if (s[i] != key) d[i] = s[i];
        }
    }
}

void Surface::StretchDraw(const TRect& dst, const Surface& src, const TRect& srcRect, bool transparent) {
    const int dw = dst.Width(), dh = dst.Height();
    const int sw = srcRect.Width(), sh = srcRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const int x0 = std::max(dst.Left, 0), x1 = std::min(dst.Right, Width);
    const int y0 = std::max(dst.Top, 0), y1 = std::min(dst.Bottom, Height);
    const uint32_t key = src.TransparentColor;
    for (int y = y0; y < y1; ++y) {
        const int sy = srcRect.Top + int((int64_t(y - dst.Top) * sh) / dh);
        if (sy < 0 || sy >= src.Height) continue;
        const uint32_t* s = src.Row(sy);
        uint32_t* d = Row(y);
        for (int x = x0; x < x1; ++x) {
            const int sx = srcRect.Left + int((int64_t(x - dst.Left) * sw) / dw);
            if (sx < 0 || sx >= src.Width) continue;
            const uint32_t c = s[sx];
            if (!transparent || c != key) d[x] = c;
        }
    }
}

void Surface::DrawRotated(int x, int y, int w, int h, const Surface& src, const TRect& srcRect, double centerX,
                          double centerY, int angle, bool transparent) {
    const int sw = srcRect.Width(), sh = srcRect.Height();
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    const double theta = double(((angle % 256) + 256) % 256) * (2.0 * M_PI / 256.0);
    const double c = std::cos(theta), s = std::sin(theta);
    // Corners of the drawn rectangle relative to the pivot, turned, give the box to scan.
    const double left = -centerX * w, top = -centerY * h;
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int k = 0; k < 4; ++k) {
        const double px = left + ((k & 1) ? w : 0), py = top + ((k & 2) ? h : 0);
        const double rx = px * c + py * s, ry = -px * s + py * c;
        minX = std::min(minX, rx);
        maxX = std::max(maxX, rx);
        minY = std::min(minY, ry);
        maxY = std::max(maxY, ry);
    }
    const int bx0 = std::max(0, int(std::floor(x + minX))), bx1 = std::min(Width, int(std::ceil(x + maxX)) + 1);
    const int by0 = std::max(0, int(std::floor(y + minY))), by1 = std::min(Height, int(std::ceil(y + maxY)) + 1);
    const uint32_t key = src.TransparentColor;
    for (int dy = by0; dy < by1; ++dy) {
        uint32_t* d = Row(dy);
        for (int dx = bx0; dx < bx1; ++dx) {
            const double rx = dx + 0.5 - x, ry = dy + 0.5 - y;
            const double u = rx * c - ry * s - left, v = rx * s + ry * c - top; // back into the drawn rectangle
            if (u < 0 || v < 0 || u >= w || v >= h) continue;
            const int sx = srcRect.Left + int(u * sw / w), sy = srcRect.Top + int(v * sh / h);
            if (!src.Contains(sx, sy)) continue;
            const uint32_t px = src.Pixels[size_t(sy) * size_t(src.Width) + size_t(sx)];
            if (!transparent || px != key) d[dx] = px;
        }
    }
}
