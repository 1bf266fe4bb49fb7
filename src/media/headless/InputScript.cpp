// InputScript: reading and checking the timed commands of a headless run.
#include "media/headless/InputScript.h"

#include "media/SafeRead.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

[[noreturn]] void Fail(int line, const std::string& what) {
    throw TScriptError("script line " + std::to_string(line) + ": " + what);
}

bool ParseTick(const std::string& word, uint64_t& tick) {
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), tick);
    return ec == std::errc() && end == word.data() + word.size();
}

int ParseCoordinate(int line, const std::string& word) {
    int value = 0;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last) Fail(line, "bad coordinate '" + word + "'");
    return value;
}

bool ParseDirection(int line, const std::string& word) {
    const std::string lower = Lower(word);
    if (lower == "down") return true;
    if (lower == "up") return false;
    Fail(line, "expected down or up, got '" + word + "'");
}

void ExpectWords(int line, const std::vector<std::string>& words, size_t count, const char* usage) {
    if (words.size() != count) Fail(line, std::string("expected '") + usage + "'");
}

void ParsePad(int line, const std::vector<std::string>& words, TScriptCommand& cmd) {
    if (words.size() < 4) Fail(line, "expected 'TICK pad N connect|disconnect|button|axis ...'");
    cmd.Pad = ParseCoordinate(line, words[2]);
    if (cmd.Pad < 1) Fail(line, "bad pad number '" + words[2] + "'");
    const std::string what = Lower(words[3]);
    if (what == "connect" || what == "disconnect") {
        ExpectWords(line, words, 4, "TICK pad N connect|disconnect");
        cmd.Action = what == "connect" ? TScriptAction::PadConnect : TScriptAction::PadDisconnect;
    } else if (what == "button") {
        ExpectWords(line, words, 6, "TICK pad N button NAME down|up");
        cmd.Action = TScriptAction::PadButton;
        if (!PadControlFromName(words[4], cmd.Control) || cmd.Control >= PadButtonCount)
            Fail(line, "unknown pad button '" + words[4] + "'");
        cmd.Down = ParseDirection(line, words[5]);
    } else if (what == "axis") {
        ExpectWords(line, words, 6, "TICK pad N axis NAME VALUE");
        cmd.Action = TScriptAction::PadAxis;
        if (!PadAxisFromName(words[4], cmd.Axis)) Fail(line, "unknown pad axis '" + words[4] + "'");
        cmd.Value = ParseCoordinate(line, words[5]);
        if (cmd.Value < -32768 || cmd.Value > 32767) Fail(line, "axis value '" + words[5] + "' out of range");
    } else {
        Fail(line, "unknown pad command '" + words[3] + "'");
    }
}

TScriptCommand ParseLine(int line, const std::vector<std::string>& words) {
    TScriptCommand cmd;
    cmd.Line = line;
    if (!ParseTick(words[0], cmd.Tick)) Fail(line, "bad tick '" + words[0] + "'");
    if (words.size() < 2) Fail(line, "missing command after the tick");
    const std::string verb = Lower(words[1]);
    if (verb == "key") {
        ExpectWords(line, words, 4, "TICK key NAME down|up");
        cmd.Action = TScriptAction::Key;
        if (!KeyFromName(words[2], cmd.Key)) Fail(line, "unknown key '" + words[2] + "'");
        cmd.Down = ParseDirection(line, words[3]);
    } else if (verb == "mouse" || verb == "click") {
        ExpectWords(line, words, 4, verb == "mouse" ? "TICK mouse X Y" : "TICK click X Y");
        cmd.Action = verb == "mouse" ? TScriptAction::Mouse : TScriptAction::Click;
        cmd.X = ParseCoordinate(line, words[2]);
        cmd.Y = ParseCoordinate(line, words[3]);
    } else if (verb == "button") {
        ExpectWords(line, words, 3, "TICK button down|up");
        cmd.Action = TScriptAction::Button;
        cmd.Down = ParseDirection(line, words[2]);
    } else if (verb == "shot") {
        ExpectWords(line, words, 3, "TICK shot FILE.png");
        const std::string& file = words[2];
        // Shots are always PNG; a differently named file would hold a picture its name lies about.
        if (file.size() < 5 || Lower(file.substr(file.size() - 4)) != ".png")
            Fail(line, "shot file '" + file + "' must end in .png");
        cmd.Action = TScriptAction::Shot;
        cmd.File = file;
    } else if (verb == "pad") {
        ParsePad(line, words, cmd);
    } else if (verb == "close") {
        ExpectWords(line, words, 2, "TICK close");
        cmd.Action = TScriptAction::Close;
    } else {
        Fail(line, "unknown command '" + words[1] + "'");
    }
    return cmd;
}

} // namespace

TInputScript TInputScript::Parse(const std::string& text) {
    TInputScript script;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.erase(hash);
        std::istringstream words(raw);
        std::vector<std::string> parts;
        for (std::string w; words >> w;)
            parts.push_back(w);
        if (parts.empty()) continue;
        script.Commands.push_back(ParseLine(line, parts));
    }
    std::stable_sort(script.Commands.begin(), script.Commands.end(),
                     [](const TScriptCommand& a, const TScriptCommand& b) { return a.Tick < b.Tick; });
    return script;
}

TInputScript TInputScript::Load(const std::string& path) {
    const TReadResult file = ReadFileBounded(path, TextFileLimit);
    if (!file.Ok()) throw TScriptError("the script '" + path + "' " + file.Reason());
    return Parse(std::string(file.Bytes.begin(), file.Bytes.end()));
}
