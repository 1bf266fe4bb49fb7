// Menu: pointer-driven bitmap menus (TGameMenu) and their buttons and hot areas (TGameMenuItem).
#pragma once

#include "core/GameMath.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TFiles;

// One button with idle, highlighted and clicked pictures, or an invisible hot area.
class TGameMenuItem {
  public:
    std::array<Surface, 3> Images{}; // 0 idle (suffix I), 1 highlighted (H), 2 clicked (C)
    uint16_t X = 0;                  // top-left corner, relative to the menu's offset
    uint16_t Y = 0;
    uint16_t Width = 0; // size of the hot rectangle
    uint16_t Height = 0;
    uint8_t State = 0;    // 0 idle, 1 pointer over it, 2 clicked in the last update
    bool Pressed = false; // the button went down over the item and is still down
    bool Visible = true;  // an invisible item is neither drawn nor clickable
    // The button as the last update saw it, so a press is told from a button held since elsewhere.
    bool ButtonWasDown = false;

    // A button: three empty pictures and no size until pictures are loaded.
    TGameMenuItem(uint16_t x, uint16_t y) : X(x), Y(y) {}
    // A hot area of the given size without pictures.
    TGameMenuItem(uint16_t x, uint16_t y, uint16_t width, uint16_t height)
        : X(x), Y(y), Width(width), Height(height) {}

    // Loads one picture into all three states when the file exists, then takes the size from the
    // idle picture (0 x 0 when it stayed empty).
    void LoadImage(const TFiles& files, const std::string& file);
    // Loads each existing file into its state; a missing file leaves that picture as it was.
    void LoadImages(const TFiles& files, const std::string& idle, const std::string& highlighted,
                    const std::string& clicked);

    // One pointer update in menu-relative coordinates; a click is the release of a button that
    // went down over the item without the pointer leaving it. A button pressed elsewhere and
    // carried onto the item never arms it.
    void Update(uint16_t px, uint16_t py, bool button);
    void Draw(Surface& target, int offsetX, int offsetY) const;
    bool IsClicked() const { return State == 2; }
};

// A list of items and one animated pointer. The owner feeds the mouse in with MoveCursor once a
// frame and asks ItemClicked afterwards; a click stays visible until the next MoveCursor.
class TGameMenu {
  public:
    static constexpr int CursorFrames = 10;

    uint16_t MaxX = 0; // inclusive bounds of the pointer
    uint16_t MaxY = 0;
    const TFiles* Files = nullptr; // where the item pictures are loaded from; outlives the menu
    Surface Cursor;                // animation strip of CursorFrames frames side by side
    float CursorFrame = 0;         // current animation frame, 0 at rest
    std::vector<TGameMenuItem> Items;
    int16_t CursorX = 0;
    int16_t CursorY = 0;
    int16_t OffsetX = 0; // items are drawn and hit-tested relative to this origin
    int16_t OffsetY = 0;

    // Loads the pointer strip when the file exists (otherwise the pointer is invisible).
    TGameMenu(const TFiles& files, const std::string& cursorFile, uint16_t maxX, uint16_t maxY);

    // Frees every item, then the pointer; the menu is left empty and can be filled again.
    void Destroy();

    void SetCursorPos(int16_t x, int16_t y) {
        CursorX = x;
        CursorY = y;
    }
    // Moves and clamps the pointer, then updates every item, visible or not.
    void MoveCursor(int16_t dx, int16_t dy, bool button);
    // False for an index past the last item: list screens ask for arrows they never added.
    bool ItemClicked(int index) const;
    int ItemCount() const { return static_cast<int>(Items.size()); }

    // Each returns the new item's index.
    int AddImageItem(uint16_t x, uint16_t y, const std::string& file);
    int AddItem(uint16_t x, uint16_t y, const std::string& idle, const std::string& highlighted,
                const std::string& clicked);
    int AddArea(uint16_t x, uint16_t y, uint16_t width, uint16_t height);

    void Draw(Surface& target) const;
    // Advances the pointer animation by the frame rate `speed` and draws the pointer with its
    // top-left corner as the hot spot; `random` starts its blinks.
    void DrawCursor(Surface& target, uint16_t speed, TRandom& random);
};
