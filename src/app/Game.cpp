// Game: start-up, the tick in its fixed order, quitting and the frame-rate counter.
#include "app/Game.h"

#include "core/GameMath.h"
#include "content/Builtins.h"
#include "media/Canvas.h"
#include "media/MediaError.h"
#include "media/Platform.h"
#include "text/Font.h"
#include "world/World.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

TGame::TGame(TPlatform& platform, TFiles files, const TCommandLine& commandLine)
    : Platform(platform), Files(std::move(files)), CommandLine(commandLine) {
    ShowFrameRate = commandLine.ShowFrameRate;
    // The built-ins are made by the program itself, so none can be missing from a built game.
    AddBuiltinImages(Images);
    AddBuiltinSounds(Sounds);
}

TGame::~TGame() = default;

void TGame::Flip() { Platform.Present(BackSurface); }

bool TGame::WaitForSecondChange(bool spaceShortens) {
    const int start = Platform.ClockSeconds();
    for (;;) {
        Platform.PumpEvents();
        if (Platform.CloseRequested()) return false;
        Input.Poll(Platform.ReadInput());
        if (spaceShortens && Input.States.Has(isButton(20))) return false;
        if (Platform.ClockSeconds() != start) return true;
        Platform.FeedAudio(Sounds.Mixer);
        Platform.Idle();
    }
}

void TGame::Start() {
    LoadOptions(Options, Files);
    PrepareStartupAssets();
    PageCursor = {127, 127};
    if (CommandLine.HasSeed) {
        RandSeed(CommandLine.Seed);
    } else {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        RandSeed(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    }
    Platform.ShowPointer(false);

    // The title shows while the rest loads.
    const std::filesystem::path title = Files.ForReading("graphics\\menu\\init.bmp");
    if (!title.empty() && BackSurface.LoadFromFile(title.string())) {
        if (BackSurface.Width != ScreenWidth || BackSurface.Height != ScreenHeight) {
            Surface picture = BackSurface;
            BackSurface.SetSize(ScreenWidth, ScreenHeight);
            BackSurface.Draw(0, 0, picture, false);
        }
    }
    Flip();

    BuildMenus();
    GameState = gsStartup;
    for (size_t p = 0; p < 2; ++p) {
        ShipPreviews[p] = Surface();
        PlayerPanels[p].SetSize(158, 362);
    }
    OptionsPanel.SetSize(205, 162);
    MenuBackground.SetSize(ScreenWidth, ScreenHeight);
    AboutSurface.SetSize(132, 106);
    AboutShown = false;
    const std::filesystem::path bars = Files.ForReading("graphics\\menu\\status_bars.bmp");
    if (!bars.empty()) StatusBars.LoadFromFile(bars.string());
    StatusSurface = Surface();
    LoadShipPicture(0);
    LoadShipPicture(1);

    // Title wait: five changes of the clock's seconds, cut short by space.
    bool waiting = true;
    for (int i = 0; i < 5 && waiting; ++i) waiting = WaitForSecondChange(true);
    if (Platform.CloseRequested()) return;

    // The screen darkens in eight interlaced sweeps.
    for (int pass = 0; pass < 8; ++pass) {
        for (int k = 0; k < 80; ++k) {
            Canvas canvas(BackSurface);
            canvas.PenColor = 0;
            canvas.MoveTo(0, 8 * k + pass);
            canvas.LineTo(640, 8 * k + pass);
            canvas.Release();
            Flip();
        }
    }
    WaitForSecondChange(false);
}

void TGame::ReportLookupError(const std::string& message, const std::string& name) {
    if (ReportedErrors.insert(name).second) std::fprintf(stderr, "flarons: %s\n", message.c_str());
}

void TGame::Tick() {
    try {
        PrevInput = Input.States;
        Input.Poll(Platform.ReadInput());
        if (Input.States.Has(isButton(32)) && GameState != gsMainMenu && GameState != gsMatchEnd) HandleEscape();
        if (!IsFrontEndState(GameState)) FollowPointer();
        if (GameState == gsMatch) MatchFrame();
        if (GameState == gsMatchEnd) MatchEndScreen();
        if (GameState == gsQuit) SaveAndClose();
        if (IsFrontEndState(GameState)) {
            BackSurface.Draw(0, 0, MenuBackground, false);
            FrontEnd();
        }
        if (GameState == gsStartup) StartupPanels();
        if (ShowFrameRate) DrawFrameRate();
        Flip();
    } catch (const TMediaError& e) {
        // A missing named image or sound abandons the rest of this tick; the game goes on.
        ReportLookupError(e.what(), e.Name);
    }
}

void TGame::FollowPointer() {
    if (MainMenu) {
        TGameMenu& menu = *MainMenu;
        menu.SetCursorPos(int16_t(std::clamp(menu.CursorX + Input.MouseDX, 0, int(menu.MaxX))),
                          int16_t(std::clamp(menu.CursorY + Input.MouseDY, 0, int(menu.MaxY))));
    }
    // Taken: a screen that hands over to the menus within this tick does not move the pointer twice.
    Input.MouseDX = 0;
    Input.MouseDY = 0;
}

void TGame::HandleEscape() {
    const uint8_t left = GameState;
    GameState = gsMainMenu;
    // Before the first match there is no world to take a still from: the background stays.
    if (World) RefreshMenuBackground();
    if (left == gsMatch) ShowBackButton();
    DrawPilotStats(0);
    DrawPilotStats(1);
    DrawOptionsPanel();
    Sounds.Find("Thrust").Stop(Sounds.Mixer);
}

void TGame::SaveAndClose() {
    if (Closed) return;
    SavePilots();
    if (!SaveOptions(Options, Files)) std::fprintf(stderr, "flarons: could not save Options.DAT\n");
    Closed = true;
}

void TGame::StartupPanels() {
    const TPictureItem& font = Images.Find("GreyFont");
    for (int p = 0; p < 2; ++p) {
        const std::string name = Options.Players[size_t(p)].Name.Str();
        DrawText(PlayerPanels[size_t(p)], font, 79 - TextWidth(font, name) / 2, 0, name);
        DrawPilotPicture(p);
        DrawFlagPicture(p);
    }
    DrawPilotStats(0);
    DrawPilotStats(1);
    DrawOptionsPanel();
    DrawAboutText();
    GameState = gsMainMenu;
    // "--match" goes straight from the prepared panels into a match, as Begin would.
    if (CommandLine.QuickMatch) StartQuickMatch();
}

void TGame::DrawFrameRate() {
    Canvas canvas(BackSurface);
    canvas.BrushColor = 0;
    canvas.TextOut(0, 0, std::to_string(FrameTimer.MeasuredFrameRate));
    canvas.Release();
}
