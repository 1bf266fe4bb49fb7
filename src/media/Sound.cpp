// Sound: the software mixer and the buffer rules of the named sounds.
#include "media/Sound.h"

#include "media/MediaError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int SilentVolume = -10000;

// Frames mixed per pass; the accumulator lives on the stack so Mix never allocates.
constexpr size_t ChunkFrames = 256;

double PlayStep(const TWaveItem& item, const TMixer& mixer) {
    const int rate = item.Frequency > 0 ? item.Frequency : item.Wave.SampleRate;
    if (rate <= 0 || mixer.OutputRate <= 0) return 1.0;
    return double(rate) / double(mixer.OutputRate);
}

void ApplyGains(TVoice& voice, const TWaveItem& item) {
    PanGains(item.Volume, item.Pan, voice.GainLeft, voice.GainRight);
}

// Adds one voice to the accumulator; returns when the voice ends or the chunk is full.
void MixVoice(TVoice& voice, float* acc, size_t frames) {
    const std::vector<int16_t>& samples = voice.Wave->Samples;
    const size_t count = samples.size();
    if (count == 0 || !(voice.Step > 0.0)) {
        voice.Playing = false;
        return;
    }
    const double length = double(count);
    double pos = voice.Position;
    for (size_t i = 0; i < frames; ++i) {
        if (pos >= length) {
            if (!voice.Looped) {
                voice.Playing = false;
                break;
            }
            pos = std::fmod(pos, length);
        }
        const size_t index = std::min(size_t(pos), count - 1);
        const float frac = float(pos - double(index));
        // A loop blends its last sample into its first, so the wrap has no seam; a one-shot fades
        // into silence over its last step.
        const float next =
            index + 1 < count ? float(samples[index + 1]) : (voice.Looped ? float(samples[0]) : 0.0f);
        const float current = float(samples[index]);
        const float s = current + (next - current) * frac;
        acc[2 * i] += s * voice.GainLeft;
        acc[2 * i + 1] += s * voice.GainRight;
        pos += voice.Step;
    }
    voice.Position = pos;
}

int16_t Clamp16(float v) {
    if (v >= 32767.0f) return 32767;
    if (v <= -32768.0f) return -32768;
    return int16_t(std::lrint(v));
}

} // namespace

float VolumeGain(int volume) {
    if (volume <= SilentVolume) return 0.0f;
    if (volume >= 0) return 1.0f;
    return float(std::pow(10.0, double(volume) / 2000.0));
}

void PanGains(int volume, int pan, float& left, float& right) {
    const int p = std::clamp(pan, -10000, 10000);
    const int v = std::min(volume, 0);
    // Attenuations add in decibels, so a quiet sound panned far goes silent on the far side.
    left = VolumeGain(p > 0 ? v - p : v);
    right = VolumeGain(p < 0 ? v + p : v);
}

void TMixer::Mix(int16_t* stereo, size_t frames) {
    if (stereo == nullptr) return;
    float acc[2 * ChunkFrames];
    size_t done = 0;
    while (done < frames) {
        const size_t n = std::min(ChunkFrames, frames - done);
        std::fill(acc, acc + 2 * n, 0.0f);
        for (TVoice& voice : Voices)
            if (voice.Playing && voice.Wave != nullptr) MixVoice(voice, acc, n);
        int16_t* out = stereo + 2 * done;
        for (size_t i = 0; i < 2 * n; ++i)
            out[i] = Clamp16(acc[i]);
        done += n;
    }
}

void TWaveItem::Play(TMixer& mixer) {
    size_t chosen = mixer.Voices.size();
    if (Looped) {
        if (!Buffers.empty()) chosen = Buffers.front();
    } else {
        for (size_t index : Buffers)
            if (index < mixer.Voices.size() && !mixer.Voices[index].Playing) {
                chosen = index;
                break;
            }
        if (chosen == mixer.Voices.size() && Buffers.size() >= size_t(std::max(MaxPlayingCount, 1))) {
            uint64_t oldest = UINT64_MAX;
            for (size_t index : Buffers)
                if (index < mixer.Voices.size() && mixer.Voices[index].Started < oldest) {
                    oldest = mixer.Voices[index].Started;
                    chosen = index;
                }
        }
    }
    if (chosen >= mixer.Voices.size()) {
        chosen = mixer.Voices.size();
        mixer.Voices.emplace_back();
        Buffers.push_back(chosen);
    }
    TVoice& voice = mixer.Voices[chosen];
    voice.Wave = &Wave;
    voice.Position = 0.0;
    voice.Step = PlayStep(*this, mixer);
    ApplyGains(voice, *this);
    voice.Looped = Looped;
    voice.Playing = true;
    voice.Started = ++mixer.PlaySerial;
}

void TWaveItem::Stop(TMixer& mixer) {
    for (size_t index : Buffers)
        if (index < mixer.Voices.size()) {
            mixer.Voices[index].Playing = false;
            mixer.Voices[index].Position = 0.0;
        }
}

void TWaveItem::SetVolume(TMixer& mixer, int volume) {
    Volume = volume;
    if (Looped && !Buffers.empty() && Buffers.front() < mixer.Voices.size())
        ApplyGains(mixer.Voices[Buffers.front()], *this);
}

void TWaveItem::SetPan(TMixer& mixer, int pan) {
    Pan = pan;
    if (Looped && !Buffers.empty() && Buffers.front() < mixer.Voices.size())
        ApplyGains(mixer.Voices[Buffers.front()], *this);
}

void TWaveItem::SetFrequency(TMixer& mixer, int frequency) {
    Frequency = frequency;
    if (Looped && !Buffers.empty() && Buffers.front() < mixer.Voices.size())
        mixer.Voices[Buffers.front()].Step = PlayStep(*this, mixer);
}

TWaveItem& TWaveList::Add(TWaveItem item) {
    Items.push_back(std::move(item));
    // Voices point at the recordings inside Items; growing the list may move them, so every
    // buffer is pointed at its recording's new place.
    for (TWaveItem& each : Items)
        for (size_t index : each.Buffers)
            if (index < Mixer.Voices.size()) Mixer.Voices[index].Wave = &each.Wave;
    return Items.back();
}

TWaveItem* TWaveList::TryFind(const std::string& name) {
    for (TWaveItem& item : Items)
        if (item.Name == name) return &item;
    return nullptr;
}

TWaveItem& TWaveList::Find(const std::string& name) {
    TWaveItem* item = TryFind(name);
    if (item == nullptr) throw TMediaError("Wave '" + name + "' not found", name);
    return *item;
}
