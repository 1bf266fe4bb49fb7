// Menu: pointer movement, the click rule and drawing of the bitmap menus.
#include "frontend/Menu.h"

#include "core/Files.h"

#include <algorithm>
#include <cmath>

namespace {
// Loads a picture through the game's path layer; a missing or unreadable file leaves it untouched.
void LoadPicture(const TFiles& files, Surface& picture, const std::string& file) {
    const std::filesystem::path path = files.ForReading(file);
    if (path.empty()) return;
    picture.LoadFromFile(path.string(), MenuPictureLimit);
}

uint16_t Clamp16(int v) {
    return static_cast<uint16_t>(std::clamp(v, 0, 0xFFFF));
}
} // namespace

void TGameMenuItem::LoadImage(const TFiles& files, const std::string& file) {
    const std::filesystem::path path = files.ForReading(file);
    if (!path.empty()) {
        Surface picture;
        if (picture.LoadFromFile(path.string(), MenuPictureLimit)) Images.fill(picture);
    }
    Width = Clamp16(Images[0].Width);
    Height = Clamp16(Images[0].Height);
}

void TGameMenuItem::LoadImages(const TFiles& files, const std::string& idle, const std::string& highlighted,
                               const std::string& clicked) {
    LoadPicture(files, Images[0], idle);
    LoadPicture(files, Images[1], highlighted);
    LoadPicture(files, Images[2], clicked);
    // An item whose idle picture is missing gets no hot rectangle, so it can never fire.
    Width = Clamp16(Images[0].Width);
    Height = Clamp16(Images[0].Height);
}

void TGameMenuItem::Update(uint16_t px, uint16_t py, bool button) {
    const bool wentDown = button && !ButtonWasDown;
    ButtonWasDown = button;
    if (!Visible) {
        State = 0;
        return;
    }
    const bool inside = px >= X && int(px) < int(X) + int(Width) && py >= Y && int(py) < int(Y) + int(Height);
    if (!inside) {
        // Leaving the item forgets the press, so sliding back on and releasing does not fire.
        State = 0;
        Pressed = false;
        return;
    }
    State = 1;
    if (!button && Pressed) State = 2;
    // Only a press that starts here arms the item; one carried in from outside, or brought back
    // after leaving, must not fire on release.
    Pressed = Pressed ? button : wentDown;
}

void TGameMenuItem::Draw(Surface& target, int offsetX, int offsetY) const {
    // While held over the item it shows pressed; after sliding off with the button down it stays lit.
    size_t image = std::min<size_t>(State, Images.size() - 1);
    if (Pressed) image = State == 1 ? 2 : 1;
    target.Draw(int(X) + offsetX, int(Y) + offsetY, Images[image], true);
}

TGameMenu::TGameMenu(const TFiles& files, const std::string& cursorFile, uint16_t maxX, uint16_t maxY)
    : MaxX(maxX), MaxY(maxY), Files(&files) {
    LoadPicture(files, Cursor, cursorFile);
}

void TGameMenu::Destroy() {
    Items.clear();
    Cursor = Surface();
    CursorFrame = 0;
}

void TGameMenu::MoveCursor(int16_t dx, int16_t dy, bool button) {
    // The pointer moves in 16-bit arithmetic: a huge jump wraps and lands on 0.
    CursorX = static_cast<int16_t>(CursorX + dx);
    CursorY = static_cast<int16_t>(CursorY + dy);
    if (CursorX > MaxX) CursorX = static_cast<int16_t>(MaxX);
    if (CursorY > MaxY) CursorY = static_cast<int16_t>(MaxY);
    if (CursorX < 0) CursorX = 0;
    if (CursorY < 0) CursorY = 0;
    // A pointer left of or above the menu origin wraps to a large value and misses every item.
    const uint16_t px = static_cast<uint16_t>(CursorX - OffsetX);
    const uint16_t py = static_cast<uint16_t>(CursorY - OffsetY);
    for (TGameMenuItem& item : Items)
        item.Update(px, py, button);
}

bool TGameMenu::ItemClicked(int index) const {
    if (index < 0 || index >= ItemCount()) return false;
    return Items[size_t(index)].IsClicked();
}

int TGameMenu::AddImageItem(uint16_t x, uint16_t y, const std::string& file) {
    Items.emplace_back(x, y);
    Items.back().LoadImage(*Files, file);
    return ItemCount() - 1;
}

int TGameMenu::AddItem(uint16_t x, uint16_t y, const std::string& idle, const std::string& highlighted,
                       const std::string& clicked) {
    Items.emplace_back(x, y);
    Items.back().LoadImages(*Files, idle, highlighted, clicked);
    return ItemCount() - 1;
}

int TGameMenu::AddArea(uint16_t x, uint16_t y, uint16_t width, uint16_t height) {
    Items.emplace_back(x, y, width, height);
    return ItemCount() - 1;
}

void TGameMenu::Draw(Surface& target) const {
    for (const TGameMenuItem& item : Items)
        if (item.Visible) item.Draw(target, OffsetX, OffsetY);
}

void TGameMenu::DrawCursor(Surface& target, uint16_t speed, TRandom& random) {
    // A speed of 0 would divide by zero; the slowest real frame rate is 1.
    const float s = float(std::max<uint16_t>(speed, 1));
    if (CursorFrame > 0) {
        CursorFrame += 20.0f / s;
        if (CursorFrame >= float(CursorFrames)) CursorFrame = 0;
    } else if (random.Random(200) == 0) {
        CursorFrame += 10.0f / s;
    }
    // At very low frame rates a run starts at frame 10, one past the strip: show its last frame.
    const int frame = std::clamp(static_cast<int>(std::trunc(CursorFrame)), 0, CursorFrames - 1);
    const int w = Cursor.Width / CursorFrames;
    // The strip's bottom row is not part of the pointer and is never shown.
    const TRect source{frame * w, 0, (frame + 1) * w, Cursor.Height - 1};
    target.DrawRect(CursorX, CursorY, Cursor, source, true);
}
