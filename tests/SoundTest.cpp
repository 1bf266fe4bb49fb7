// SoundTest: the mixer's buffer rules, volume, pan, frequency, looping and lookup, mixed headless.
#include "media/Sound.h"
#include "media/MediaError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A steady recording: easy to read back, since every mixed frame of it has the same value.
TWave Constant(int16_t value, size_t count, int rate) {
    TWave w;
    w.Samples.assign(count, value);
    w.SampleRate = rate;
    return w;
}

TWaveItem Item(const std::string& name, TWave wave, int maxPlaying = 1, bool looped = false) {
    TWaveItem item;
    item.Name = name;
    item.Wave = std::move(wave);
    item.MaxPlayingCount = maxPlaying;
    item.Looped = looped;
    return item;
}

std::vector<int16_t> MixFrames(TMixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * 2, int16_t(12345)); // garbage that Mix must overwrite
    mixer.Mix(out.data(), frames);
    return out;
}

// Frames until the left channel falls silent for good.
size_t AudibleFrames(const std::vector<int16_t>& stereo) {
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

TEST(SoundGains, VolumeInHundredthsOfADecibel) {
    EXPECT_FLOAT_EQ(VolumeGain(0), 1.0f);
    EXPECT_FLOAT_EQ(VolumeGain(-10000), 0.0f);
    EXPECT_FLOAT_EQ(VolumeGain(-20000), 0.0f);
    EXPECT_NEAR(VolumeGain(-600), 0.501f, 0.002f); // 6 dB is about half the amplitude
    EXPECT_NEAR(VolumeGain(-2000), 0.1f, 1e-5f);
    EXPECT_FLOAT_EQ(VolumeGain(500), 1.0f); // no amplification above full
}

TEST(SoundGains, PanAttenuatesTheFarSide) {
    float l = 0, r = 0;
    PanGains(0, 0, l, r);
    EXPECT_FLOAT_EQ(l, 1.0f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    PanGains(0, -10000, l, r);
    EXPECT_FLOAT_EQ(l, 1.0f);
    EXPECT_FLOAT_EQ(r, 0.0f);
    PanGains(0, 10000, l, r);
    EXPECT_FLOAT_EQ(l, 0.0f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    PanGains(-600, 2000, l, r);
    EXPECT_NEAR(l, VolumeGain(-2600), 1e-6f);
    EXPECT_NEAR(r, VolumeGain(-600), 1e-6f);
    PanGains(0, 30000, l, r); // beyond full right counts as full right
    EXPECT_FLOAT_EQ(l, 0.0f);
    EXPECT_FLOAT_EQ(r, 1.0f);
}

TEST(SoundMixer, MixesOverwritesAndClamps) {
    TWaveList list;
    TMixer& m = list.Mixer;
    m.OutputRate = 1000;
    std::vector<int16_t> silent = MixFrames(m, 10);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](int16_t s) { return s == 0; }));

    list.Add(Item("Loud", Constant(30000, 100, 1000), 2));
    list.Find("Loud").Play(m);
    list.Find("Loud").Play(m);
    std::vector<int16_t> out = MixFrames(m, 10);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], 32767);

    list.Add(Item("Low", Constant(-30000, 100, 1000), 2));
    list.Find("Loud").Stop(m);
    list.Find("Low").Play(m);
    list.Find("Low").Play(m);
    out = MixFrames(m, 10);
    EXPECT_EQ(out[0], -32768);
}

TEST(SoundMixer, SumsVoicesAndMixesLongBuffersInPieces) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    list.Add(Item("A", Constant(1000, 3000, 1000)));
    list.Add(Item("B", Constant(-300, 3000, 1000)));
    list.Find("A").Play(list.Mixer);
    list.Find("B").Play(list.Mixer);
    std::vector<int16_t> out = MixFrames(list.Mixer, 2500); // longer than one internal pass
    EXPECT_EQ(out[0], 700);
    EXPECT_EQ(out[2 * 1000], 700);
    EXPECT_EQ(out[2 * 2499 + 1], 700);
}

TEST(SoundMixer, VolumeScalesTheAmplitude) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    TWaveItem& item = list.Add(Item("Tone", Constant(10000, 1000, 1000)));
    item.SetVolume(list.Mixer, -600);
    item.Play(list.Mixer);
    std::vector<int16_t> half = MixFrames(list.Mixer, 10);
    EXPECT_NEAR(half[4], 5012, 2);
    EXPECT_EQ(half[4], half[5]);

    item.SetVolume(list.Mixer, -10000);
    item.Play(list.Mixer);
    std::vector<int16_t> silent = MixFrames(list.Mixer, 10);
    EXPECT_EQ(AudibleFrames(silent), 0u);

    item.SetVolume(list.Mixer, 0);
    item.Play(list.Mixer);
    EXPECT_EQ(MixFrames(list.Mixer, 10)[4], 10000);
}

TEST(SoundMixer, PanMovesTheSoundBetweenChannels) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    TWaveItem& item = list.Add(Item("Tone", Constant(10000, 1000, 1000)));
    item.SetPan(list.Mixer, -10000);
    item.Play(list.Mixer);
    std::vector<int16_t> out = MixFrames(list.Mixer, 4);
    EXPECT_EQ(out[2], 10000);
    EXPECT_EQ(out[3], 0);

    item.SetPan(list.Mixer, 600);
    item.Play(list.Mixer);
    out = MixFrames(list.Mixer, 4);
    EXPECT_NEAR(out[2], 5012, 2);
    EXPECT_EQ(out[3], 10000);
}

TEST(SoundMixer, FrequencySetsTheDuration) {
    TWaveList list;
    list.Mixer.OutputRate = 44100;
    TWaveItem& item = list.Add(Item("Tone", Constant(8000, 2205, 22050))); // 0.1 s at its own rate
    item.Play(list.Mixer);
    const size_t own = AudibleFrames(MixFrames(list.Mixer, 20000));
    EXPECT_NEAR(double(own), 4410.0, 2.0);
    EXPECT_FALSE(list.Mixer.Voices[item.Buffers[0]].Playing);

    item.SetFrequency(list.Mixer, 44100); // twice as fast: half as long
    item.Play(list.Mixer);
    const size_t fast = AudibleFrames(MixFrames(list.Mixer, 20000));
    EXPECT_NEAR(double(fast), 2205.0, 2.0);

    item.SetFrequency(list.Mixer, 11025);
    item.Play(list.Mixer);
    EXPECT_NEAR(double(AudibleFrames(MixFrames(list.Mixer, 20000))), 8820.0, 3.0);

    item.SetFrequency(list.Mixer, 0); // back to the recording's own rate
    item.Play(list.Mixer);
    EXPECT_NEAR(double(AudibleFrames(MixFrames(list.Mixer, 20000))), 4410.0, 2.0);
}

TEST(SoundMixer, ResamplesByInterpolation) {
    TWaveList list;
    list.Mixer.OutputRate = 2000;
    TWave ramp;
    ramp.SampleRate = 1000;
    ramp.Samples = {0, 1000, 2000, 3000};
    list.Add(Item("Ramp", ramp)).Play(list.Mixer);
    std::vector<int16_t> out = MixFrames(list.Mixer, 6);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 500);
    EXPECT_EQ(out[4], 1000);
    EXPECT_EQ(out[6], 1500);
    EXPECT_EQ(out[10], 2500);
}

TEST(SoundBuffers, OneShotUsesFreeThenNewThenOldestBuffer) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    TWaveItem& shot = list.Add(Item("Shot", Constant(100, 100, 1000), 3));
    TMixer& m = list.Mixer;

    shot.Play(m);
    shot.Play(m);
    shot.Play(m);
    ASSERT_EQ(shot.Buffers.size(), 3u);
    EXPECT_EQ(PlayingCount(m, shot), 3u);

    // All three busy and the limit reached: the oldest (the first) restarts from sample 0.
    MixFrames(m, 30);
    const size_t first = shot.Buffers[0];
    shot.Play(m);
    EXPECT_EQ(shot.Buffers.size(), 3u);
    EXPECT_DOUBLE_EQ(m.Voices[first].Position, 0.0);
    EXPECT_DOUBLE_EQ(m.Voices[shot.Buffers[1]].Position, 30.0);
    // Next in age is the second buffer.
    shot.Play(m);
    EXPECT_DOUBLE_EQ(m.Voices[shot.Buffers[1]].Position, 0.0);
    EXPECT_DOUBLE_EQ(m.Voices[shot.Buffers[2]].Position, 30.0);

    // A finished buffer is reused before anything else is disturbed.
    m.Voices[shot.Buffers[2]].Playing = false;
    MixFrames(m, 10);
    shot.Play(m);
    EXPECT_EQ(shot.Buffers.size(), 3u);
    EXPECT_DOUBLE_EQ(m.Voices[shot.Buffers[2]].Position, 0.0);
    EXPECT_DOUBLE_EQ(m.Voices[shot.Buffers[0]].Position, 10.0);
}

TEST(SoundBuffers, ItemsKeepTheirOwnBuffers) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    list.Add(Item("A", Constant(100, 100, 1000), 1));
    list.Add(Item("B", Constant(100, 100, 1000), 1));
    list.Find("A").Play(list.Mixer);
    list.Find("B").Play(list.Mixer);
    list.Find("A").Play(list.Mixer); // limit 1: restarts its own buffer, never B's
    EXPECT_EQ(list.Mixer.Voices.size(), 2u);
    EXPECT_NE(list.Find("A").Buffers[0], list.Find("B").Buffers[0]);
    EXPECT_EQ(PlayingCount(list.Mixer, list.Find("B")), 1u);
}

TEST(SoundBuffers, StopSilencesEveryBufferOfTheItemOnly) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    TWaveItem& a = list.Add(Item("A", Constant(100, 1000, 1000), 4));
    a.Play(list.Mixer);
    a.Play(list.Mixer);
    a.Play(list.Mixer); // `a` may move when B is added; it is looked up again below
    TWaveItem& b = list.Add(Item("B", Constant(7, 1000, 1000), 1));
    b.Play(list.Mixer);
    list.Find("A").Stop(list.Mixer);
    EXPECT_EQ(PlayingCount(list.Mixer, list.Find("A")), 0u);
    std::vector<int16_t> out = MixFrames(list.Mixer, 5);
    EXPECT_EQ(out[0], 7);
}

TEST(SoundBuffers, LoopedSoundHasOneSeamlessBufferUntilStopped) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    TWave saw;
    saw.SampleRate = 1000;
    saw.Samples = {100, 200, 300, 400};
    TWaveItem& engine = list.Add(Item("Engine", saw, 5, true));
    engine.Play(list.Mixer);
    engine.Play(list.Mixer);
    EXPECT_EQ(engine.Buffers.size(), 1u);

    std::vector<int16_t> out = MixFrames(list.Mixer, 10);
    const int16_t expected[10] = {100, 200, 300, 400, 100, 200, 300, 400, 100, 200};
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(out[2 * i], expected[i]) << "frame " << i;

    // Playing again restarts the one buffer at its first sample.
    engine.Play(list.Mixer);
    EXPECT_EQ(MixFrames(list.Mixer, 1)[0], 100);

    engine.Stop(list.Mixer);
    EXPECT_EQ(AudibleFrames(MixFrames(list.Mixer, 10)), 0u);
}

TEST(SoundBuffers, LoopWrapsAtHalfSpeedWithoutASeam) {
    TWaveList list;
    list.Mixer.OutputRate = 2000;
    TWave saw;
    saw.SampleRate = 1000;
    saw.Samples = {0, 1000};
    list.Add(Item("Hum", saw, 1, true)).Play(list.Mixer);
    std::vector<int16_t> out = MixFrames(list.Mixer, 6);
    // Between the last sample and the first the loop interpolates as if the recording went on.
    const int16_t expected[6] = {0, 500, 1000, 500, 0, 500};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(out[2 * i], expected[i]) << "frame " << i;
}

TEST(SoundBuffers, SettingsApplyAtOnceOnlyToALoopingBuffer) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    list.Add(Item("Engine", Constant(10000, 100, 1000), 1, true));
    TWaveItem& shot = list.Add(Item("Shot", Constant(10000, 100, 1000), 1));
    TWaveItem& e = list.Find("Engine");
    e.Play(list.Mixer);
    shot.Play(list.Mixer);
    e.SetVolume(list.Mixer, -600);
    e.SetPan(list.Mixer, -10000);
    e.SetFrequency(list.Mixer, 2000);
    shot.SetVolume(list.Mixer, -10000);
    shot.SetFrequency(list.Mixer, 4000);
    const TVoice& ev = list.Mixer.Voices[e.Buffers[0]];
    const TVoice& sv = list.Mixer.Voices[shot.Buffers[0]];
    EXPECT_NEAR(ev.GainLeft, VolumeGain(-600), 1e-6f);
    EXPECT_FLOAT_EQ(ev.GainRight, 0.0f);
    EXPECT_DOUBLE_EQ(ev.Step, 2.0);
    // The playing one-shot keeps what it started with; the new values wait for its next play.
    EXPECT_FLOAT_EQ(sv.GainLeft, 1.0f);
    EXPECT_DOUBLE_EQ(sv.Step, 1.0);
    shot.Play(list.Mixer);
    EXPECT_FLOAT_EQ(sv.GainLeft, 0.0f);
    EXPECT_DOUBLE_EQ(sv.Step, 4.0);
}

TEST(SoundBuffers, EmptyRecordingEndsAtOnce) {
    TWaveList list;
    TWaveItem& item = list.Add(Item("Nothing", TWave{}, 1, true));
    item.Play(list.Mixer);
    EXPECT_EQ(AudibleFrames(MixFrames(list.Mixer, 8)), 0u);
    EXPECT_FALSE(list.Mixer.Voices[item.Buffers[0]].Playing);
}

TEST(SoundList, AddingAfterPlayKeepsPlayingVoicesOnTheirRecording) {
    TWaveList list;
    list.Mixer.OutputRate = 1000;
    list.Add(Item("First", Constant(321, 1000, 1000), 1, true)).Play(list.Mixer);
    // Enough items to make the list reallocate several times under the playing voice.
    for (int i = 0; i < 40; ++i)
        list.Add(Item("Filler" + std::to_string(i), Constant(0, 10, 1000)));
    EXPECT_EQ(list.Mixer.Voices[list.Find("First").Buffers[0]].Wave, &list.Find("First").Wave);
    EXPECT_EQ(MixFrames(list.Mixer, 3)[4], 321);
}

TEST(SoundList, FindNamesTheMissingWave) {
    TWaveList list;
    list.Add(Item("Explo0", Constant(1, 1, 1000)));
    EXPECT_EQ(&list.Find("Explo0"), &list.Items[0]);
    EXPECT_EQ(list.TryFind("explo0"), nullptr); // names are matched exactly
    try {
        list.Find("Thunder");
        FAIL() << "no error raised";
    } catch (const TMediaError& e) {
        EXPECT_STREQ(e.what(), "Wave 'Thunder' not found");
        EXPECT_EQ(e.Name, "Thunder");
    }
}
