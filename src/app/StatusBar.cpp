// StatusBar: the four bars, the ready mark, the score and lives digits, and the weapon page rows.
#include "app/StatusBar.h"

#include "core/Files.h"
#include "core/OptionsFile.h"
#include "media/Canvas.h"
#include "text/Font.h"
#include "world/World.h"

#include <cmath>

namespace {

constexpr int StatusTop = 430;
constexpr int BarLength = 160;
constexpr int BarEnds[2] = {223, 578}; // exclusive
constexpr int SlotTwoSteps = 20;
constexpr int StepWidth = 8;

// How much of a bar the overlay covers: the missing share of 160 pixels, truncated. Health can
// dip below 0 for a frame and a tank can overflow, so the width is kept to 0..160.
int OverlayWidth(double missing, double full) {
    const double w = missing / full * BarLength;
    if (!(w > 0)) return 0;
    if (w >= BarLength) return BarLength;
    return int(std::trunc(w));
}

// The overlay shows what is missing at the right-hand end of a bar.
void DrawOverlay(Surface& target, const Surface& bars, int end, int y, int w, int sourceTop) {
    if (w <= 0) return;
    w = std::min(w, BarLength);
    target.DrawRect(end - w, y, bars, TRect{BarLength - w, sourceTop, BarLength, sourceTop + 8}, false);
}

// Unlit places lead up to three digits, so 7 shows as two dark digits and a 7.
std::string DigitText(uint64_t value) {
    std::string text = std::to_string(value);
    while (text.size() < 3)
        text.insert(text.begin(), '.');
    return text;
}

} // namespace

void DrawPageRow(Surface& page, int row, const std::string& text, uint32_t colour,
                 const TPictureItem& greenFont) {
    Canvas canvas(page);
    canvas.BrushColor = colour;
    canvas.PenColor = colour != 0 ? 0x555555u : 0u;
    canvas.Rectangle(0, 8 * row, 78, 8 * row + 8);
    canvas.Release();
    DrawText(page, greenFont, 39 - TextWidth(greenFont, text) / 2, 8 * row + 1, text);
}

void TStatusBar::Load(const TFiles& files) {
    const std::filesystem::path bars = files.ForReading("graphics\\menu\\status_bars.bmp");
    if (!bars.empty()) Bars.LoadFromFile(bars.string(), MenuPictureLimit);
    Panel = Surface();
}

void TStatusBar::BeginMatch(const TFiles& files, const TImageList& images, const TOptions& options,
                            const TWorld& world) {
    Panel = Surface();
    const std::filesystem::path background = files.ForReading("graphics\\menu\\status_bg.bmp");
    if (!background.empty()) Panel.LoadFromFile(background.string(), MenuPictureLimit);
    const TPictureItem& font = images.Find("BlueFont");
    for (int p = 0; p < 2; ++p) {
        const std::string name = options.Players[size_t(p)].Name.Str();
        DrawText(Panel, font, 267 + 106 * p - TextWidth(font, name) / 2, 10, name);
    }
    DrawDigits(images, world);
}

void TStatusBar::DrawDigits(const TImageList& images, const TWorld& world) {
    const TPictureItem& score = images.Find("7SegFontRed");
    const TPictureItem& lives = images.Find("7SegFont");
    for (int p = 0; p < 2; ++p) {
        DrawText(Panel, score, 238 + 142 * p, 24, DigitText(world.Match.Players[size_t(p)].Points));
        // With unlimited lives the picture's own artwork stays where the lives would be.
        if (world.UnlimitedLives == 0)
            DrawText(Panel, lives, 274 + 70 * p, 24, DigitText(world.Ships[size_t(p)].Lives));
    }
}

void TStatusBar::Draw(Surface& target, const TImageList& images, const TWorld& world,
                      const TPlayerWeapons& weapons) const {
    target.Draw(0, StatusTop, Panel, false);
    const TPictureItem& ready = images.Find("Ready");
    for (int p = 0; p < 2; ++p) {
        const TShip& ship = world.Ships[size_t(p)];
        const TWeapon& slot1 = weapons[size_t(p)][0];
        const TWeapon& slot2 = weapons[size_t(p)][1];
        const int end = BarEnds[p];
        DrawOverlay(target, Bars, end, 436, OverlayWidth(100 - double(ship.Health), 100), 0);
        DrawOverlay(target, Bars, end, 446, OverlayWidth(200 - double(ship.Fuel), 200), 0);
        DrawOverlay(target, Bars, end, 456, OverlayWidth(100 - double(slot1.Ammo), 100), 0);
        const int shots = slot2.ShotsLeft();
        DrawOverlay(target, Bars, end, 466, (SlotTwoSteps - shots) * StepWidth, 9);
        // The mark sits on the last full step; with more than 20 shots it walks past the bar's end.
        if (ship.OnFoot == 0 && slot2.IsReady(world))
            ready.Draw(target, end - (SlotTwoSteps + 1 - shots) * StepWidth, 466, 0);
    }
}
