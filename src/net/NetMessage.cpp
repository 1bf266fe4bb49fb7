// NetMessage: encoding and bounded decoding of the online messages.
#include "net/NetMessage.h"

#include "core/Files.h"
#include "media/Surface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t Magic[2] = {'F', 'N'};

struct TWriter {
    std::vector<uint8_t> Bytes;
    void U8(uint8_t v) { Bytes.push_back(v); }
    void U16(uint16_t v) { U8(uint8_t(v)), U8(uint8_t(v >> 8)); }
    void U32(uint32_t v) { U16(uint16_t(v)), U16(uint16_t(v >> 16)); }
    void U64(uint64_t v) { U32(uint32_t(v)), U32(uint32_t(v >> 32)); }
    void F32(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Raw(const uint8_t* p, size_t n) { Bytes.insert(Bytes.end(), p, p + n); }
    void Text(const std::string& s) {
        const size_t n = std::min(s.size(), NetTextLimit);
        U8(uint8_t(n));
        Raw(reinterpret_cast<const uint8_t*>(s.data()), n);
    }
    void Blob(const std::vector<uint8_t>& b) {
        const size_t n = std::min(b.size(), NetPictureLimit);
        U32(uint32_t(n));
        Raw(b.data(), n);
    }
};

struct TReader {
    const uint8_t* P = nullptr;
    size_t Left = 0;
    bool Ok = true;
    bool Take(size_t n) {
        Ok = Ok && n <= Left;
        return Ok;
    }
    uint8_t U8() {
        if (!Take(1)) return 0;
        --Left;
        return *P++;
    }
    uint16_t U16() { return uint16_t(U8() | (U8() << 8)); }
    uint32_t U32() { return uint32_t(U16()) | (uint32_t(U16()) << 16); }
    uint64_t U64() { return uint64_t(U32()) | (uint64_t(U32()) << 32); }
    float F32() {
        const uint32_t bits = U32();
        float v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    bool Raw(size_t n, std::vector<uint8_t>& out) {
        if (!Take(n)) return false;
        out.assign(P, P + n);
        P += n, Left -= n;
        return true;
    }
    std::string Text() {
        std::vector<uint8_t> b;
        Raw(U8(), b);
        return std::string(b.begin(), b.end());
    }
    std::vector<uint8_t> Blob() {
        std::vector<uint8_t> b;
        const uint32_t n = U32();
        if (n > NetPictureLimit) Ok = false;
        if (Ok) Raw(n, b);
        return b;
    }
};

void WriteStart(TWriter& w, const TNetStart& s) {
    std::vector<uint8_t> options = s.Start.Options.Bytes();
    w.Raw(options.data(), options.size());
    w.U32(s.Start.RandomSeed), w.U64(s.Start.ContentHash), w.U8(s.Start.FrameCounter);
    for (int8_t c : s.Start.PageCursor)
        w.U8(uint8_t(c));
    for (const auto& slots : s.Start.Weapons)
        for (const TReplayWeapon& k : slots)
            w.U8(k.WeaponId), w.U8(k.Owner), w.F32(k.Cooldown), w.F32(k.Ammo);
    w.U8(s.Delay);
}

void ReadStart(TReader& r, TNetStart& s) {
    std::vector<uint8_t> options;
    if (!r.Raw(OptionsRecordSize, options)) return;
    s.Start.Options.Read(options.data());
    s.Start.RandomSeed = r.U32(), s.Start.ContentHash = r.U64(), s.Start.FrameCounter = r.U8();
    for (int8_t& c : s.Start.PageCursor)
        c = int8_t(r.U8());
    for (auto& slots : s.Start.Weapons)
        for (TReplayWeapon& k : slots)
            k.WeaponId = r.U8(), k.Owner = r.U8(), k.Cooldown = r.F32(), k.Ammo = r.F32();
    s.Delay = r.U8();
}

} // namespace

std::vector<uint8_t> EncodeNetMessage(const TNetMessage& m) {
    TWriter w;
    w.Raw(Magic, 2);
    w.U16(NetProtocolVersion);
    w.U8(uint8_t(m.Kind));
    if (m.Kind != TNetKind::Hello && m.Kind != TNetKind::Bye) w.U16(m.Match);
    switch (m.Kind) {
    case TNetKind::Hello: {
        w.Text(m.Hello.GameVersion);
        std::array<uint8_t, PilotRecordSize> pilot{};
        m.Hello.Pilot.Write(pilot.data());
        w.Raw(pilot.data(), pilot.size());
        w.Blob(m.Hello.ShipPicture), w.Blob(m.Hello.FlagPicture);
        w.Text(m.Hello.Map), w.U8(m.Hello.FlagsDisabled), w.U8(m.Hello.PointsLimit), w.U8(m.Hello.Lives);
        break;
    }
    case TNetKind::Start:
        WriteStart(w, m.Start);
        break;
    case TNetKind::Inputs: {
        const TNetInputs& in = m.Inputs;
        const size_t n = std::min(in.Bits.size(), NetInputRun);
        w.U32(in.First), w.U8(uint8_t(n)), w.Raw(in.Bits.data(), n);
        w.U32(in.Received), w.U32(in.Clock), w.U32(in.Echo), w.U32(in.EchoAge);
        break;
    }
    case TNetKind::Hash:
        w.U32(m.Hash.Tick), w.U64(m.Hash.Hash);
        break;
    case TNetKind::Stop:
        w.U32(m.StopTick);
        break;
    case TNetKind::Bye:
        w.Text(m.Text);
        break;
    }
    return w.Bytes;
}

bool DecodeNetMessage(const uint8_t* bytes, size_t size, TNetMessage& m, std::string& error) {
    m = TNetMessage{};
    if (size > NetMessageLimit) {
        error = "a message of " + std::to_string(size) + " bytes is larger than any this game sends";
        return false;
    }
    TReader r{bytes, size};
    std::vector<uint8_t> head;
    if (!r.Raw(5, head) || head[0] != Magic[0] || head[1] != Magic[1]) {
        error = "not a message of this game";
        return false;
    }
    const uint16_t protocol = uint16_t(head[2] | (head[3] << 8));
    m.Kind = TNetKind(head[4]);
    if (protocol != NetProtocolVersion && m.Kind != TNetKind::Bye) {
        error = "the partner speaks protocol version " + std::to_string(protocol) + ", this game " +
                std::to_string(NetProtocolVersion);
        return false;
    }
    if (m.Kind != TNetKind::Hello && m.Kind != TNetKind::Bye) m.Match = r.U16();
    switch (m.Kind) {
    case TNetKind::Hello: {
        m.Hello.GameVersion = r.Text();
        std::vector<uint8_t> pilot;
        if (r.Raw(PilotRecordSize, pilot)) m.Hello.Pilot.Read(pilot.data());
        m.Hello.ShipPicture = r.Blob();
        m.Hello.FlagPicture = r.Blob();
        m.Hello.Map = r.Text();
        m.Hello.FlagsDisabled = r.U8(), m.Hello.PointsLimit = r.U8(), m.Hello.Lives = r.U8();
        break;
    }
    case TNetKind::Start:
        ReadStart(r, m.Start);
        break;
    case TNetKind::Inputs: {
        TNetInputs& in = m.Inputs;
        in.First = r.U32();
        const uint8_t n = r.U8();
        if (n > NetInputRun) r.Ok = false;
        if (r.Ok) r.Raw(n, in.Bits);
        in.Received = r.U32(), in.Clock = r.U32(), in.Echo = r.U32(), in.EchoAge = r.U32();
        break;
    }
    case TNetKind::Hash:
        m.Hash.Tick = r.U32(), m.Hash.Hash = r.U64();
        break;
    case TNetKind::Stop:
        m.StopTick = r.U32();
        break;
    case TNetKind::Bye:
        m.Text = r.Text();
        break;
    default:
        error = "a message of unknown kind " + std::to_string(head[4]);
        return false;
    }
    if (!r.Ok || r.Left != 0) {
        error = r.Ok ? "a message with bytes after its end" : "a message cut short or over its limits";
        return false;
    }
    return true;
}

std::string RefusedPictures(const TNetHello& hello) {
    const struct {
        std::string Path;
        const std::vector<uint8_t>& Bytes;
        TPictureLimit Limit;
        const char* What;
    } pictures[] = {{hello.Pilot.ShipFile.Str(), hello.ShipPicture, ShipPictureLimit, "ship"},
                    {hello.Pilot.FlagFile.Str(), hello.FlagPicture, FlagPictureLimit, "flag"}};
    for (const auto& p : pictures) {
        if (p.Bytes.empty()) continue;
        // The picture is put under a folder of its own by this path, which must stay inside it.
        const std::vector<std::string> parts = TFiles::Split(p.Path);
        const bool contained =
            !parts.empty() && std::none_of(parts.begin(), parts.end(),
                                           [](const auto& part) { return part == "." || part == ".."; });
        Surface picture;
        if (!contained || !picture.LoadFromMemory(p.Bytes.data(), p.Bytes.size(), p.Limit))
            return "the " + std::string(p.What) + " picture " + p.Path + " of " + hello.Pilot.Name.Str() +
                   " is damaged or larger than " + std::to_string(p.Limit.MaxWidth) + " x " +
                   std::to_string(p.Limit.MaxHeight) + " pixels; choose another to play online";
    }
    return {};
}
