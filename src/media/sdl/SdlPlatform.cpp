// SdlPlatform: the SDL2 window, renderer, input, clock and queued audio behind TPlatform.
#include "media/sdl/SdlPlatform.h"

#include "media/Sound.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* WindowTitle = "Flarons AFTERBURN";
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
constexpr int AudioRate = 44100;
// Audio is pushed from the main loop: topped up to the high mark whenever the queue falls below the
// low mark, so a late frame does not starve the device and a sound starts at most ~60 ms late.
constexpr int AudioLowMs = 40;
constexpr int AudioHighMs = 60;

// The scancode of each key the game reads; the keypad's Enter also counts as Return.
constexpr std::array<SDL_Scancode, KeyCount> KeyCodes{SDL_SCANCODE_UP,
                                                      SDL_SCANCODE_DOWN,
                                                      SDL_SCANCODE_LEFT,
                                                      SDL_SCANCODE_RIGHT,
                                                      SDL_SCANCODE_RETURN,
                                                      SDL_SCANCODE_TAB,
                                                      SDL_SCANCODE_SPACE,
                                                      SDL_SCANCODE_ESCAPE,
                                                      SDL_SCANCODE_BACKSPACE,
                                                      SDL_SCANCODE_A,
                                                      SDL_SCANCODE_B,
                                                      SDL_SCANCODE_C,
                                                      SDL_SCANCODE_D,
                                                      SDL_SCANCODE_E,
                                                      SDL_SCANCODE_F,
                                                      SDL_SCANCODE_G,
                                                      SDL_SCANCODE_H,
                                                      SDL_SCANCODE_I,
                                                      SDL_SCANCODE_J,
                                                      SDL_SCANCODE_K,
                                                      SDL_SCANCODE_L,
                                                      SDL_SCANCODE_M,
                                                      SDL_SCANCODE_N,
                                                      SDL_SCANCODE_O,
                                                      SDL_SCANCODE_P,
                                                      SDL_SCANCODE_Q,
                                                      SDL_SCANCODE_R,
                                                      SDL_SCANCODE_S,
                                                      SDL_SCANCODE_T,
                                                      SDL_SCANCODE_U,
                                                      SDL_SCANCODE_V,
                                                      SDL_SCANCODE_W,
                                                      SDL_SCANCODE_X,
                                                      SDL_SCANCODE_Y,
                                                      SDL_SCANCODE_Z,
                                                      SDL_SCANCODE_0,
                                                      SDL_SCANCODE_1,
                                                      SDL_SCANCODE_2,
                                                      SDL_SCANCODE_3,
                                                      SDL_SCANCODE_4,
                                                      SDL_SCANCODE_5,
                                                      SDL_SCANCODE_6,
                                                      SDL_SCANCODE_7,
                                                      SDL_SCANCODE_8,
                                                      SDL_SCANCODE_9,
                                                      SDL_SCANCODE_LSHIFT,
                                                      SDL_SCANCODE_RSHIFT,
                                                      SDL_SCANCODE_LCTRL,
                                                      SDL_SCANCODE_RCTRL,
                                                      SDL_SCANCODE_LALT,
                                                      SDL_SCANCODE_RALT,
                                                      SDL_SCANCODE_MINUS,
                                                      SDL_SCANCODE_EQUALS,
                                                      SDL_SCANCODE_LEFTBRACKET,
                                                      SDL_SCANCODE_RIGHTBRACKET,
                                                      SDL_SCANCODE_SEMICOLON,
                                                      SDL_SCANCODE_APOSTROPHE,
                                                      SDL_SCANCODE_COMMA,
                                                      SDL_SCANCODE_PERIOD,
                                                      SDL_SCANCODE_SLASH,
                                                      SDL_SCANCODE_BACKSLASH,
                                                      SDL_SCANCODE_GRAVE,
                                                      SDL_SCANCODE_INSERT,
                                                      SDL_SCANCODE_DELETE,
                                                      SDL_SCANCODE_HOME,
                                                      SDL_SCANCODE_END,
                                                      SDL_SCANCODE_PAGEUP,
                                                      SDL_SCANCODE_PAGEDOWN,
                                                      SDL_SCANCODE_KP_0,
                                                      SDL_SCANCODE_KP_1,
                                                      SDL_SCANCODE_KP_2,
                                                      SDL_SCANCODE_KP_3,
                                                      SDL_SCANCODE_KP_4,
                                                      SDL_SCANCODE_KP_5,
                                                      SDL_SCANCODE_KP_6,
                                                      SDL_SCANCODE_KP_7,
                                                      SDL_SCANCODE_KP_8,
                                                      SDL_SCANCODE_KP_9,
                                                      SDL_SCANCODE_KP_PLUS,
                                                      SDL_SCANCODE_KP_MINUS,
                                                      SDL_SCANCODE_KP_MULTIPLY,
                                                      SDL_SCANCODE_KP_DIVIDE,
                                                      SDL_SCANCODE_KP_PERIOD};

// The SDL button behind each of the game's pad buttons.
constexpr std::array<SDL_GameControllerButton, PadButtonCount> PadButtons{SDL_CONTROLLER_BUTTON_A,
                                                                          SDL_CONTROLLER_BUTTON_B,
                                                                          SDL_CONTROLLER_BUTTON_X,
                                                                          SDL_CONTROLLER_BUTTON_Y,
                                                                          SDL_CONTROLLER_BUTTON_BACK,
                                                                          SDL_CONTROLLER_BUTTON_GUIDE,
                                                                          SDL_CONTROLLER_BUTTON_START,
                                                                          SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                                          SDL_CONTROLLER_BUTTON_RIGHTSTICK,
                                                                          SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                                          SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                                          SDL_CONTROLLER_BUTTON_DPAD_UP,
                                                                          SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                                                          SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                                                                          SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
constexpr std::array<SDL_GameControllerAxis, PadAxisCount> PadAxes{
    SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
    SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};

// The game's key for a scancode, KeyCount for none.
TKey KeyOfScancode(SDL_Scancode code) {
    if (code == SDL_SCANCODE_KP_ENTER) return keyReturn;
    for (size_t k = 0; k < KeyCount; ++k)
        if (KeyCodes[k] == code) return TKey(k);
    return KeyCount;
}

volatile std::sig_atomic_t SignalledClose = 0;
extern "C" void OnCloseSignal(int) {
    SignalledClose = 1;
}

// Display and sound libraries print their own warnings on stderr while SDL starts them (a missing
// XDG_RUNTIME_DIR, absent sound cards); the game reports what matters in its own words, so stderr
// points at /dev/null while SDL starts a subsystem and is restored afterwards.
class TQuietStderr {
  public:
    TQuietStderr() {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0) return;
        Saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (Saved >= 0) dup2(null, STDERR_FILENO);
        close(null);
    }
    ~TQuietStderr() {
        if (Saved < 0) return;
        std::fflush(stderr);
        dup2(Saved, STDERR_FILENO);
        close(Saved);
    }
    TQuietStderr(const TQuietStderr&) = delete;
    TQuietStderr& operator=(const TQuietStderr&) = delete;

  private:
    int Saved = -1;
};

struct TSdlDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
};

// An open gamepad, its instance number and the buttons pressed since the last poll.
struct TOpenPad {
    std::unique_ptr<SDL_GameController, TSdlDeleter> Controller;
    SDL_JoystickID Id = -1;
    uint32_t Pressed = 0;
};

class TSdlPlatform final : public TPlatform {
  public:
    TSdlPlatform() = default;
    ~TSdlPlatform() override;

    bool Open(const TSdlOptions& options, std::string& error);

    uint64_t NowMs() override { return SDL_GetTicks64(); }
    int ClockSeconds() override;
    void PumpEvents() override;
    TRawInput ReadInput() override;
    void Present(const Surface& back) override;
    bool Active() override { return Focused; }
    bool CloseRequested() override { return Closing || SignalledClose != 0; }
    void FeedAudio(TMixer& mixer) override;
    void Idle() override { SDL_Delay(1); }
    void ShowPointer(bool show) override;
    void Rumble(int pad, float strength, int ms) override;

  private:
    void OpenAudio();
    void ApplyPointer();
    void ToggleFullscreen();
    bool EnsureTexture(int w, int h);
    void ShowTexture();
    void OpenPad(int deviceIndex);
    void ClosePad(SDL_JoystickID id);
    void GivePlacesToWaitingPads();
    TOpenPad* PadById(SDL_JoystickID id);
    void MixInto(TMixer& mixer, size_t frames, bool queue);

    bool SdlUp = false;
    std::unique_ptr<SDL_Window, TSdlDeleter> Window;
    std::unique_ptr<SDL_Renderer, TSdlDeleter> Renderer;
    std::unique_ptr<SDL_Texture, TSdlDeleter> Texture;
    int TextureWidth = 0;
    int TextureHeight = 0;
    bool TextureHoldsFrame = false; // the last presented frame, shown again when the window changes
    int WindowedWidth = 1280;
    int WindowedHeight = 960;

    bool Focused = true; // a new window is the active one until the window system says otherwise
    bool Closing = false;
    bool PointerWanted = false;
    int MouseDX = 0;
    int MouseDY = 0;
    bool PointerKnown = false; // the pointer has been over the window: PointerX, PointerY hold
    int PointerX = 0;
    int PointerY = 0;
    bool LeftClicked = false; // a press seen since the last poll, so a quick click is never lost
    std::array<bool, KeyCount> PressedSincePoll{}; // likewise for keys

    // Pads are opened as they connect; the first two to connect fly, a third waits for a place.
    std::vector<TOpenPad> Pads;
    TPadSlots PadPlaces;

    SDL_AudioDeviceID Audio = 0;
    int OutputRate = AudioRate;
    std::vector<int16_t> Scratch;
    uint64_t SilentStartMs = 0; // without a device the mixer is run against the clock
    uint64_t SilentFrames = 0;
    bool SilentStarted = false;

    void (*OldTerm)(int) = SIG_DFL;
    void (*OldInt)(int) = SIG_DFL;
    void (*OldHup)(int) = SIG_DFL;
    bool SignalsSet = false;
};

TSdlPlatform::~TSdlPlatform() {
    if (Audio != 0) SDL_CloseAudioDevice(Audio);
    Pads.clear();
    Texture.reset();
    Renderer.reset();
    Window.reset();
    if (SdlUp) SDL_Quit();
    if (SignalsSet) {
        std::signal(SIGTERM, OldTerm);
        std::signal(SIGINT, OldInt);
        std::signal(SIGHUP, OldHup);
    }
}

bool TSdlPlatform::Open(const TSdlOptions& options, std::string& error) {
    // Our own handlers rather than SDL's, so a signal raised before SDL is up is not lost either.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SignalledClose = 0;
    OldTerm = std::signal(SIGTERM, OnCloseSignal);
    OldInt = std::signal(SIGINT, OnCloseSignal);
    // A closed terminal or an ended session hangs up: that too saves the profiles and closes.
    OldHup = std::signal(SIGHUP, OnCloseSignal);
    SignalsSet = true;

    int started = 0;
    {
        const TQuietStderr quiet;
        started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    if (started != 0) {
        error = std::string("no display: ") + SDL_GetError();
        return false;
    }
    SdlUp = true;
    // With no display SDL quietly falls back to drivers that draw nowhere; a player would get a
    // running game with no picture, so those count as no display unless asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const std::string name = driver != nullptr ? driver : "";
    if ((name == "offscreen" || name == "dummy" || name == "evdev") &&
        (asked == nullptr || SDL_strcasecmp(asked, name.c_str()) != 0)) {
        error = "no display: no window system found (set DISPLAY or WAYLAND_DISPLAY)";
        return false;
    }

    // Square, sharp pixels: nearest scaling, and mouse movement given in 640 x 480 pixels.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "1");

    const Uint32 flags = options.Windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
    const int w = options.WindowWidth > 0 ? options.WindowWidth : 1280;
    const int h = options.WindowHeight > 0 ? options.WindowHeight : 960;
    WindowedWidth = w;
    WindowedHeight = h;
    // A full-screen window is made at the desktop's size and origin, so even a window system that
    // does not honour the full-screen request shows the whole picture.
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, cw = w, ch = h;
    SDL_DisplayMode desktop{};
    SDL_Rect area{};
    if (!options.Windowed && SDL_GetDesktopDisplayMode(0, &desktop) == 0 &&
        SDL_GetDisplayBounds(0, &area) == 0) {
        x = area.x;
        y = area.y;
        cw = desktop.w;
        ch = desktop.h;
    }
    Window.reset(SDL_CreateWindow(WindowTitle, x, y, cw, ch, flags));
    if (!Window) {
        error = std::string("no display: cannot open a window: ") + SDL_GetError();
        return false;
    }
    const Uint32 vsync = options.VSync ? SDL_RENDERER_PRESENTVSYNC : 0;
    Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_ACCELERATED | vsync));
    if (!Renderer) Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_SOFTWARE | vsync));
    if (!Renderer) {
        error = std::string("no display: cannot draw into the window: ") + SDL_GetError();
        return false;
    }
    if (!EnsureTexture(ScreenWidth, ScreenHeight)) {
        error = std::string("no display: cannot make the screen texture: ") + SDL_GetError();
        return false;
    }
    SDL_SetRenderDrawColor(Renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(Renderer.get());
    SDL_RenderPresent(Renderer.get());

    ApplyPointer();
    OpenAudio();
    // Without pad support the keyboard still plays; pads already plugged in arrive as events.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    return true;
}

bool TSdlPlatform::EnsureTexture(int w, int h) {
    if (Texture && w == TextureWidth && h == TextureHeight) return true;
    Texture.reset(
        SDL_CreateTexture(Renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h));
    TextureHoldsFrame = false;
    if (!Texture) return false;
    // The surfaces leave the alpha byte at 0; drawn with blending the picture would vanish.
    SDL_SetTextureBlendMode(Texture.get(), SDL_BLENDMODE_NONE);
    SDL_RenderSetLogicalSize(Renderer.get(), w, h);
    TextureWidth = w;
    TextureHeight = h;
    return true;
}

void TSdlPlatform::OpenAudio() {
    const TQuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want{};
    want.freq = AudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = nullptr; // pushed with SDL_QueueAudio from the main thread: no locks anywhere
    SDL_AudioSpec have{};
    Audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (Audio != 0 && have.freq > 0) OutputRate = have.freq;
    Scratch.assign(size_t(OutputRate) * AudioHighMs / 1000 * 2 + 2, 0);
    if (Audio != 0) SDL_PauseAudioDevice(Audio, 0);
}

int TSdlPlatform::ClockSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 0;
    return std::clamp(local.tm_sec, 0, 59);
}

void TSdlPlatform::ApplyPointer() {
    // The system pointer is hidden over the window, where the game draws its own, and is never
    // captured: the game's pointer follows its place, in a window and in full screen alike, as
    // remote desktops, virtual machines and tablets report places rather than movements, and the
    // window manager's buttons stay in reach whenever the pointer leaves the window.
    SDL_ShowCursor(PointerWanted ? SDL_ENABLE : SDL_DISABLE);
    SDL_SetRelativeMouseMode(SDL_FALSE);
}

void TSdlPlatform::ShowPointer(bool show) {
    PointerWanted = show;
    ApplyPointer();
}

void TSdlPlatform::OpenPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    TOpenPad pad;
    pad.Controller.reset(SDL_GameControllerOpen(deviceIndex));
    if (!pad.Controller) return;
    pad.Id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad.Controller.get()));
    if (PadById(pad.Id) != nullptr) return; // the added event of a pad opened already
    Pads.push_back(std::move(pad));
    GivePlacesToWaitingPads();
}

void TSdlPlatform::ClosePad(SDL_JoystickID id) {
    PadPlaces.Disconnect(id);
    Pads.erase(std::remove_if(Pads.begin(), Pads.end(), [id](const TOpenPad& p) { return p.Id == id; }),
               Pads.end());
    GivePlacesToWaitingPads();
}

void TSdlPlatform::GivePlacesToWaitingPads() {
    for (const TOpenPad& pad : Pads)
        if (PadPlaces.SlotOf(pad.Id) < 0) PadPlaces.Connect(pad.Id);
}

TOpenPad* TSdlPlatform::PadById(SDL_JoystickID id) {
    for (TOpenPad& pad : Pads)
        if (pad.Id == id) return &pad;
    return nullptr;
}

void TSdlPlatform::Rumble(int place, float strength, int ms) {
    for (TOpenPad& pad : Pads)
        if (PadPlaces.SlotOf(pad.Id) == place && SDL_GameControllerHasRumble(pad.Controller.get())) {
            const auto level = Uint16(std::clamp(strength, 0.0f, 1.0f) * 65535.0f);
            SDL_GameControllerRumble(pad.Controller.get(), level, level, Uint32(std::max(ms, 0)));
        }
}

void TSdlPlatform::ToggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(Window.get()) & SDL_WINDOW_FULLSCREEN) != 0;
    if (!full) {
        // Cover the display first, for window systems that leave full-screen requests unanswered.
        SDL_Rect area{};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(Window.get())), &area) == 0) {
            SDL_SetWindowPosition(Window.get(), area.x, area.y);
            SDL_SetWindowSize(Window.get(), area.w, area.h);
        }
    }
    SDL_SetWindowFullscreen(Window.get(), full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (full) {
        // A window made full screen remembers the desktop as its windowed size; give it the window's.
        SDL_SetWindowResizable(Window.get(), SDL_TRUE);
        SDL_SetWindowSize(Window.get(), WindowedWidth, WindowedHeight);
        SDL_SetWindowPosition(Window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void TSdlPlatform::PumpEvents() {
    SDL_Event e{};
    while (SDL_PollEvent(&e) != 0) {
        switch (e.type) {
        case SDL_QUIT:
            Closing = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                Focused = true;
                ApplyPointer();
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                Focused = false;
                MouseDX = MouseDY = 0;
                LeftClicked = false;
                PressedSincePoll = {};
                ApplyPointer();
            } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                Closing = true;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                       e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                // A screen that stays up for a while, such as the title, is shown again at the
                // new size rather than left where the old size put it.
                if (TextureHoldsFrame) ShowTexture();
            }
            break;
        case SDL_KEYDOWN: {
            const TKey key = KeyOfScancode(e.key.keysym.scancode);
            if (key == keyReturn && (e.key.keysym.mod & KMOD_ALT) != 0) {
                if (e.key.repeat == 0) ToggleFullscreen();
            } else if (Focused && key < KeyCount) {
                PressedSincePoll[key] = true;
            }
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
            OpenPad(e.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            ClosePad(e.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (TOpenPad* pad = PadById(e.cbutton.which); pad != nullptr && Focused)
                for (size_t b = 0; b < PadButtons.size(); ++b)
                    if (PadButtons[b] == e.cbutton.button) pad->Pressed |= 1u << b;
            break;
        case SDL_MOUSEMOTION:
            if (Focused) {
                MouseDX += e.motion.xrel;
                MouseDY += e.motion.yrel;
                // Given in 640 x 480 screen points, as the renderer's logical size scales them.
                PointerX = e.motion.x;
                PointerY = e.motion.y;
                PointerKnown = true;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (Focused && e.button.button == SDL_BUTTON_LEFT) LeftClicked = true;
            break;
        default:
            break;
        }
    }
}

TRawInput TSdlPlatform::ReadInput() {
    TRawInput raw;
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    auto held = [&](SDL_Scancode code) { return keys != nullptr && int(code) < count && keys[code] != 0; };
    for (size_t k = 0; k < KeyCount; ++k)
        raw.Keys[k] =
            PressedSincePoll[k] || held(KeyCodes[k]) || (k == keyReturn && held(SDL_SCANCODE_KP_ENTER));
    // Alt+Enter switches the display; it should not also press the menus' Return.
    if ((SDL_GetModState() & KMOD_ALT) != 0) raw.Keys[keyReturn] = false;
    PressedSincePoll = {};
    for (TOpenPad& pad : Pads) {
        const int place = PadPlaces.SlotOf(pad.Id);
        if (place < 0) continue;
        TPadState& state = raw.Pads[size_t(place)];
        SDL_GameController* c = pad.Controller.get();
        state.Connected = true;
        state.Buttons = Focused ? pad.Pressed : 0;
        for (size_t b = 0; b < PadButtons.size() && Focused; ++b)
            if (SDL_GameControllerGetButton(c, PadButtons[b]) != 0) state.Buttons |= 1u << b;
        for (size_t a = 0; a < PadAxes.size() && Focused; ++a)
            state.Axes[a] = SDL_GameControllerGetAxis(c, PadAxes[a]);
        pad.Pressed = 0;
    }
    raw.PointerAbsolute = PointerKnown;
    raw.PointerX = std::clamp(PointerX, 0, ScreenWidth);
    raw.PointerY = std::clamp(PointerY, 0, ScreenHeight);
    raw.MouseDX = MouseDX;
    raw.MouseDY = MouseDY;
    raw.MouseLeft = Focused && (LeftClicked || (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0);
    MouseDX = MouseDY = 0;
    LeftClicked = false;
    return raw;
}

void TSdlPlatform::Present(const Surface& back) {
    if (back.Empty() || back.Pixels.size() < size_t(back.Width) * size_t(back.Height)) return;
    if (!EnsureTexture(back.Width, back.Height)) return;
    // 0x00RRGGBB words are ARGB8888 in memory order, so the rows go over unchanged.
    SDL_UpdateTexture(Texture.get(), nullptr, back.Pixels.data(), back.Width * 4);
    TextureHoldsFrame = true;
    // The renderer learns the window's size from the window system's events as they are fetched.
    // Screens such as the wipe present many frames without a turn of the event loop, so the
    // events are fetched here (and left queued for PumpEvents); the picture is then letterboxed
    // in the window as it is now, not as it was at the last turn of the loop.
    SDL_PumpEvents();
    ShowTexture();
}

void TSdlPlatform::ShowTexture() {
    SDL_SetRenderDrawColor(Renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(Renderer.get());
    SDL_RenderCopy(Renderer.get(), Texture.get(), nullptr, nullptr);
    SDL_RenderPresent(Renderer.get());
}

void TSdlPlatform::MixInto(TMixer& mixer, size_t frames, bool queue) {
    const size_t chunk = Scratch.size() / 2;
    while (frames > 0 && chunk > 0) {
        const size_t n = std::min(frames, chunk);
        mixer.Mix(Scratch.data(), n);
        if (queue) SDL_QueueAudio(Audio, Scratch.data(), Uint32(n * 2 * sizeof(int16_t)));
        frames -= n;
    }
}

void TSdlPlatform::FeedAudio(TMixer& mixer) {
    mixer.OutputRate = OutputRate;
    if (Scratch.empty()) Scratch.assign(size_t(OutputRate) * AudioHighMs / 1000 * 2 + 2, 0);
    if (Audio != 0 && SDL_GetAudioDeviceStatus(Audio) == SDL_AUDIO_STOPPED) {
        // The device went away (unplugged, server gone): carry on silently rather than mixing
        // into a queue nobody drains.
        SDL_CloseAudioDevice(Audio);
        Audio = 0;
    }
    if (Audio != 0) {
        const size_t queued = SDL_GetQueuedAudioSize(Audio) / (2 * sizeof(int16_t));
        const size_t low = size_t(OutputRate) * AudioLowMs / 1000;
        const size_t high = size_t(OutputRate) * AudioHighMs / 1000;
        if (queued < low) MixInto(mixer, high - queued, true);
        return;
    }
    // No device: the voices still run their course in time, so the buffer rules behave the same.
    const uint64_t now = SDL_GetTicks64();
    if (!SilentStarted) {
        SilentStarted = true;
        SilentStartMs = now;
    }
    const uint64_t due = (now - SilentStartMs) * uint64_t(OutputRate) / 1000;
    if (due <= SilentFrames) return;
    // After a long stall the backlog is dropped rather than mixed all at once.
    const uint64_t backlog = std::min<uint64_t>(due - SilentFrames, uint64_t(OutputRate));
    MixInto(mixer, size_t(backlog), false);
    SilentFrames = due;
}

} // namespace

std::unique_ptr<TPlatform> CreateSdlPlatform(const TSdlOptions& options, std::string& error) {
    auto platform = std::make_unique<TSdlPlatform>();
    if (!platform->Open(options, error)) return nullptr;
    return platform;
}
