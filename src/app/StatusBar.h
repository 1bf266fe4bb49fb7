// StatusBar: TStatusBar, the in-match status bar, and the rows of the weapon pages that hang under a ship.
#pragma once

#include "combat/Weapon.h"
#include "media/ImageList.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <string>

class TFiles;
class TWorld;
struct TOptions;

// [player][slot]: slot 0 fires with the first fire key, slot 1 with the second.
using TPlayerWeapons = std::array<std::array<TWeapon, 2>, 2>;

// The bar under the views: the pilots' names and the score and lives digits on its background, and
// over it the four bars of each ship and the ready mark of the second weapon.
class TStatusBar {
  public:
    Surface Bars;  // the overlays that cover what is missing of a bar
    Surface Panel; // the background with the names and digits of this match
    // The points the digits show, so they are drawn again only when a score changes.
    std::array<int64_t, 2> LastDrawnScore{-1, -1};

    // Start-up: the overlays, and no background until a match begins.
    void Load(const TFiles& files);
    // A new match: the background with both pilots' names and the first digits.
    void BeginMatch(const TFiles& files, const TImageList& images, const TOptions& options,
                    const TWorld& world);
    // The score and lives digits onto the background.
    void DrawDigits(const TImageList& images, const TWorld& world);
    // The background and the bars onto the bottom of the screen.
    void Draw(Surface& target, const TImageList& images, const TWorld& world,
              const TPlayerWeapons& weapons) const;
};

// Redraws row `row` (0..4) of a weapon page: a box outlined in grey and filled with `colour` (a
// Windows colour value 0x00BBGGRR) when highlighted, plain black when `colour` is 0, with the text
// centred on it in the green font.
void DrawPageRow(Surface& page, int row, const std::string& text, uint32_t colour,
                 const TPictureItem& greenFont);
