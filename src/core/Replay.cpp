// Replay: writing and checked reading of the replay file form.
#include "core/Replay.h"

#include "core/Files.h"

#include <algorithm>
#include <cstring>

const char* const ReplayGameVersion = "Flarons AFTERBURN 1";

namespace {

constexpr char Magic[8] = {'F', 'L', 'A', 'R', 'E', 'P', 'L', 'Y'};
// Six hours at a hundred frames a second: far beyond any match, small enough to hold in memory.
constexpr uint32_t MaxTicks = 6u * 3600u * 100u;
constexpr size_t RunBytes = 10;
constexpr size_t ChecksumBytes = 8;

// A picture path that stays inside whatever folder it is put under.
bool ContainedPath(const std::string& path) {
    const std::vector<std::string> parts = TFiles::Split(path);
    return !parts.empty() && std::none_of(parts.begin(), parts.end(), [](const std::string& part) {
        return part == "." || part == "..";
    });
}

bool NamedByPilot(const TOptions& options, const std::string& path) {
    return std::any_of(options.Players.begin(), options.Players.end(), [&](const TPilotRecord& pilot) {
        return pilot.ShipFile.Str() == path || pilot.FlagFile.Str() == path;
    });
}

class TWriter {
  public:
    std::vector<uint8_t> Out;
    void Raw(const void* data, size_t size) {
        const auto* b = static_cast<const uint8_t*>(data);
        Out.insert(Out.end(), b, b + size);
    }
    template <typename T> void Le(T v) {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof v);
        for (size_t i = 0; i < sizeof v; ++i)
            Out.push_back(uint8_t(u >> (8 * i)));
    }
};

// Every read checks the bytes left first; the first short read marks the reader failed.
class TReader {
  public:
    TReader(const uint8_t* data, size_t size) : Data(data), Size(size) {}
    bool Failed = false;
    size_t Left() const { return Size - Pos; }
    bool Raw(void* out, size_t n) {
        if (Failed || Left() < n) return Failed = true, false;
        std::memcpy(out, Data + Pos, n);
        Pos += n;
        return true;
    }
    template <typename T> T Le() {
        uint8_t b[sizeof(T)] = {};
        if (!Raw(b, sizeof b)) return T{};
        uint64_t u = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            u |= uint64_t(b[i]) << (8 * i);
        T v{};
        std::memcpy(&v, &u, sizeof v);
        return v;
    }

  private:
    const uint8_t* Data;
    size_t Size;
    size_t Pos = 0;
};

} // namespace

uint64_t ReplayChecksum(const uint8_t* data, size_t size) {
    uint64_t v = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) {
        v ^= data[i];
        v *= 1099511628211ull;
    }
    return v;
}

std::vector<uint8_t> WriteReplay(const TReplay& r) {
    TWriter w;
    w.Raw(Magic, sizeof Magic);
    w.Le<uint16_t>(ReplayFormatVersion);
    const size_t versionLength = std::strlen(ReplayGameVersion);
    w.Le<uint8_t>(uint8_t(versionLength));
    w.Raw(ReplayGameVersion, versionLength);
    const TReplayStart& s = r.Start;
    w.Le<uint32_t>(s.RandomSeed);
    w.Raw(s.Options.Bytes().data(), OptionsRecordSize);
    w.Le<uint64_t>(s.ContentHash);
    w.Le<uint8_t>(s.FrameCounter);
    w.Le<int8_t>(s.PageCursor[0]);
    w.Le<int8_t>(s.PageCursor[1]);
    for (const auto& slots : s.Weapons)
        for (const TReplayWeapon& weapon : slots) {
            w.Le<uint8_t>(weapon.WeaponId);
            w.Le<uint8_t>(weapon.Owner);
            w.Le<float>(weapon.Cooldown);
            w.Le<float>(weapon.Ammo);
        }
    w.Le<uint8_t>(uint8_t(s.Pictures.size()));
    for (const TReplayPicture& picture : s.Pictures) {
        w.Le<uint8_t>(uint8_t(picture.Path.size()));
        w.Raw(picture.Path.data(), picture.Path.size());
        w.Le<uint32_t>(uint32_t(picture.Bytes.size()));
        w.Raw(picture.Bytes.data(), picture.Bytes.size());
    }

    // Ticks in runs: the controls change a few times a second and the frame rate hardly ever.
    std::vector<std::pair<uint32_t, TMatchTick>> runs;
    for (const TMatchTick& t : r.Ticks) {
        if (!runs.empty() && runs.back().second == t)
            ++runs.back().first;
        else
            runs.emplace_back(1, t);
    }
    w.Le<uint32_t>(uint32_t(r.Ticks.size()));
    w.Le<uint32_t>(uint32_t(runs.size()));
    for (const auto& [length, t] : runs) {
        w.Le<uint32_t>(length);
        w.Le<uint8_t>(t.Actions[0]), w.Le<uint8_t>(t.Actions[1]);
        w.Le<uint8_t>(t.Previous[0]), w.Le<uint8_t>(t.Previous[1]);
        w.Le<uint16_t>(t.FrameRate);
    }
    w.Le<uint32_t>(uint32_t(r.Hashes.size()));
    for (const uint64_t h : r.Hashes)
        w.Le<uint64_t>(h);
    w.Le<uint8_t>(r.Result.How);
    w.Le<int64_t>(r.Result.Points[0]);
    w.Le<int64_t>(r.Result.Points[1]);
    w.Le<uint64_t>(r.Result.FinalHash);
    w.Le<uint64_t>(ReplayChecksum(w.Out.data(), w.Out.size()));
    return std::move(w.Out);
}

bool ReadReplay(const std::vector<uint8_t>& bytes, TReplay& out, std::string& error) {
    TReader in(bytes.data(), bytes.size());
    char magic[sizeof Magic] = {};
    if (!in.Raw(magic, sizeof magic) || std::memcmp(magic, Magic, sizeof Magic) != 0) {
        error = "not a replay file";
        return false;
    }
    const uint16_t version = in.Le<uint16_t>();
    if (in.Failed) {
        error = "the replay file is cut short";
        return false;
    }
    if (version != ReplayFormatVersion && version != 1) {
        error = "replay format " + std::to_string(version) + " is not one this game reads (it reads " +
                std::to_string(ReplayFormatVersion) + ")";
        return false;
    }
    if (bytes.size() < sizeof Magic + 2 + ChecksumBytes) {
        error = "the replay file is cut short";
        return false;
    }
    const size_t body = bytes.size() - ChecksumBytes;
    uint64_t stored = 0;
    for (size_t i = 0; i < ChecksumBytes; ++i)
        stored |= uint64_t(bytes[body + i]) << (8 * i);
    if (ReplayChecksum(bytes.data(), body) != stored) {
        error = "the replay file is damaged or cut short";
        return false;
    }

    // The checksum holds; what follows guards against files made to pass it.
    TReplay r;
    const auto fail = [&](const char* why) {
        error = std::string("the replay file is malformed: ") + why;
        return false;
    };
    const uint8_t versionLength = in.Le<uint8_t>();
    std::string gameVersion(versionLength, '\0');
    in.Raw(gameVersion.data(), versionLength);
    TReplayStart& s = r.Start;
    s.RandomSeed = in.Le<uint32_t>();
    uint8_t options[OptionsRecordSize] = {};
    if (in.Raw(options, sizeof options)) s.Options.Read(options);
    s.ContentHash = in.Le<uint64_t>();
    s.FrameCounter = in.Le<uint8_t>();
    s.PageCursor[0] = in.Le<int8_t>();
    s.PageCursor[1] = in.Le<int8_t>();
    for (auto& slots : s.Weapons)
        for (TReplayWeapon& weapon : slots) {
            weapon.WeaponId = in.Le<uint8_t>();
            weapon.Owner = in.Le<uint8_t>();
            weapon.Cooldown = in.Le<float>();
            weapon.Ammo = in.Le<float>();
        }
    const uint8_t pictures = version >= 2 ? in.Le<uint8_t>() : 0;
    if (pictures > 4) return fail("too many pictures");
    for (uint8_t k = 0; k < pictures && !in.Failed; ++k) {
        TReplayPicture picture;
        picture.Path.resize(in.Le<uint8_t>());
        in.Raw(picture.Path.data(), picture.Path.size());
        const uint32_t size = in.Le<uint32_t>();
        if (in.Failed || size > MaxReplayPictureBytes || size > in.Left())
            return fail("a picture does not fit");
        if (!ContainedPath(picture.Path) || !NamedByPilot(s.Options, picture.Path))
            return fail("a picture no pilot uses");
        picture.Bytes.resize(size);
        in.Raw(picture.Bytes.data(), size);
        s.Pictures.push_back(std::move(picture));
    }
    const uint32_t ticks = in.Le<uint32_t>();
    const uint32_t runs = in.Le<uint32_t>();
    if (in.Failed) return fail("the header is cut short");
    if (ticks > MaxTicks) return fail("too many ticks");
    if (runs > ticks || size_t(runs) * RunBytes > in.Left()) return fail("the runs do not fit");
    r.Ticks.reserve(ticks);
    for (uint32_t k = 0; k < runs; ++k) {
        const uint32_t length = in.Le<uint32_t>();
        TMatchTick t;
        t.Actions[0] = in.Le<uint8_t>(), t.Actions[1] = in.Le<uint8_t>();
        t.Previous[0] = in.Le<uint8_t>(), t.Previous[1] = in.Le<uint8_t>();
        t.FrameRate = in.Le<uint16_t>();
        if (length == 0 || length > ticks - r.Ticks.size()) return fail("the runs do not add up");
        if (((t.Actions[0] | t.Actions[1] | t.Previous[0] | t.Previous[1]) & ~ActAll) != 0)
            return fail("unknown controls");
        r.Ticks.insert(r.Ticks.end(), length, t);
    }
    if (r.Ticks.size() != ticks) return fail("the runs do not add up");
    const uint32_t hashes = in.Le<uint32_t>();
    if (hashes != ticks / ReplayHashInterval || size_t(hashes) * 8 > in.Left())
        return fail("the state hashes do not match the ticks");
    r.Hashes.resize(hashes);
    for (uint64_t& h : r.Hashes)
        h = in.Le<uint64_t>();
    r.Result.How = in.Le<uint8_t>();
    r.Result.Points[0] = in.Le<int64_t>();
    r.Result.Points[1] = in.Le<int64_t>();
    r.Result.FinalHash = in.Le<uint64_t>();
    if (in.Failed || in.Left() != ChecksumBytes) return fail("the lengths do not add up");
    if (r.Result.How < ReplayEnded || r.Result.How > ReplayFaulted) return fail("unknown ending");
    out = std::move(r);
    return true;
}
