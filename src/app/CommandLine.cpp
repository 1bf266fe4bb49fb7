// CommandLine: parsing of the game's switches.
#include "app/CommandLine.h"

#include <cctype>
#include <charconv>

static std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

template <typename T> static bool ParseNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine c;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string a = Lower(args[i]);
        const bool hasValue = i + 1 < args.size();
        auto value = [&](const char* name) -> std::string {
            if (!hasValue) {
                c.Error = std::string(name) + " needs a value";
                return {};
            }
            return args[++i];
        };
        if (a == "-vsync" || a == "--vsync") {
            c.VSync = true;
        } else if (a == "-fps" || a == "--fps") {
            c.ShowFrameRate = true;
        } else if (a == "--windowed") {
            c.Windowed = true;
        } else if (a == "--headless") {
            c.Headless = true;
        } else if (a == "--match") {
            c.QuickMatch = true;
        } else if (a == "--help" || a == "-h") {
            c.Help = true;
        } else if (a == "--script") {
            c.Script = value("--script");
        } else if (a == "--home") {
            c.Home = value("--home");
        } else if (a == "--replay") {
            c.Replay = value("--replay");
        } else if (a == "--verify") {
            c.Verify = true;
        } else if (a == "--frames") {
            const std::string v = value("--frames");
            if (c.Error.empty() && (!ParseNumber(v, c.Frames) || c.Frames < 0))
                c.Error = "--frames needs a whole number";
        } else if (a == "--computer") {
            const std::string v = Lower(value("--computer"));
            c.Computer = v == "1" ? 1 : v == "2" ? 2 : v == "both" ? 3 : 0;
            if (c.Error.empty() && c.Computer == 0) c.Error = "--computer needs 1, 2 or both";
        } else if (a == "--level") {
            c.Level = Lower(value("--level"));
            if (c.Error.empty() && c.Level != "easy" && c.Level != "normal" && c.Level != "hard")
                c.Error = "--level needs easy, normal or hard";
        } else if (a == "--host") {
            c.Host = true;
            // The port is optional: a number after the switch is one.
            if (hasValue && ParseNumber(args[i + 1], c.Port)) ++i, c.PortGiven = true;
        } else if (a == "--join") {
            c.Join = value("--join");
            const size_t colon = c.Join.rfind(':');
            if (c.Error.empty() && colon != std::string::npos) {
                if (!ParseNumber(c.Join.substr(colon + 1), c.Port) || c.Port == 0)
                    c.Error = "--join needs HOST or HOST:PORT";
                c.Join.resize(colon), c.PortGiven = true;
            }
            if (c.Error.empty() && c.Join.empty()) c.Error = "--join needs HOST or HOST:PORT";
        } else if (a == "--silence-limit") {
            const std::string v = value("--silence-limit");
            if (c.Error.empty() && (!ParseNumber(v, c.SilenceLimitMs) || c.SilenceLimitMs == 0))
                c.Error = "--silence-limit needs a number of milliseconds";
        } else if (a == "--seed") {
            const std::string v = value("--seed");
            if (c.Error.empty() && !ParseNumber(v, c.Seed)) c.Error = "--seed needs a whole number";
            c.HasSeed = c.Error.empty();
        }
        if (!c.Error.empty()) break;
    }
    if (c.Error.empty() && c.Verify && c.Replay.empty()) c.Error = "--verify needs --replay FILE";
    if (c.Error.empty() && c.Host && !c.Join.empty()) c.Error = "--host and --join exclude each other";
    return c;
}

std::string UsageText() {
    return "usage: flarons [options]\n"
           "  -vsync            wait for the display's retrace at every flip\n"
           "  -fps              show the measured frame rate in the top-left corner\n"
           "  --windowed        play in a window instead of filling the desktop (Alt+Enter toggles)\n"
           "  --match           start a match with the current options at once\n"
           "  --headless        run without window and sound on a virtual clock\n"
           "  --script FILE     headless input script\n"
           "  --frames N        stop after N ticks without saving\n"
           "  --seed N          seed the random generator\n"
           "  --replay FILE     watch a recorded match (space pauses, arrows change speed, Home\n"
           "                    restarts, Escape leaves)\n"
           "  --verify          with --replay: re-run the match as fast as possible and check it\n"
           "  --computer WHO    the computer flies player 1, 2 or both\n"
           "  --level LEVEL     how well it flies: easy, normal (the default) or hard\n"
           "  --host [PORT]     play online: wait for a partner on port PORT (default 24790; 0: a\n"
           "                    free port, printed)\n"
           "  --join HOST[:PORT]  play online with the partner hosting at HOST\n"
           "  --home DIR        folder for Options.DAT and pilots\n"
           "                    (default: $XDG_DATA_HOME/flarons, else ~/.local/share/flarons;\n"
           "                    run from the build folder: the game folder)\n"
           "  --help            this text\n";
}
