// PilotRecord: serialisation and defaults of the pilot record.
#include "core/PilotRecord.h"

#include <cstring>

namespace {
struct Reader {
    const uint8_t* P;
    uint32_t U32() {
        const uint32_t v = uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
        P += 4;
        return v;
    }
    template <size_t N> void Str(TShortString<N>& s) {
        s.Length = *P++;
        std::memcpy(s.Chars.data(), P, N);
        P += N;
    }
    template <size_t N> void Bytes(std::array<uint8_t, N>& a) {
        std::memcpy(a.data(), P, N);
        P += N;
    }
};
struct Writer {
    uint8_t* P;
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) *P++ = uint8_t(v >> (8 * i));
    }
    template <size_t N> void Str(const TShortString<N>& s) {
        *P++ = s.Length;
        std::memcpy(P, s.Chars.data(), N);
        P += N;
    }
    template <size_t N> void Bytes(const std::array<uint8_t, N>& a) {
        std::memcpy(P, a.data(), N);
        P += N;
    }
};

} // namespace

void TPilotRecord::Read(const uint8_t* bytes) {
    Reader in{bytes};
    in.Str(Name);
    in.Str(ShipFile);
    in.Str(FlagFile);
    ShipValid = *in.P++;
    in.Bytes(Pad130);
    for (uint32_t* f : {&BattlesFought, &BattlesWon, &BattlesDrawn, &SuccessiveWins, &ShotsHitEnemy, &ShotsHitSelf,
                        &ShotsFired, &Points, &Experience, &FlagsCaptured, &FlagAttempts, &PlayingTime,
                        &LongestBattle, &OnFootTime})
        *f = in.U32();
    in.Bytes(Medals);
    in.Bytes(Pad206);
    PantsColour = in.U32();
    HelmetColour = in.U32();
    ShirtColour = in.U32();
    in.Bytes(Weapons);
    in.Bytes(Pad230);
}

void TPilotRecord::Write(uint8_t* bytes) const {
    Writer out{bytes};
    out.Str(Name);
    out.Str(ShipFile);
    out.Str(FlagFile);
    *out.P++ = ShipValid;
    out.Bytes(Pad130);
    for (uint32_t f : {BattlesFought, BattlesWon, BattlesDrawn, SuccessiveWins, ShotsHitEnemy, ShotsHitSelf, ShotsFired,
                       Points, Experience, FlagsCaptured, FlagAttempts, PlayingTime, LongestBattle, OnFootTime})
        out.U32(f);
    out.Bytes(Medals);
    out.Bytes(Pad206);
    out.U32(PantsColour);
    out.U32(HelmetColour);
    out.U32(ShirtColour);
    out.Bytes(Weapons);
    out.Bytes(Pad230);
}

void TPilotRecord::ClearCounters() {
    BattlesFought = BattlesWon = BattlesDrawn = SuccessiveWins = 0;
    ShotsHitEnemy = ShotsHitSelf = ShotsFired = Points = Experience = 0;
    FlagsCaptured = FlagAttempts = PlayingTime = LongestBattle = OnFootTime = 0;
    Medals.fill(0);
}

TPilotRecord DefaultPilot(int side, const std::string& shipFile, const std::string& flagFile) {
    TPilotRecord r;
    r.Name.Set(side == 0 ? "PLAYER 1" : "PLAYER 2");
    r.ShipFile.Set(shipFile);
    r.FlagFile.Set(flagFile);
    r.PantsColour = DefaultPants[side & 1];
    r.HelmetColour = DefaultHelmet[side & 1];
    r.ShirtColour = DefaultShirt[side & 1];
    r.Weapons = DefaultWeapons;
    return r;
}
