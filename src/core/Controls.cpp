// Controls: default bindings and the mapping of devices to a tick's input.
#include "core/Controls.h"

#include <cctype>
#include <sstream>
#include <string_view>

TBindings TBindings::Defaults() {
    constexpr auto bit = [](TPadControl c) { return uint32_t(1) << c; };
    TBindings b;
    b.Players[0].Keys = {keyW, keyA, keyD, keyTab, keyS};
    b.Players[1].Keys = {keyUp, keyLeft, keyRight, keyReturn, keyDown};
    for (TPlayerBindings& p : b.Players)
        p.Pad = {bit(padA) | bit(padRightTrigger), bit(padStickLeft) | bit(padDpadLeft),
                 bit(padStickRight) | bit(padDpadRight), bit(padX), bit(padB)};
    return b;
}

void TInput::Take(const TRawInput& raw, const TBindings& bindings) {
    KeysBefore = Devices.Keys;
    Devices = raw;
    Before = Now;
    Now = MapInput(raw, bindings);
}

TTickInput MapInput(const TRawInput& raw, const TBindings& bindings) {
    TTickInput in;
    const auto key = [&](TKey k) { return k < KeyCount && raw.Keys[k]; };
    for (int p = 0; p < 2; ++p) {
        const TPlayerBindings& b = bindings.Players[size_t(p)];
        const uint32_t pad = raw.Pads[size_t(bindings.PadOf(p))].Held();
        for (int a = 0; a < ActionCount; ++a)
            in.Set(p, TAction(a), key(b.Keys[size_t(a)]) || (pad & b.Pad[size_t(a)]) != 0);
    }
    uint32_t pads = 0;
    for (const TPadState& pad : raw.Pads)
        pads |= pad.Held();
    in.Set(menuReturn, key(keyReturn) || (pads & (1u << padStart)) != 0);
    in.Set(menuSpace, key(keySpace));
    in.Set(menuEscape, key(keyEscape) || (pads & (1u << padBack)) != 0);
    return in;
}

namespace {

constexpr std::array<std::string_view, ActionCount> ActionNames{"thrust", "left", "right", "fire1", "fire2"};

std::string Trim(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// "player2.fire1" or "player2.fire1.pad" into its player, action and whether it is the pad's.
bool ParseBindingName(const std::string& name, int& player, TAction& action, bool& pad) {
    if (name.size() < 9 || name.compare(0, 6, "player") != 0 || (name[6] != '1' && name[6] != '2') ||
        name[7] != '.')
        return false;
    player = name[6] - '1';
    std::string rest = name.substr(8);
    pad = rest.size() > 4 && rest.compare(rest.size() - 4, 4, ".pad") == 0;
    if (pad) rest.resize(rest.size() - 4);
    for (size_t a = 0; a < ActionNames.size(); ++a)
        if (rest == ActionNames[a]) {
            action = TAction(a);
            return true;
        }
    return false;
}

} // namespace

const char* RefusedKey(const TBindings& bindings, int player, TKey key) {
    if (key == keyEscape || key == keySpace) return "Escape and space belong to the menus";
    if (player < 0 || player > 1) return "no such player";
    for (TKey other : bindings.Players[size_t(1 - player)].Keys)
        if (other == key) return "the other player uses this key";
    return nullptr;
}

TBindings ParseControls(const std::string& text, std::vector<std::string>& problems) {
    const TBindings defaults = TBindings::Defaults();
    TBindings b = defaults;
    std::array<std::array<int, ActionCount>, 2> keyLine{}; // the line that set a key, for the final check
    const auto problem = [&](int line, const std::string& what) {
        problems.push_back("controls.ini line " + std::to_string(line) + ": " + what);
    };
    std::istringstream in(text);
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        const size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.erase(hash);
        if (Trim(raw).empty()) continue;
        const size_t eq = raw.find('=');
        if (eq == std::string::npos) {
            problem(line, "expected 'name = value', got '" + Trim(raw) + "'");
            continue;
        }
        const std::string name = Lower(Trim(std::string_view(raw).substr(0, eq)));
        const std::string value = Trim(std::string_view(raw).substr(eq + 1));
        if (name == "pads") {
            const std::string v = Lower(value);
            if (v == "swapped" || v == "normal")
                b.SwapPads = v == "swapped";
            else
                problem(line, "pads must be 'normal' or 'swapped', not '" + value + "'");
            continue;
        }
        int player = 0;
        TAction action = actThrust;
        bool pad = false;
        if (!ParseBindingName(name, player, action, pad)) {
            problem(line, "unknown binding '" + name + "'");
            continue;
        }
        if (!pad) {
            TKey key = keyUp;
            if (!KeyFromName(value, key)) {
                problem(line, "unknown key '" + value + "'");
                continue;
            }
            b.Players[size_t(player)].Keys[action] = key;
            keyLine[size_t(player)][action] = line;
            continue;
        }
        uint32_t controls = 0;
        std::istringstream words(value);
        bool known = true;
        for (std::string w; words >> w;) {
            TPadControl c = padA;
            if (!PadControlFromName(w, c)) {
                problem(line, "unknown pad control '" + w + "'");
                known = false;
                break;
            }
            controls |= 1u << c;
        }
        if (known) b.Players[size_t(player)].Pad[action] = controls;
    }
    // Keys are checked once all are read, so a file that swaps keys between players is whole.
    for (int p = 0; p < 2; ++p)
        for (size_t a = 0; a < ActionCount; ++a) {
            const int line = keyLine[size_t(p)][a];
            if (line == 0) continue;
            const TKey key = b.Players[size_t(p)].Keys[a];
            if (const char* why = RefusedKey(b, p, key)) {
                problem(line, "key '" + std::string(KeyName(key)) + "' refused: " + why);
                b.Players[size_t(p)].Keys[a] = defaults.Players[size_t(p)].Keys[a];
            }
        }
    return b;
}

std::string WriteControls(const TBindings& bindings) {
    // Built by appending piece by piece: GCC 12 at -O3 misreads chained concatenations of temporaries
    // as overlapping copies (-Wrestrict).
    std::string out = "# Flarons AFTERBURN controls: one binding a line; the game rewrites this file.\n";
    for (size_t p = 0; p < 2; ++p) {
        const TPlayerBindings& b = bindings.Players[p];
        const auto begin = [&](size_t a) {
            out.append("player").append(std::to_string(p + 1)).append(".").append(ActionNames[a]);
        };
        for (size_t a = 0; a < ActionCount; ++a) {
            begin(a);
            out.append(" = ").append(KeyName(b.Keys[a])).append("\n");
        }
        for (size_t a = 0; a < ActionCount; ++a) {
            begin(a);
            out.append(".pad =");
            for (int c = 0; c < PadControlCount; ++c)
                if ((b.Pad[a] >> c) & 1u) out.append(" ").append(PadControlName(TPadControl(c)));
            out.append("\n");
        }
    }
    out.append("pads = ").append(bindings.SwapPads ? "swapped" : "normal").append("\n");
    return out;
}
