// Files: case-insensitive lookup, wildcard search and safe saving of game paths.
#include "core/Files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

static std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> TFiles::Split(const std::string& winPath) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : winPath) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

bool TFiles::NameLess(const std::string& a, const std::string& b) {
    const std::string la = Lower(a), lb = Lower(b);
    return la != lb ? la < lb : a < b;
}

bool TFiles::WildcardMatch(const std::string& pattern, const std::string& name) {
    // "*.*" means every name, so it matches names without a dot too.
    if (pattern == "*.*") return true;
    const std::string p = Lower(pattern), n = Lower(name);
    size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

// Finds one component in a folder: the exact name first, then the first case-insensitive match.
static fs::path Component(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (name == "." || name == "..") return {};
    fs::path exact = dir / name;
    if (fs::exists(exact, ec)) return exact;
    std::vector<std::string> matches;
    const std::string want = Lower(name);
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string n = e.path().filename().string();
        if (Lower(n) == want) matches.push_back(n);
    }
    if (matches.empty()) return {};
    std::sort(matches.begin(), matches.end());
    return dir / matches.front();
}

fs::path TFiles::ResolveIn(const fs::path& base, const std::string& winPath) {
    if (base.empty()) return {};
    fs::path cur = base;
    for (const std::string& part : Split(winPath)) {
        cur = Component(cur, part);
        if (cur.empty()) return {};
    }
    return cur;
}

fs::path TFiles::ForReading(const std::string& winPath) const {
    if (Split(winPath).empty()) return {};
    fs::path p = ResolveIn(ProvidedDir, winPath);
    if (p.empty()) p = ResolveIn(HomeDir, winPath);
    if (p.empty() && GameDir != HomeDir) p = ResolveIn(GameDir, winPath);
    return p;
}

fs::path TFiles::ForWriting(const std::string& winPath) const {
    fs::path cur = HomeDir;
    for (const std::string& part : Split(winPath)) {
        fs::path found = Component(cur, part);
        cur = found.empty() ? cur / part : found;
    }
    return cur;
}

std::vector<std::string> TFiles::FindFiles(const std::string& winPattern) const {
    std::vector<std::string> parts = Split(winPattern);
    std::vector<std::string> names;
    if (parts.empty()) return names;
    const std::string pattern = parts.back();
    parts.pop_back();
    std::string folder;
    for (const std::string& p : parts)
        folder += p + "\\";
    std::vector<fs::path> bases{HomeDir};
    if (GameDir != HomeDir) bases.push_back(GameDir);
    for (const fs::path& base : bases) {
        const fs::path dir = parts.empty() ? base : ResolveIn(base, folder);
        std::error_code ec;
        if (dir.empty() || !fs::is_directory(dir, ec)) continue;
        for (const auto& e : fs::directory_iterator(dir, ec)) {
            const std::string n = e.path().filename().string();
            if (!WildcardMatch(pattern, n)) continue;
            const bool seen = std::any_of(names.begin(), names.end(),
                                          [&](const std::string& o) { return Lower(o) == Lower(n); });
            if (!seen) names.push_back(n);
        }
    }
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}

bool TFiles::CreateFolder(const std::string& winPath) const {
    if (Split(winPath).empty()) return false;
    const fs::path existing = ResolveIn(HomeDir, winPath);
    if (!existing.empty()) return false;
    std::error_code ec;
    return fs::create_directory(ForWriting(winPath), ec) && !ec;
}

bool TFiles::IsFile(const std::string& winPath) const {
    std::error_code ec;
    const fs::path p = ForReading(winPath);
    return !p.empty() && fs::is_regular_file(p, ec);
}

TReadResult TFiles::Read(const std::string& winPath, size_t maxBytes) const {
    const fs::path p = ForReading(winPath);
    if (p.empty()) return TReadResult{TReadStatus::Missing, {}};
    return ReadFileBounded(p, maxBytes);
}

static fs::path TemporaryOf(fs::path target) {
    target += ".tmp";
    return target;
}

bool TFiles::WriteFileAtomic(const std::string& winPath, const std::vector<uint8_t>& bytes) const {
    if (Split(winPath).empty()) return false;
    const fs::path target = ForWriting(winPath);
    const fs::path temp = TemporaryOf(target);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

void TFiles::RemoveLeftoverTemporary(const std::string& winPath) const {
    if (Split(winPath).empty()) return;
    const fs::path temp = TemporaryOf(ForWriting(winPath));
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(temp, ec))) fs::remove(temp, ec);
}
