// EndScreen: the result of a finished match, the statistics panels and the still of the match that
// stands behind the menus.
#include "frontend/FrontEnd.h"

#include "core/Controls.h"
#include "core/Files.h"
#include "core/OptionsFile.h"
#include "frontend/PanelDrawing.h"
#include "frontend/PilotFiles.h"
#include "frontend/Ranks.h"
#include "media/Canvas.h"
#include "media/ImageList.h"
#include "media/Sound.h"
#include "text/Font.h"
#include "world/World.h"

namespace {

// Clears the statistics area and writes the lines and the earned medals of records[player]. The
// match view first decides the medals earned by the end of the match, into the match record.
void DrawStatsPanel(TFrontEnd& f, Surface& panel, int player, bool lifetime, TOptions& records) {
    TPilotRecord& r = records.Players[size_t(player)];
    const int top = StatsTop(lifetime);
    FillBlack(panel, TRect{0, top, 158, 361});
    if (!lifetime) AwardMatchMedals(r, records.Players[size_t(1 - player)]);
    const TPictureItem& font = f.Images.Find("GreenFont");
    const std::vector<std::string> lines = PilotStatsLines(r, lifetime);
    for (size_t i = 0; i < lines.size(); ++i)
        DrawText(panel, font, 1, top + 7 * int(i), lines[i]);
    for (const TMedalPlacement& m : MedalPlacements(r))
        f.Images.Find("Medal" + std::to_string(m.Medal)).Draw(panel, m.X, m.Y, 0);
}

} // namespace

void TFrontEnd::DrawPilotStats(int player) {
    DrawStatsPanel(*this, PlayerPanels[size_t(player)], player, true, Options);
}

void TFrontEnd::RefreshMenuBackground() {
    // Before the first match there is no world to show; the backdrop stays as it is.
    if (!World) return;
    Surface still(ScreenWidth, ScreenHeight);
    World->DrawViews(still);
    MenuBackground.SetSize(ScreenWidth, ScreenHeight);
    // The views without the status bar and the outer edges, enlarged to the whole screen.
    MenuBackground.StretchDraw(TRect{0, 0, ScreenWidth, ScreenHeight}, still, TRect{17, 0, 622, 429}, false);
    // Darkened, so that the panels' small statistics read over bright terrain, ships and pads.
    DimForText(MenuBackground);
}

void TFrontEnd::EndScreenFrame() {
    // The screen is entered only from a running match; without a world there is nothing to settle.
    if (!World) return;
    TOptions& match = World->Match;
    const TPictureItem& grey = Images.Find("GreyFont");
    const bool fresh = !EndScreenDrawn;
    if (!EndScreenDrawn) {
        SettleMatch(match);
        DrawStatsPanel(*this, PlayerPanels[0], 0, false, match);
        DrawStatsPanel(*this, PlayerPanels[1], 1, false, match);
        BackSurface.Draw(81, 60, PlayerPanels[0], true);
        BackSurface.Draw(401, 60, PlayerPanels[1], true);
        const uint32_t one = match.Players[0].Points;
        const uint32_t two = match.Players[1].Points;
        if (one != two) {
            const int w = two > one ? 1 : 0;
            DrawText(BackSurface, grey, 125 + 320 * w, 42, "Winner:");
            DrawText(BackSurface, grey, 450 - 320 * w, 42, "LOSER:");
            Images.Find("GoldTrophy").Draw(BackSurface, 4 + 584 * w, 350, 0);
            Images.Find("SilverTrophy").Draw(BackSurface, 4 + 584 * (1 - w), 350, 0);
        } else {
            DrawText(BackSurface, grey, 300, 230, "DRAW");
        }
        WriteCentred(BackSurface, grey, 320, 410, "Press space to continue...");
        EndScreenDrawn = true;
        KeepName.clear();
        KeptAs.clear();
        Sounds.Find("Thrust").Stop(Sounds.Mixer);
    }
    KeepReplayFrame(fresh);
    // Held, not newly pressed: space held through the last frame of the match continues at once.
    if (!Input.Now.Has(menuSpace)) return;
    LastReplay.clear();
    MergeMatch(Options, match);
    for (int p = 0; p < 2; ++p) {
        Surface& panel = PlayerPanels[size_t(p)];
        panel.Fill(0);
        WriteCentred(panel, grey, 79, 0, Options.Players[size_t(p)].Name.Str());
        DrawPilotPicture(p);
        DrawFlagPicture(p);
        DrawPilotStats(p);
    }
    // The finished match cannot be resumed.
    if (MainMenu && !MainMenu->Items.empty()) MainMenu->Items[0].Visible = false;
    GameState = gsMainMenu;
    RefreshMenuBackground();
}

void TFrontEnd::KeepReplayFrame(bool fresh) {
    if (LastReplay.empty()) return;
    // Typed as a pilot's name is, from the keyboard; Return keeps a copy under replays\, which the
    // keep-50 rule never deletes, as only the automatic `match-` names are counted.
    bool changed = fresh;
    if (KeptAs.empty()) {
        for (int key = keyA; key <= keyZ; ++key)
            if (Input.KeyPressed(TKey(key)))
                changed |= AppendPilotNameLetter(KeepName, char('A' + (key - keyA)));
        if (Input.KeyPressed(keyBackspace)) changed |= RemovePilotNameLetter(KeepName);
        const bool returnPressed = Input.Now.Has(menuReturn) && !Input.Before.Has(menuReturn);
        const std::string kept = "replays\\" + KeepName + ".rpl";
        if (returnPressed && ValidPilotName(KeepName) && !Files.Exists(kept)) {
            const TReadResult replay = Files.Read(LastReplay, 64u << 20);
            if (replay.Ok() && Files.WriteFileAtomic(kept, replay.Bytes)) KeptAs = KeepName;
            changed = true;
        }
    }
    if (!changed) return;
    Canvas canvas(BackSurface);
    canvas.BrushColor = 0;
    canvas.FillRect(TRect{0, 388, ScreenWidth, 404});
    canvas.Release();
    const std::string line = KeptAs.empty() ? "Type a name and press Return to keep the replay: " + KeepName
                                            : "The replay is kept as " + KeptAs;
    WriteCentred(BackSurface, Images.Find("GreyFont"), 320, 390, line);
}
