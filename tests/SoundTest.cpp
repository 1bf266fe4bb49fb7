// SoundTest: the mixer's buffer rules, volume, pan, frequency, looping and lookup, mixed headless.
#include "media/Sound.h"
#include "media/MediaError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace {

using Samples = std::vector<int16_t>;

// Steady recordings are easy to read back: every mixed frame of them has the same value.
TWaveItem Item(const std::string& name, Samples samples, int maxPlaying = 1, bool looped = false,
               int rate = 1000) {
    TWaveItem item;
    item.Name = name;
    item.Wave.Samples = std::move(samples);
    item.Wave.SampleRate = rate;
    item.MaxPlayingCount = maxPlaying;
    item.Looped = looped;
    return item;
}

// A list whose mixer runs at the given output rate.
struct TSounds {
    TWaveList List;
    TMixer& M = List.Mixer;
    explicit TSounds(int rate) { M.OutputRate = rate; }
    TWaveItem& Add(TWaveItem item) { return List.Add(std::move(item)); }
    TWaveItem& operator[](const std::string& name) { return List.Find(name); }
};

Samples MixFrames(TMixer& mixer, size_t frames) {
    Samples out(frames * 2, int16_t(12345)); // garbage that Mix must overwrite
    mixer.Mix(out.data(), frames);
    return out;
}

Samples LeftOf(const Samples& stereo) {
    Samples left;
    for (size_t i = 0; i < stereo.size(); i += 2)
        left.push_back(stereo[i]);
    return left;
}

// Frames until both channels fall silent for good.
size_t AudibleFrames(const Samples& stereo) {
    size_t last = 0;
    for (size_t i = 0; i < stereo.size() / 2; ++i)
        if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0) last = i + 1;
    return last;
}

size_t PlayingCount(const TMixer& mixer, const TWaveItem& item) {
    size_t n = 0;
    for (size_t index : item.Buffers)
        n += mixer.Voices[index].Playing ? 1 : 0;
    return n;
}

} // namespace

TEST(SoundMixer, MixesOverwritesClampsAndSumsInPieces) {
    TSounds s(1000);
    const Samples silent = MixFrames(s.M, 10);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](int16_t v) { return v == 0; }));

    s.Add(Item("Loud", Samples(100, 30000), 2));
    s["Loud"].Play(s.M);
    s["Loud"].Play(s.M);
    Samples out = MixFrames(s.M, 10);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], 32767);
    s["Loud"].Stop(s.M);
    s.Add(Item("Low", Samples(100, -30000), 2));
    s["Low"].Play(s.M);
    s["Low"].Play(s.M);
    EXPECT_EQ(MixFrames(s.M, 10)[0], -32768);

    TSounds sum(1000);
    sum.Add(Item("A", Samples(3000, 1000))).Play(sum.M);
    sum.Add(Item("B", Samples(3000, -300))).Play(sum.M);
    out = MixFrames(sum.M, 2500); // longer than one internal pass
    EXPECT_EQ(out[0], 700);
    EXPECT_EQ(out[2 * 1000], 700);
    EXPECT_EQ(out[2 * 2499 + 1], 700);
}

TEST(SoundMixer, VolumeAndPanScaleEachChannelWithinSilenceAndFull) {
    TSounds s(1000);
    TWaveItem& item = s.Add(Item("Tone", Samples(1000, 10000)));
    // 6 dB down is about half, -100 dB and below silence, and nothing is louder than full; the pan
    // lowers the far side only, and beyond full right counts as full right.
    const std::tuple<int, int, int, int, int> cases[] = {
        {-600, 0, 5012, 5012, 2}, {-10000, 0, 0, 0, 0},     {-20000, 0, 0, 0, 0},       {500, 0, 10000, 10000, 0},
        {0, -10000, 10000, 0, 0}, {0, 600, 5012, 10000, 2}, {0, 30000, 0, 10000, 0}};
    for (const auto& [volume, pan, left, right, tolerance] : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << volume << " pan " << pan);
        item.SetVolume(s.M, volume);
        item.SetPan(s.M, pan);
        item.Play(s.M);
        const Samples out = MixFrames(s.M, 10);
        for (size_t i = 0; i < out.size(); i += 2) {
            EXPECT_NEAR(out[i], left, tolerance);
            EXPECT_NEAR(out[i + 1], right, tolerance);
        }
    }
}

TEST(SoundMixer, FrequencySetsTheDurationAndResamplesByInterpolation) {
    TSounds s(44100);
    TWaveItem& item = s.Add(Item("Tone", Samples(2205, 8000), 1, false, 22050)); // 0.1 s at its own rate
    // Twice as fast is half as long; 0 goes back to the recording's own rate, -1 leaves it unset.
    for (const auto& [frequency, frames, tolerance] :
         {std::tuple{-1, 4410.0, 2.0}, {44100, 2205.0, 2.0}, {11025, 8820.0, 3.0}, {0, 4410.0, 2.0}}) {
        if (frequency >= 0) item.SetFrequency(s.M, frequency);
        item.Play(s.M);
        EXPECT_NEAR(double(AudibleFrames(MixFrames(s.M, 20000))), frames, tolerance) << frequency;
        EXPECT_FALSE(s.M.Voices[item.Buffers[0]].Playing) << frequency;
    }

    TSounds ramp(2000);
    ramp.Add(Item("Ramp", {0, 1000, 2000, 3000})).Play(ramp.M);
    EXPECT_EQ(LeftOf(MixFrames(ramp.M, 6)), (Samples{0, 500, 1000, 1500, 2000, 2500}));
}

TEST(SoundBuffers, OneShotUsesFreeThenNewThenOldestBuffer) {
    TSounds s(1000);
    TWaveItem& shot = s.Add(Item("Shot", Samples(100, 100), 3));
    for (int i = 0; i < 3; ++i)
        shot.Play(s.M);
    ASSERT_EQ(shot.Buffers.size(), 3u);
    EXPECT_EQ(PlayingCount(s.M, shot), 3u);
    const auto positions = [&] {
        std::vector<double> at;
        for (size_t index : shot.Buffers)
            at.push_back(s.M.Voices[index].Position);
        return at;
    };
    // All three busy and the limit reached: the oldest (the first) restarts from sample 0, then the next.
    MixFrames(s.M, 30);
    shot.Play(s.M);
    EXPECT_EQ(positions(), (std::vector<double>{0, 30, 30}));
    shot.Play(s.M);
    EXPECT_EQ(positions(), (std::vector<double>{0, 0, 30}));
    // A finished buffer is reused before anything else is disturbed.
    s.M.Voices[shot.Buffers[2]].Playing = false;
    MixFrames(s.M, 10);
    shot.Play(s.M);
    EXPECT_EQ(positions(), (std::vector<double>{10, 10, 0}));
}

TEST(SoundBuffers, ItemsKeepTheirOwnBuffersAndStopSilencesOnlyTheirs) {
    TSounds s(1000);
    s.Add(Item("A", Samples(100, 100), 1));
    s.Add(Item("B", Samples(100, 100), 1));
    s["A"].Play(s.M);
    s["B"].Play(s.M);
    s["A"].Play(s.M); // limit 1: restarts its own buffer, never B's
    EXPECT_EQ(s.M.Voices.size(), 2u);
    EXPECT_EQ(PlayingCount(s.M, s["B"]), 1u);

    TSounds t(1000);
    TWaveItem& a = t.Add(Item("A", Samples(1000, 100), 4));
    for (int i = 0; i < 3; ++i)
        a.Play(t.M);
    t.Add(Item("B", Samples(1000, 7), 1)).Play(t.M); // `a` may move; it is looked up again below
    t["A"].Stop(t.M);
    EXPECT_EQ(PlayingCount(t.M, t["A"]), 0u);
    EXPECT_EQ(MixFrames(t.M, 5)[0], 7);
}

TEST(SoundBuffers, LoopedSoundHasOneSeamlessBufferUntilStopped) {
    TSounds s(1000);
    TWaveItem& engine = s.Add(Item("Engine", {100, 200, 300, 400}, 5, true));
    engine.Play(s.M);
    engine.Play(s.M);
    EXPECT_EQ(engine.Buffers.size(), 1u);
    EXPECT_EQ(LeftOf(MixFrames(s.M, 10)), (Samples{100, 200, 300, 400, 100, 200, 300, 400, 100, 200}));
    // Playing again restarts the one buffer at its first sample.
    engine.Play(s.M);
    EXPECT_EQ(MixFrames(s.M, 1)[0], 100);
    engine.Stop(s.M);
    EXPECT_EQ(AudibleFrames(MixFrames(s.M, 10)), 0u);

    // At half speed the loop interpolates between the last sample and the first as if it went on.
    TSounds hum(2000);
    hum.Add(Item("Hum", {0, 1000}, 1, true)).Play(hum.M);
    EXPECT_EQ(LeftOf(MixFrames(hum.M, 6)), (Samples{0, 500, 1000, 500, 0, 500}));

    // An empty recording ends at once, looped or not.
    TSounds none(44100);
    TWaveItem& nothing = none.Add(Item("Nothing", {}, 1, true));
    nothing.Play(none.M);
    EXPECT_EQ(AudibleFrames(MixFrames(none.M, 8)), 0u);
    EXPECT_FALSE(none.M.Voices[nothing.Buffers[0]].Playing);
}

TEST(SoundBuffers, SettingsApplyAtOnceOnlyToALoopingBuffer) {
    TSounds s(1000);
    s.Add(Item("Engine", Samples(100, 10000), 1, true));
    TWaveItem& shot = s.Add(Item("Shot", Samples(100, 10000), 1));
    TWaveItem& e = s["Engine"];
    e.Play(s.M);
    shot.Play(s.M);
    e.SetVolume(s.M, -600);
    e.SetPan(s.M, -10000);
    e.SetFrequency(s.M, 2000);
    shot.SetVolume(s.M, -10000);
    shot.SetFrequency(s.M, 4000);
    const TVoice& ev = s.M.Voices[e.Buffers[0]];
    const TVoice& sv = s.M.Voices[shot.Buffers[0]];
    EXPECT_NEAR(ev.GainLeft, VolumeGain(-600), 1e-6f);
    EXPECT_FLOAT_EQ(ev.GainRight, 0.0f);
    EXPECT_DOUBLE_EQ(ev.Step, 2.0);
    // The playing one-shot keeps what it started with; the new values wait for its next play.
    EXPECT_FLOAT_EQ(sv.GainLeft, 1.0f);
    EXPECT_DOUBLE_EQ(sv.Step, 1.0);
    shot.Play(s.M);
    EXPECT_FLOAT_EQ(sv.GainLeft, 0.0f);
    EXPECT_DOUBLE_EQ(sv.Step, 4.0);
}

TEST(SoundList, PlayingVoicesStayOnTheirRecordingAndFindNamesTheMissingWave) {
    TSounds s(1000);
    s.Add(Item("First", Samples(1000, 321), 1, true)).Play(s.M);
    // Enough items to make the list reallocate several times under the playing voice.
    for (int i = 0; i < 40; ++i)
        s.Add(Item("Filler" + std::to_string(i), Samples(10, 0)));
    EXPECT_EQ(s.M.Voices[s["First"].Buffers[0]].Wave, &s["First"].Wave);
    EXPECT_EQ(MixFrames(s.M, 3)[4], 321);

    EXPECT_EQ(s.List.TryFind("first"), nullptr); // names are matched exactly
    EXPECT_THROW(s["Thunder"], TMediaError);
}
