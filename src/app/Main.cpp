// Main: the program entry; picks the SDL or the headless platform and runs the game.
#include "app/CommandLine.h"
#include "app/Game.h"
#include "app/GameLoop.h"
#include "app/MatchReplay.h"
#include "app/ReplayFiles.h"
#include "core/GameFolders.h"
#include "media/headless/HeadlessPlatform.h"
#include "media/headless/InputScript.h"
#include "media/sdl/SdlPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

// The game folder is found from where the program lives, so it runs from anywhere.
static fs::path ProgramFolder(const char* argv0) {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0, ec);
    return exe.parent_path();
}

int main(int argc, char** argv) {
    try {
        const TCommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (!cl.Error.empty()) {
            std::fprintf(stderr, "flarons: %s\n%s", cl.Error.c_str(), UsageText().c_str());
            return 2;
        }
        if (cl.Help) {
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        }
        const TGameFolders folders =
            FindGameFolders(ProgramFolder(argv[0]), FLARONS_DATA_FROM_PROGRAM, cl.Home,
                            std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        std::error_code ec;
        fs::create_directories(folders.Home, ec);
        RemoveLeftoverPictures(folders.Home);

        // A replay is read whole and checked before anything else is set up.
        TReplay replay;
        if (!cl.Replay.empty()) {
            std::string error;
            if (!LoadReplayFile(cl.Replay, replay, error)) {
                std::fprintf(stderr, "flarons: %s\n", error.c_str());
                return 1;
            }
        }

        std::unique_ptr<TPlatform> platform;
        if (cl.Headless || cl.Verify) {
            TInputScript script;
            if (!cl.Script.empty()) script = TInputScript::Load(cl.Script);
            platform = std::make_unique<THeadlessPlatform>(std::move(script));
        } else {
            TSdlOptions options;
            options.Windowed = cl.Windowed;
            options.VSync = cl.VSync;
            std::string error;
            platform = CreateSdlPlatform(options, error);
            if (!platform) {
                std::fprintf(stderr, "flarons: %s\n", error.c_str());
                return 1;
            }
        }
        TGame flarons(*platform, TFiles(folders.Game, folders.Home), cl);
        if (!cl.Replay.empty()) {
            // Watching or verifying changes nothing in the home folder.
            std::string message;
            if (cl.Verify) {
                const bool agreed = VerifyReplay(flarons, replay, message);
                std::fprintf(agreed ? stdout : stderr, "flarons: %s\n", message.c_str());
                return agreed ? 0 : 1;
            }
            if (WatchReplay(flarons, *platform, replay, cl.Frames, message) < 0) {
                std::fprintf(stderr, "flarons: %s\n", message.c_str());
                return 1;
            }
            return 0;
        }
        try {
            RunGame(flarons, *platform, cl.Frames);
        } catch (...) {
            // Whatever stops the program, the players' profiles are saved as Quit saves them.
            try {
                flarons.SaveAndClose();
            } catch (const std::exception&) {
            }
            throw;
        }
        return 0;
    } catch (const TScriptError& e) {
        std::fprintf(stderr, "flarons: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "flarons: %s\n", e.what());
        return 1;
    }
}
