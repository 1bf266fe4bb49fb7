// NetTest: the online messages survive the trip and refuse hostile bytes; two sessions on a lossy,
// slow line stay in lockstep, stop together, and notice a desync and a silent partner.
#include "media/Surface.h"
#include "net/MemoryTransport.h"
#include "net/NetSession.h"

#include <gtest/gtest.h>

namespace {

std::vector<TNetMessage> OneOfEachKind() {
    std::vector<TNetMessage> all(6);
    all[0].Kind = TNetKind::Hello, all[0].Hello.GameVersion = ReplayGameVersion;
    all[0].Hello.Pilot.Name.Set("ACE"), all[0].Hello.Pilot.Points = 77, all[0].Hello.FlagPicture = {1, 2, 3};
    all[0].Hello.Map = "maps\\cave.map", all[0].Hello.PointsLimit = 4, all[0].Hello.Lives = 3;
    all[1].Kind = TNetKind::Start, all[1].Match = 3, all[1].Start.Delay = 7;
    TReplayStart& s = all[1].Start.Start;
    s.RandomSeed = 0xDEADBEEF, s.ContentHash = 0x0123456789ABCDEF, s.PageCursor = {-1, 4};
    s.Options.MapFile.Set("maps\\cave.bmp"), s.Options.Lives = 9, s.Weapons[1][1] = {12, 1, 0.25f, 2.5f};
    all[2].Kind = TNetKind::Inputs, all[2].Match = 2;
    all[2].Inputs = TNetInputs{70000, std::vector<uint8_t>(NetInputRun, 0x15), 69990, 123456, 654321, 40};
    all[3].Kind = TNetKind::Hash, all[3].Match = 2, all[3].Hash = {300, 0xFEEDFACECAFEBEEF};
    all[4].Kind = TNetKind::Stop, all[4].Match = 2, all[4].StopTick = 4242;
    all[5].Kind = TNetKind::Bye, all[5].Text = "the host closed the game";
    return all;
}

bool Decodes(const std::vector<uint8_t>& bytes, std::string* error = nullptr) {
    TNetMessage m;
    std::string why;
    const bool ok = DecodeNetMessage(bytes.data(), bytes.size(), m, why);
    if (error != nullptr) *error = why;
    // Whatever is accepted is written back to the same bytes: nothing read is lost or invented.
    return ok && EncodeNetMessage(m) == bytes;
}

TEST(NetMessage, EveryKindRoundTripsAndHostileBytesAreRefused) {
    for (const TNetMessage& m : OneOfEachKind()) {
        const std::vector<uint8_t> bytes = EncodeNetMessage(m);
        EXPECT_TRUE(Decodes(bytes)) << int(m.Kind);
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            EXPECT_FALSE(Decodes({bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)})) << int(m.Kind);
        std::vector<uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(Decodes(longer)) << int(m.Kind);
    }
    const std::vector<uint8_t> hello = EncodeNetMessage(OneOfEachKind()[0]);
    const std::vector<uint8_t> inputs = EncodeNetMessage(OneOfEachKind()[2]);
    const std::vector<uint8_t> bye = EncodeNetMessage(OneOfEachKind()[5]);
    const auto patched = [](std::vector<uint8_t> b, size_t at, uint8_t v) { return b[at] = v, b; };
    const size_t shipLength = 5 + 1 + hello[5] + PilotRecordSize;
    const struct {
        std::vector<uint8_t> Bytes;
        const char* Why;
    } hostile[] = {
        {{'X', 'N', 1, 0, 3}, "not a message"},
        {patched(inputs, 2, 9), "protocol version 9"},
        {patched(inputs, 4, 77), "unknown kind 77"},
        {patched(inputs, 11, uint8_t(NetInputRun + 1)), "cut short or over"},
        {patched(patched(hello, shipLength + 2, 0xFF), shipLength + 3, 0xFF), "cut short or over"},
        {std::vector<uint8_t>(NetMessageLimit + 1, 'F'), "larger than any"},
    };
    for (const auto& h : hostile) {
        std::string error;
        EXPECT_FALSE(Decodes(h.Bytes, &error));
        EXPECT_NE(error.find(h.Why), std::string::npos) << error;
    }
    // A goodbye reads across versions, so a partner of another version learns why.
    TNetMessage m;
    std::string error;
    const std::vector<uint8_t> otherBye = patched(bye, 2, 9);
    ASSERT_TRUE(DecodeNetMessage(otherBye.data(), otherBye.size(), m, error)) << error;
    EXPECT_EQ(m.Text, "the host closed the game");
}

// Two sessions on one simulated line, run in 10 ms frames; each side folds the bits of every tick it
// runs into a state of its own, as a world would.
struct TLine {
    std::shared_ptr<TMemoryLine> Line = std::make_shared<TMemoryLine>();
    std::array<std::unique_ptr<TNetSession>, 2> Side;
    std::array<uint64_t, 2> State{};
    std::array<uint64_t, 2> Waited{}, Frames{};
    std::array<bool, 2> Silent{};
    uint32_t Random = 99;

    TLine(uint32_t roundTripMs, uint32_t lossPerMille) {
        Line->RoundTripMs = roundTripMs, Line->LossPerMille = lossPerMille;
        TNetHello hello;
        hello.GameVersion = ReplayGameVersion;
        for (int s = 0; s < 2; ++s)
            Side[size_t(s)] = std::make_unique<TNetSession>(MemoryEnd(Line, s), s, hello);
    }
    void Frame() {
        Line->Now += 10;
        for (size_t s = 0; s < 2; ++s) {
            TNetSession& n = *Side[s];
            if (Silent[s]) continue;
            n.Receive(Line->Now, 0);
            if (TNetStart start; n.TakeStart(start)) {
                EXPECT_EQ(start.Start.RandomSeed, 5u);
            }
            if (n.WantsLocalInput()) n.AddLocalInput(uint8_t((Random = Random * 69069u + 1) >> 27));
            n.Send(Line->Now);
            if (n.Phase() != TNetPhase::Playing || n.StopReached()) continue;
            ++Frames[s];
            if (!n.Ready()) {
                ++Waited[s];
                continue;
            }
            const std::array<uint8_t, 2> bits = n.Take();
            State[s] = State[s] * 1000003u + bits[0] * 31u + bits[1] + 1;
            if (n.TicksTaken() % ReplayHashInterval == 0) n.AddHash(n.TicksTaken(), State[s]);
        }
    }
};

TEST(NetSession, ALossySlowLineStaysInLockstepAndEndsOnDesyncOrSilence) {
    TLine t(150, 100); // 150 ms round trip, 10 % of the messages lost
    for (int i = 0; i < 100; ++i)
        t.Frame();
    ASSERT_EQ(t.Side[1]->Phase(), TNetPhase::Lobby);
    EXPECT_NEAR(t.Side[0]->RoundTripMs(), 150, 20);
    const uint8_t delay = ChooseInputDelay(t.Side[0]->RoundTripMs(), 10);
    EXPECT_EQ(delay, 10);
    for (const auto& [roundTrip, tick, chosen] :
         {std::tuple{0u, 10u, 2}, {9000u, 10u, 15}, {900u, 100u, 2}, {9u, 0u, 6}})
        EXPECT_EQ(ChooseInputDelay(roundTrip, tick), chosen) << roundTrip << " " << tick;
    TReplayStart start;
    start.RandomSeed = 5;
    t.Side[0]->Begin(start, delay);
    while (t.Side[0]->TicksTaken() < 6000 && t.Line->Now < 600000)
        t.Frame();
    t.Side[1]->Leave();
    for (int i = 0; i < 100; ++i)
        t.Frame();
    for (const auto& side : t.Side)
        ASSERT_EQ(side->Phase(), TNetPhase::Playing) << side->Message();
    EXPECT_TRUE(t.Side[0]->StopReached() && t.Side[1]->StopReached());
    EXPECT_EQ(t.Side[0]->TicksTaken(), t.Side[1]->TicksTaken());
    EXPECT_EQ(t.State[0], t.State[1]);
    const double waited = double(t.Waited[0] + t.Waited[1]) / double(t.Frames[0] + t.Frames[1]);
    EXPECT_LT(waited, 0.05);

    // The next match: one side's world goes its own way; both stop with the tick named.
    for (auto& side : t.Side)
        side->EndMatch();
    t.Side[0]->Begin(start, delay);
    while (t.Side[0]->TicksTaken() < 150)
        t.Frame();
    t.State[1] ^= 1;
    for (int i = 0; i < 200; ++i)
        t.Frame();
    for (const auto& side : t.Side) {
        EXPECT_EQ(side->Phase(), TNetPhase::Over);
        EXPECT_NE(side->Message().find("apart at tick 200"), std::string::npos) << side->Message();
    }

    // A partner that falls silent is given up after five seconds, not before.
    TLine quiet(20, 0);
    for (int i = 0; i < 50; ++i)
        quiet.Frame();
    quiet.Silent[1] = true;
    for (int i = 0; i < 499; ++i)
        quiet.Frame();
    EXPECT_EQ(quiet.Side[0]->Phase(), TNetPhase::Lobby);
    for (int i = 0; i < 5; ++i)
        quiet.Frame();
    EXPECT_EQ(quiet.Side[0]->Phase(), TNetPhase::Over);
    EXPECT_NE(quiet.Side[0]->Message().find("gone"), std::string::npos);
}

// A private picture reaches the partner; one that is damaged, too large or would land outside its
// folder ends the connection with the same reason on both sides.
TEST(NetSession, PrivatePicturesTravelOrEndTheConnection) {
    const struct {
        int Width;
        size_t Cut;
        const char* Path;
    } cases[] = {{8, 0, "pilots\\ACE\\a_ship.bmp"},
                 {8, 10, "pilots\\ACE\\a_ship.bmp"},
                 {65, 0, "pilots\\ACE\\a_ship.bmp"},
                 {8, 0, "pilots\\..\\..\\a_ship.bmp"}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> bmp = Surface(c.Width, 8).EncodeBmp();
        TLine t(20, 0);
        TNetHello hello;
        hello.GameVersion = ReplayGameVersion, hello.Pilot.Name.Set("ACE"), hello.Pilot.ShipFile.Set(c.Path);
        hello.ShipPicture.assign(bmp.begin(), bmp.end() - std::ptrdiff_t(c.Cut));
        t.Side[1]->Greet(hello);
        for (int i = 0; i < 30; ++i)
            t.Frame();
        if (&c == cases) {
            ASSERT_EQ(t.Side[0]->Phase(), TNetPhase::Lobby);
            EXPECT_EQ(t.Side[0]->Partner().ShipPicture, bmp);
            continue;
        }
        for (const auto& side : t.Side)
            EXPECT_NE(side->Message().find(std::string("ship picture ") + c.Path + " of ACE is damaged"),
                      std::string::npos)
                << side->Message();
    }
}

} // namespace
