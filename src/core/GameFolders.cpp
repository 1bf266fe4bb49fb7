// GameFolders: the installed layout, the build-folder layout and the per-user home.
#include "core/GameFolders.h"

namespace fs = std::filesystem;

TGameFolders FindGameFolders(const fs::path& programDir, const fs::path& dataFromProgram,
                             const std::string& homeOption, const char* xdgDataHome, const char* userHome) {
    TGameFolders f;
    f.Game = programDir;
    std::error_code ec;
    if (!dataFromProgram.empty()) {
        const fs::path installed = (programDir / dataFromProgram).lexically_normal();
        if (fs::is_directory(installed, ec)) {
            f.Game = installed;
            f.Installed = true;
        }
    }
    if (!homeOption.empty()) {
        f.Home = fs::absolute(homeOption, ec);
        if (ec) f.Home = homeOption;
    } else if (!f.Installed) {
        f.Home = f.Game;
    } else if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
        f.Home = fs::path(xdgDataHome) / "flarons";
    } else if (userHome != nullptr && *userHome != '\0') {
        f.Home = fs::path(userHome) / ".local/share/flarons";
    } else {
        // No home at all (a bare service account): shipped files still read, saves fail quietly.
        f.Home = f.Game;
    }
    return f;
}
