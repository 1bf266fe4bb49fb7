// ImageList: named pictures cut into fixed-size patterns (fonts, medals, marks).
#pragma once

#include "media/Surface.h"

#include <string>
#include <vector>

struct TPictureItem {
    std::string Name;
    Surface Picture;
    int PatternWidth = 0;  // 0 = the whole width
    int PatternHeight = 0; // 0 = the whole height
    bool Transparent = true;
    uint32_t TransparentColor = 0; // 0x00RRGGBB

    int CellWidth() const { return PatternWidth > 0 ? PatternWidth : Picture.Width; }
    int CellHeight() const { return PatternHeight > 0 ? PatternHeight : Picture.Height; }
    // (width div pattern width) x (height div pattern height); 0 for an empty picture.
    int PatternCount() const;
    // Cells are numbered left to right, then top to bottom.
    TRect PatternRect(int pattern) const;
    // Draws one pattern at (x, y) honouring the item's transparency; a pattern outside
    // [0, PatternCount) draws nothing.
    void Draw(Surface& target, int x, int y, int pattern) const;
};

class TImageList {
  public:
    std::vector<TPictureItem> Items;

    TPictureItem& Add(TPictureItem item);
    // Raises TMediaError "Image '%s' not found" for an unknown name.
    const TPictureItem& Find(const std::string& name) const;
    const TPictureItem* TryFind(const std::string& name) const;
};
