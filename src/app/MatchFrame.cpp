// MatchFrame: one frame of a running match, from the time base to the medal notices, and the quick start.
#include "app/Game.h"

#include "app/OnlinePlay.h"
#include "app/StatusBar.h"
#include "core/GameMath.h"
#include "core/Replay.h"
#include "core/WeaponNames.h"
#include "media/Platform.h"
#include "world/World.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int8_t NoPageOpen = 127;
constexpr int PageRows = 5;
// Highlights as Windows colour values: blue-grey for the first page, red-grey for the second.
constexpr uint32_t PageHighlight[2] = {0x804040, 0x404080};

struct THeld {
    bool Thrust = false;
    bool Left = false;
    bool Right = false;
    bool Fire1 = false;
    bool Fire2 = false;
};

THeld Read(const TTickInput& input, int p) {
    return THeld{input.Has(p, actThrust), input.Has(p, actLeft), input.Has(p, actRight),
                 input.Has(p, actFire1), input.Has(p, actFire2)};
}

bool Controllable(const TShip& ship) {
    return ship.RespawnTimer == 0 && ship.Glued == 0;
}

// The angle wraps by 255, not 256: it is kept within 0..255 by adding or taking 255.
void WrapHeading(TShip& ship) {
    if (ship.Angle < 0)
        ship.Angle += 255;
    else if (ship.Angle > 255)
        ship.Angle -= 255;
}

std::string PageWeaponName(const TPilotRecord& pilot, int page, int row) {
    return std::string(WeaponName(pilot.Weapons[size_t(PageRows * page + row)]));
}

} // namespace

TMatchTick TGame::ReadMatchTick() const {
    TMatchTick tick;
    for (size_t p = 0; p < 2; ++p) {
        tick.Actions[p] = Input.Now.Players[p];
        tick.Previous[p] = Input.Before.Players[p];
    }
    tick.FrameRate = uint16_t(std::clamp(FrameTimer.MeasuredFrameRate, 0, 65535));
    return tick;
}

void TGame::MatchFrame() {
    if (Online) {
        Online->MatchFrame();
        return;
    }
    if (!World) return;
    // A side flown by the computer takes its pilot's bits in place of the devices'; the tick, and so
    // a recording of the match, holds them as it holds a person's.
    for (size_t p = 0; p < 2; ++p)
        if (ComputerPilots[p]) Input.Now.Players[p] = ComputerPilots[p]->Think(*World, PlayerWeapons[p]);
    const TMatchTick tick = ReadMatchTick();
    StepMatch(tick, true);
    RecordMatchTick(tick);
}

void TGame::StepMatch(const TMatchTick& tick, bool draw) {
    if (!World) return;
    TWorld& map = *World;

    // Time base: the measured rate counts only once the counter has come round, at most 256 frames in.
    if (MatchFrameCounter == 255) map.MinFrameRate = 15;
    map.SetFrameRate(uint16_t(std::max<int>(map.MinFrameRate, tick.FrameRate)));

    if (map.MatchOver != 0) GameState = gsMatchEnd;

    const TTickInput now{tick.Actions, 0};
    const TTickInput before{tick.Previous, 0};
    std::array<THeld, 2> held{};
    for (size_t p = 0; p < 2; ++p)
        held[p] = Read(now, int(p));

    for (size_t p = 0; p < 2; ++p) {
        if (!Controllable(map.Ships[p])) continue;
        if (held[p].Thrust) map.Thrust(int(p));
        for (TWeapon& weapon : PlayerWeapons[p])
            weapon.Tick(map.FrameRate, map);
        // Nobody fires from the own base: it is where weapons are changed.
        if (held[p].Fire1 && map.Ships[p].AtOwnBase == 0) PlayerWeapons[p][0].Fire(map, Sounds);
        if (held[p].Fire2 && map.Ships[p].AtOwnBase == 0) PlayerWeapons[p][1].Fire(map, Sounds);
    }

    for (int p = 1; p >= 0; --p) {
        if (!Controllable(map.Ships[size_t(p)])) continue;
        if (held[size_t(p)].Left) map.TurnLeft(p);
        if (held[size_t(p)].Right) map.TurnRight(p);
    }

    for (TShip& ship : map.Ships)
        if (ship.OnFoot == 0) WrapHeading(ship);

    // The views show the world as it is now; they are painted onto the screen by the worker while
    // the world is updated, and nothing else is drawn on the screen until they are finished. A
    // tick abandoned on the way still waits for them.
    const bool views = draw && map.MatchEnded == 0;
    if (views) map.BeginViews(BackSurface, &ViewWorker);
    std::array<TSprite, 2> pages{};
    bool finished = !views;
    const auto finish = [&] {
        if (finished) return;
        finished = true;
        map.FinishViews(&ViewWorker);
        for (const TSprite& page : pages)
            if (page.Picture != nullptr) BackSurface.Draw(page.X, page.Y, *page.Picture, true);
    };
    struct TFinisher {
        const decltype(finish)& Finish;
        ~TFinisher() {
            try {
                Finish();
            } catch (...) {
            }
        }
    } finisher{finish};

    const TPictureItem& greenFont = Images.Find("GreenFont");
    // The weapon pages are drawn on the world's page surfaces, which no rule reads.
    const auto drawRow = [&](Surface& page, int row, const std::string& name, uint32_t highlight) {
        if (draw) DrawPageRow(page, row, name, highlight, greenFont);
    };
    // Letting go of a fire key closes the page being changed on both pages.
    for (size_t p = 0; p < 2; ++p) {
        const bool released =
            Released(before, now, int(p), actFire1) || Released(before, now, int(p), actFire2);
        if (!released || PageCursor[p] == NoPageOpen) continue;
        const int row = std::clamp<int>(PageCursor[p], 0, PageRows - 1);
        for (int k = 0; k < 2; ++k)
            drawRow(map.WeaponNameSurfaces[p][size_t(k)], row, PageWeaponName(Options.Players[p], k, row), 0);
        PageCursor[p] = NoPageOpen;
    }

    for (size_t p = 0; p < 2; ++p) {
        const TShip& ship = map.Ships[p];
        const TPilotRecord& pilot = Options.Players[p];
        for (int k = 0; k < 2; ++k) {
            const bool active = k == 0 ? held[p].Fire1 : (held[p].Fire2 && !held[p].Fire1);
            if (!active || ship.AtOwnBase == 0) continue;
            Surface& page = map.WeaponNameSurfaces[p][size_t(k)];
            const bool turnPressed =
                NewlyPressed(before, now, int(p), actLeft) || NewlyPressed(before, now, int(p), actRight);
            if (turnPressed || PageCursor[p] == NoPageOpen) {
                // A page opens on its middle row.
                if (PageCursor[p] == NoPageOpen) PageCursor[p] = 2;
                if (held[p].Left) {
                    drawRow(page, PageCursor[p], PageWeaponName(pilot, k, PageCursor[p]), 0);
                    --PageCursor[p];
                }
                if (held[p].Right) {
                    const int row = std::clamp<int>(PageCursor[p], 0, PageRows - 1);
                    drawRow(page, row, PageWeaponName(pilot, k, row), 0);
                    ++PageCursor[p];
                }
                PageCursor[p] = int8_t(std::clamp<int>(PageCursor[p], 0, PageRows - 1));
                PlayerWeapons[p][size_t(k)].Setup(pilot.Weapons[size_t(PageRows * k + PageCursor[p])]);
                drawRow(page, PageCursor[p], PageWeaponName(pilot, k, PageCursor[p]), PageHighlight[k]);
            }
            // The list hangs below the ship in its own view and never leaves the play area.
            const int64_t x = Round(ship.X) - Round(map.ViewX[p]) + int64_t(ViewWidth) * int64_t(p) - 39;
            const int64_t y = Round(ship.Y) - Round(map.ViewY[p]) + 20;
            // Laid over the views once they are on the screen.
            pages[p] = TSprite{&page, int(std::min<int64_t>(std::max<int64_t>(x, 0), 539)),
                               int(std::min<int64_t>(std::max<int64_t>(y, 0), 380))};
        }
    }

    const std::array<float, 2> healthBefore{map.Ships[0].Health, map.Ships[1].Health};
    const uint16_t wrecked = map.UpdateWorld(Sounds);
    LastWrecked = wrecked;
    finish();
    for (size_t p = 0; p < 2; ++p) {
        // The pad in the player's hands shakes a little at a hit and hard at a wreck.
        const bool wreck = ((wrecked >> (8 * p)) & 0xFF) != 0;
        const bool hit = map.Ships[p].Health < healthBefore[p];
        if (wreck)
            Platform.Rumble(Bindings.PadOf(int(p)), 1.0f, 400);
        else if (hit && !ShipWasHit[p])
            Platform.Rumble(Bindings.PadOf(int(p)), 0.4f, 120);
        ShipWasHit[p] = hit;
        if (!wreck) continue;
        // The pilot walks on with a few rounds of the first weapon.
        PlayerWeapons[p][0].Ammo = 5;
        PlayerWeapons[p][1].Ammo = 0;
    }

    for (size_t p = 0; p < 2; ++p) {
        const TShip& ship = map.Ships[p];
        if (ship.AtOwnBase != 0)
            for (TWeapon& weapon : PlayerWeapons[p])
                weapon.Recharge(map.FrameRate);
        if (ship.AtEnemyBase != 0)
            for (TWeapon& weapon : PlayerWeapons[p])
                weapon.Recharge(2.0 * map.FrameRate);
    }

    ++MatchFrameCounter;
    std::array<bool, 2> medalShown{};
    for (size_t p = 0; p < 2; ++p) {
        medalShown[p] = map.MedalTimer[p] != 0;
        if (medalShown[p]) --map.MedalTimer[p];
    }
    if (!draw) return;

    // The engine wobbles in pitch once every 256 frames.
    TWaveItem& thrust = Sounds.Find("Thrust");
    thrust.SetFrequency(Sounds.Mixer, 11025 + int(Trunc(TurnCos(MatchFrameCounter) * 3000)));

    std::array<bool, 2> thrusting{};
    for (size_t p = 0; p < 2; ++p)
        thrusting[p] = held[p].Thrust && map.Ships[p].RespawnTimer == 0 && map.Ships[p].Fuel > 0;
    if (thrusting[0] || thrusting[1]) {
        thrust.SetVolume(Sounds.Mixer, -520);
        thrust.SetPan(Sounds.Mixer, thrusting[0] && thrusting[1] ? 0 : thrusting[0] ? -10000 : 10000);
    } else {
        thrust.SetVolume(Sounds.Mixer, -10000);
    }

    const std::array<int64_t, 2> points{map.Match.Players[0].Points, map.Match.Players[1].Points};
    if (points != StatusBar.LastDrawnScore) {
        StatusBar.LastDrawnScore = points;
        StatusBar.DrawDigits(Images, map);
    }

    StatusBar.Draw(BackSurface, Images, map, PlayerWeapons);

    // A medal shows for as long as its timer runs.
    for (size_t p = 0; p < 2; ++p)
        if (medalShown[p]) Images.Find(map.MedalImage[p]).Draw(BackSurface, 620 * int(p), 386, 0);
}

void TGame::StartQuickMatch() {
    // Exactly what Begin does; a world that cannot be built leaves the players at the menu.
    if (!StartMatch()) std::fprintf(stderr, "flarons: --match: the match could not be started\n");
}
