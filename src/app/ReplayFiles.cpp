// ReplayFiles: replay names, pruning, the content digest and checked loading.
#include "app/ReplayFiles.h"

#include "world/MapLoader.h"
#include "world/StateHash.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <limits>

#include <signal.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Far beyond any replay (a six-hour match is a few megabytes); larger files are refused unread.
constexpr size_t MaxReplayFileBytes = 64u << 20;
constexpr const char* AutoPrefix = "match-";

void HashFile(TStateHash& hash, const TFiles& files, const std::string& path) {
    const TReadResult read = files.Read(path, PictureFileLimit);
    HashNamedFile(hash, path, read.Ok() ? read.Bytes : std::vector<uint8_t>());
}
} // namespace

uint64_t MatchContentHash(const TFiles& files, const TOptions& options) {
    TStateHash hash;
    const std::string map = options.MapFile.Str();
    HashFile(hash, files, map);
    const TReadResult text = files.Read(map, TextFileLimit);
    if (text.Ok()) {
        const std::string folder = MapFolder(map);
        for (const std::string& line : SplitMapLines(std::string(text.Bytes.begin(), text.Bytes.end())))
            for (const char* key : {"BACK=", "MIDDLE=", "FRONT=", "DOTMAP="})
                if (const auto value = MapKeyValue(line, key)) HashFile(hash, files, folder + *value);
    }
    return MatchContentHash(files, options, hash);
}

uint64_t MatchContentHash(const TFiles& files, const TOptions& options, TStateHash mapContent) {
    for (const TPilotRecord& pilot : options.Players) {
        HashFile(mapContent, files, pilot.ShipFile.Str());
        HashFile(mapContent, files, pilot.FlagFile.Str());
    }
    return mapContent.Value();
}

bool SharedPicture(const std::string& path) {
    const std::vector<std::string> parts = TFiles::Split(path);
    return !parts.empty() && TFiles::WildcardMatch("graphics", parts.front());
}

std::vector<TReplayPicture> PrivatePictures(const TFiles& files, const TOptions& options) {
    std::vector<TReplayPicture> pictures;
    for (const TPilotRecord& pilot : options.Players)
        for (const std::string& path : {pilot.ShipFile.Str(), pilot.FlagFile.Str()}) {
            const bool shared = SharedPicture(path);
            const bool taken = std::any_of(pictures.begin(), pictures.end(),
                                           [&](const TReplayPicture& p) { return p.Path == path; });
            if (shared || taken) continue;
            TReadResult read = files.Read(path, MaxReplayPictureBytes);
            if (read.Ok()) pictures.push_back(TReplayPicture{path, std::move(read.Bytes)});
        }
    return pictures;
}

TProvidedPictures::TProvidedPictures(TFiles& files, const std::vector<TReplayPicture>& pictures)
    : Files(files) {
    Written = true;
    if (pictures.empty()) return;
    Folder = files.HomeDir / ReplayFolder / (PicturesFolderPrefix + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(Folder, ec);
    for (const TReplayPicture& picture : pictures) {
        fs::path target = Folder;
        for (const std::string& part : TFiles::Split(picture.Path))
            target /= part;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(picture.Bytes.data()), std::streamsize(picture.Bytes.size()));
        Written = Written && !ec && out.good();
    }
    Files.ProvidedDir = Folder;
}

TProvidedPictures::~TProvidedPictures() {
    if (Folder.empty()) return;
    Files.ProvidedDir.clear();
    std::error_code ec;
    fs::remove_all(Folder, ec);
}

void RemoveLeftoverPictures(const fs::path& home) {
    const std::string prefix = PicturesFolderPrefix;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(home / ReplayFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        long long pid = 0;
        const auto [end, error] = std::from_chars(first, last, pid);
        if (error != std::errc{} || end != last || first == last || pid <= 0) continue; // not one of ours
        // A process that runs (even one this user may not signal) may still be reading its pictures.
        const bool running = pid == getpid() || (pid <= std::numeric_limits<pid_t>::max() &&
                                                 (::kill(pid_t(pid), 0) == 0 || errno == EPERM));
        if (!running) fs::remove_all(entry.path(), ec);
    }
}

std::string NewReplayName(const TFiles& files) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = std::string(ReplayFolder) + "\\" + AutoPrefix + stamp;
    std::string name = base + ".rpl";
    // Two matches in one second: the later gets a number after an underscore, which sorts after the
    // dot of the first one's ".rpl" (a hyphen would sort before it, and pruning would take the later).
    for (int n = 2; files.Exists(name); ++n) {
        char suffix[16] = {};
        std::snprintf(suffix, sizeof suffix, "_%03d", n);
        name = base + suffix + ".rpl";
    }
    return name;
}

void PruneReplays(const TFiles& files, size_t keep) {
    const fs::path folder = TFiles::ResolveIn(files.HomeDir, ReplayFolder);
    if (folder.empty()) return;
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(AutoPrefix, 0) == 0 && entry.path().extension() == ".rpl") names.push_back(name);
    }
    if (names.size() <= keep) return;
    // The stamp sorts by time, so the first names are the oldest.
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i + keep < names.size(); ++i)
        fs::remove(folder / names[i], ec);
}

bool LoadReplayFile(const fs::path& path, TReplay& replay, std::string& error) {
    const TReadResult read = ReadFileBounded(path, MaxReplayFileBytes);
    if (!read.Ok()) {
        error = "the replay " + path.string() + " " + read.Reason();
        return false;
    }
    if (!ReadReplay(read.Bytes, replay, error)) {
        error = path.filename().string() + ": " + error;
        return false;
    }
    return true;
}
