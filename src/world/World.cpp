// World: building the world of a match and its frame rate.
#include "world/World.h"

#include "core/Files.h"
#include "core/WeaponNames.h"
#include "media/ImageList.h"
#include "text/Font.h"
#include "world/ShipPicture.h"
#include "world/WorldError.h"

namespace {
constexpr int WeaponPageWidth = 78;
constexpr int WeaponPageHeight = 40;
constexpr int WeaponsPerPage = 5;
constexpr uint16_t CreatedFrameRate = 42;
} // namespace

TWorld::TWorld() {
    Projectiles.assign(ProjectileCount, TProjectile{});
    Divider.SetSize(2, ViewHeight);
    Divider.Fill(ColourValueOne);
    for (TViewWork& work : ViewWork) {
        work.View.SetSize(ViewWidth, ViewHeight);
        work.Dots.SetSize(ViewWidth, ViewHeight);
    }
}

void RequirePicture(const TFiles& files, const std::string& winPath, const TPictureLimit& limit,
                    const char* what) {
    const auto path = files.ForReading(winPath);
    Surface picture;
    if (path.empty() || !picture.LoadFromFile(path.string(), limit))
        throw TWorldError(std::string("Cannot read the ") + what + " picture '" + winPath + "'");
}

void ClearMatchCounters(TPilotRecord& pilot) {
    const uint32_t streak = pilot.SuccessiveWins;
    pilot.ClearCounters();
    pilot.SuccessiveWins = streak;
}

void DrawWeaponPage(Surface& page, const TPictureItem& font, const TPilotRecord& pilot, int pageIndex) {
    page.SetSize(WeaponPageWidth, WeaponPageHeight);
    for (int i = 0; i < WeaponsPerPage; ++i) {
        const size_t slot = size_t(WeaponsPerPage * pageIndex + i);
        if (slot >= pilot.Weapons.size()) break;
        // A stored number without a weapon shows no name; the byte itself stays in the record.
        const std::string name(WeaponName(pilot.Weapons[slot]));
        DrawText(page, font, WeaponPageWidth / 2 - TextWidth(font, name) / 2, 8 * i + 1, name);
    }
}

std::unique_ptr<TWorld> TWorld::Create(const TFiles& files, const TPictureItem& font, const TOptions& options,
                                       uint32_t seed) {
    auto map = std::make_unique<TWorld>();
    TWorld& w = *map;
    w.Rng.Seed = seed;
    w.MatchOver = 0;
    w.UnlimitedLives = options.Lives == 0 ? 1 : 0;
    w.SetFrameRate(DefaultFrameRate);
    w.MinFrameRate = 70;
    w.Match = options;
    for (TPilotRecord& pilot : w.Match.Players)
        ClearMatchCounters(pilot);
    w.Scale = DefaultScale;
    // The small pictures are checked first, so a bad ship or flag costs no reading of map layers.
    for (const TPilotRecord& pilot : w.Match.Players) {
        RequirePicture(files, pilot.ShipFile.Str(), ShipPictureLimit, "ship");
        RequirePicture(files, pilot.FlagFile.Str(), FlagPictureLimit, "flag");
    }
    RequirePicture(files, PilotFigureFile, ShipPictureLimit, "pilot");
    const TSpawnPoints spawn = w.LoadMap(files, w.Match.MapFile.Str());
    for (size_t p = 0; p < 2; ++p)
        w.Ships[p].Create(files, w.Match.Players[p].ShipFile.Str(), w.Scale);
    for (size_t p = 0; p < 2; ++p)
        w.Flags[p].Create(files, w.Match.Players[p].FlagFile.Str(), w.Scale);

    for (size_t p = 0; p < 2; ++p) {
        const TPilotRecord& pilot = w.Match.Players[p];
        for (size_t page = 0; page < 2; ++page)
            DrawWeaponPage(w.WeaponNameSurfaces[p][page], font, pilot, int(page));
        TShip& ship = w.Ships[p];
        ship.X = ship.StartX = spawn.PlayerX[p];
        ship.Y = ship.StartY = spawn.PlayerY[p];
        ship.Lives = options.Lives;
        TFlag& flag = w.Flags[p];
        flag.X = flag.HomeX = spawn.FlagX[p];
        flag.Y = flag.HomeY = spawn.FlagY[p];
        ship.Angle = 64;
        RecolourPilot(ship.Frames[PilotFrame], pilot);
        RecolourPilot(ship.Frames[PilotFrame + 1], pilot);
    }

    if (w.MiddleLayer.Width == 2 * ViewWidth && w.MiddleLayer.Height == ViewHeight) {
        w.ViewX = {0, float(ViewWidth)};
        w.ViewY = {0, 0};
        w.SingleScreen = 1;
    } else {
        w.SingleScreen = 0;
    }
    for (TShip& ship : w.Ships)
        ship.ComputeFootprints();
    w.SetFrameRate(CreatedFrameRate);
    return map;
}

std::unique_ptr<TWorld> TWorld::TryCreate(const TFiles& files, const TPictureItem& font,
                                          const TOptions& options, std::string& error, uint32_t seed) {
    try {
        error.clear();
        return Create(files, font, options, seed);
    } catch (const TWorldError& e) {
        error = e.what();
    } catch (const std::bad_alloc&) {
        error = "Not enough memory for the world";
    } catch (const std::exception& e) {
        error = e.what();
    }
    return nullptr;
}
