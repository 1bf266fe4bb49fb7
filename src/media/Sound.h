// Sound: named sounds with their playback rules, on a software mixer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A recording: 16-bit mono samples at their own rate.
struct TWave {
    std::vector<int16_t> Samples;
    int SampleRate = 22050;
};

// One playing (or stopped) buffer of a sound, mixed by TMixer.
struct TVoice {
    const TWave* Wave = nullptr;
    double Position = 0.0; // in source samples
    double Step = 1.0;     // source samples per output sample
    float GainLeft = 1.0f;
    float GainRight = 1.0f;
    bool Looped = false;
    bool Playing = false;
    uint64_t Started = 0; // play serial, to find the oldest buffer
};

// Mixes every playing voice into interleaved stereo 16-bit output, with clamping.
class TMixer {
  public:
    int OutputRate = 44100;
    std::vector<TVoice> Voices; // allocated by the sound items as they need buffers
    uint64_t PlaySerial = 0;

    void Mix(int16_t* stereo, size_t frames);
};

// Volume in hundredths of a decibel (0 full, -10000 silent), pan -10000 (left) .. 10000 (right):
// the side away from the pan is attenuated by |pan| hundredths of a decibel.
float VolumeGain(int volume);
void PanGains(int volume, int pan, float& left, float& right);

struct TWaveItem {
    std::string Name;
    TWave Wave;
    int MaxPlayingCount = 1;
    bool Looped = false;
    int Volume = 0;
    int Pan = 0;
    int Frequency = 0;          // 0 = the recording's own rate
    std::vector<size_t> Buffers; // indices into TMixer::Voices

    // A looped sound restarts its one buffer; otherwise a buffer that is not playing, else a new one
    // while fewer than MaxPlayingCount exist, else the oldest is restarted. Plays from the start
    // with the current frequency, pan and volume.
    void Play(TMixer& mixer);
    void Stop(TMixer& mixer);
    // Stored for later plays and applied at once to a looping buffer.
    void SetVolume(TMixer& mixer, int volume);
    void SetPan(TMixer& mixer, int pan);
    void SetFrequency(TMixer& mixer, int frequency);
};

class TWaveList {
  public:
    TMixer Mixer;
    std::vector<TWaveItem> Items;

    TWaveItem& Add(TWaveItem item);
    // Raises TMediaError "Wave '%s' not found" for an unknown name.
    TWaveItem& Find(const std::string& name);
    TWaveItem* TryFind(const std::string& name);
};
