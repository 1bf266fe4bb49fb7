// ImageList: pattern geometry, pattern drawing and lookup by name.
#include "media/ImageList.h"

#include "media/MediaError.h"

int TPictureItem::PatternCount() const {
    const int cw = CellWidth(), ch = CellHeight();
    if (cw <= 0 || ch <= 0) return 0;
    return (Picture.Width / cw) * (Picture.Height / ch);
}

TRect TPictureItem::PatternRect(int pattern) const {
    const int cw = CellWidth(), ch = CellHeight();
    const int perRow = cw > 0 ? Picture.Width / cw : 0;
    if (perRow <= 0) return TRect{};
    return Bounds((pattern % perRow) * cw, (pattern / perRow) * ch, cw, ch);
}

void TPictureItem::Draw(Surface& target, int x, int y, int pattern) const {
    if (pattern < 0 || pattern >= PatternCount()) return;
    target.DrawRect(x, y, Picture, PatternRect(pattern), Transparent);
}

TPictureItem& TImageList::Add(TPictureItem item) {
    // The key lives on the surface that is blitted; Add keeps the two in step.
    item.Picture.TransparentColor = item.TransparentColor;
    Items.push_back(std::move(item));
    return Items.back();
}

const TPictureItem* TImageList::TryFind(const std::string& name) const {
    for (const TPictureItem& item : Items)
        if (item.Name == name) return &item;
    return nullptr;
}

const TPictureItem& TImageList::Find(const std::string& name) const {
    const TPictureItem* item = TryFind(name);
    if (item == nullptr) throw TMediaError("Image '" + name + "' not found", name);
    return *item;
}
