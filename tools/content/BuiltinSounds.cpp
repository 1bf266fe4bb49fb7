// BuiltinSounds: every effect is a short program of noise, oscillators, envelopes and filters.
#include "content/BuiltinSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEffectRate = 22050; // the game replays effects at 15000-30000, around this rate
constexpr int kEngineRate = 11025; // the engine loop is replayed at 8025-14025

using Buffer = std::vector<double>;

// A small xorshift generator: the same seed gives the same noise on every run and platform.
class Noise {
  public:
    explicit Noise(uint32_t seed) : State(seed != 0 ? seed : 0x9E3779B9u) {}
    double White() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return double(State) / 2147483648.0 - 1.0;
    }
    // Integrated white noise with a leak: most of its energy lies in the low rumble.
    double Brown() {
        BrownLevel = BrownLevel * 0.985 + White() * 0.12;
        return BrownLevel;
    }
    double Chance() { return (White() + 1.0) * 0.5; }

  private:
    uint32_t State = 0;
    double BrownLevel = 0.0;
};

// State-variable filter in the trapezoidal form, stable while its cutoff moves every sample.
class Filter {
  public:
    double Low = 0.0;
    double Band = 0.0;
    double High = 0.0;

    void Run(double x, double cutoff, double q, int rate) {
        if (cutoff != LastCutoff || q != LastQ) {
            // Most filters hold still; only sweeps pay for the tangent every sample.
            const double fc = std::clamp(cutoff, 10.0, rate * 0.45);
            G = std::tan(kPi * fc / rate);
            K = 1.0 / q;
            LastCutoff = cutoff;
            LastQ = q;
        }
        const double g = G, k = K;
        const double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        const double v3 = x - Ic2, v1 = a1 * Ic1 + a2 * v3, v2 = Ic2 + a2 * Ic1 + a3 * v3;
        Ic1 = 2.0 * v1 - Ic1;
        Ic2 = 2.0 * v2 - Ic2;
        Low = v2;
        Band = v1;
        High = x - k * v1 - v2;
    }

  private:
    double Ic1 = 0.0;
    double Ic2 = 0.0;
    double LastCutoff = -1.0;
    double LastQ = -1.0;
    double G = 0.0;
    double K = 1.0;
};

// Phase accumulator for swept oscillators.
class Oscillator {
  public:
    // Advances by one sample at frequency f and returns the phase in turns (0..1).
    double Step(double f, int rate) {
        Phase += f / rate;
        Phase -= std::floor(Phase);
        return Phase;
    }
    double Sine(double f, int rate) { return std::sin(2.0 * kPi * Step(f, rate)); }
    double Saw(double f, int rate) { return 2.0 * Step(f, rate) - 1.0; }

  private:
    double Phase = 0.0;
};

// Exponential glide from a to b, reaching b at time `span`.
double Glide(double a, double b, double t, double span) {
    return a * std::pow(b / a, std::clamp(t / span, 0.0, 1.0));
}
// Linear attack then exponential decay with time constant tau.
double Hit(double t, double attack, double tau) {
    if (t < 0) return 0.0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / tau);
}
double Seconds(int i, int rate) {
    return double(i) / rate;
}
int Samples(double seconds, int rate) {
    return int(seconds * rate);
}

// Scales the buffer to the wanted peak, softens the last few milliseconds so nothing clicks when
// a buffer stops, and converts to 16 bits.
TWave Finish(Buffer buffer, int rate, double peak) {
    const size_t fade = std::min(buffer.size(), size_t(rate / 100));
    for (size_t i = 0; i < fade; ++i)
        buffer[buffer.size() - 1 - i] *= double(i) / double(fade);
    double top = 0.0;
    for (double v : buffer)
        top = std::max(top, std::abs(v));
    const double gain = top > 0 ? peak * 32767.0 / top : 0.0;
    TWave wave;
    wave.SampleRate = rate;
    wave.Samples.reserve(buffer.size());
    for (double v : buffer)
        wave.Samples.push_back(int16_t(std::clamp(std::lround(v * gain), -32000L, 32000L)));
    return wave;
}

// ---- Explosions ------------------------------------------------------------------------------

struct Blast {
    double Length = 0.0;     // seconds
    double Tau = 0.0;        // decay of the noise body
    double CutoffFrom = 0.0; // low-pass sweep of the noise, Hz
    double CutoffTo = 0.0;
    double Brownness = 0.0; // 0 white noise .. 1 brown noise
    double ThumpFrom = 0.0; // falling sine under the noise, Hz
    double ThumpTo = 0.0;
    double ThumpTau = 0.0;
    double Crackle = 0.0; // density of sharp debris clicks in the first third
    double Echo = 0.0;    // a second boom this many seconds later (0 for none)
    uint32_t Seed = 0;
};

Buffer Explosion(const Blast& b) {
    const int rate = kEffectRate, n = Samples(b.Length, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(b.Seed);
    Filter body, crack;
    Oscillator thump;
    double crackLevel = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        const double source = b.Brownness * noise.Brown() * 4.0 + (1.0 - b.Brownness) * noise.White();
        body.Run(source, Glide(b.CutoffFrom, b.CutoffTo, t, b.Length * 0.7), 0.8, rate);
        double env = Hit(t, 0.004, b.Tau);
        if (b.Echo > 0) env += 0.7 * Hit(t - b.Echo, 0.01, b.Tau * 0.9);
        double v = body.Low * env;
        v += 0.9 * thump.Sine(Glide(b.ThumpFrom, b.ThumpTo, t, b.ThumpTau * 3), rate) *
             Hit(t, 0.003, b.ThumpTau);
        if (b.Echo > 0) v += 0.5 * std::sin(2 * kPi * b.ThumpTo * t) * Hit(t - b.Echo, 0.01, b.ThumpTau);
        if (t < b.Length / 3 && noise.Chance() < b.Crackle) crackLevel = 0.8 + noise.Chance();
        crackLevel *= 0.93;
        crack.Run(noise.White() * crackLevel, 3000, 0.7, rate);
        v += crack.Band * (1.0 - t / b.Length);
        out[size_t(i)] = v;
    }
    return out;
}

// ---- Weapons ---------------------------------------------------------------------------------

Buffer Pistol() {
    const int rate = kEffectRate, n = Samples(0.2, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(11);
    Filter snap, body;
    Oscillator knock;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate), w = noise.White();
        snap.Run(w, 2400, 0.7, rate);
        body.Run(w, Glide(1400, 500, t, 0.08), 2.0, rate);
        out[size_t(i)] = snap.High * Hit(t, 0.0005, 0.012) + body.Band * 1.6 * Hit(t, 0.001, 0.035) +
                         0.5 * knock.Sine(Glide(420, 120, t, 0.05), rate) * Hit(t, 0.001, 0.025);
    }
    return out;
}

Buffer Minigun() {
    const int rate = kEffectRate, n = Samples(0.06, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(12);
    Filter tick;
    Oscillator knock;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        tick.Run(noise.White(), 2600, 1.5, rate);
        out[size_t(i)] = tick.Band * Hit(t, 0.0004, 0.006) +
                         0.6 * knock.Sine(Glide(300, 150, t, 0.03), rate) * Hit(t, 0.0006, 0.012);
    }
    return out;
}

Buffer Laser() {
    const int rate = kEffectRate, n = Samples(0.32, rate);
    Buffer out(size_t(n), 0.0);
    Oscillator a, b, wobble;
    Filter tone;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        const double f = Glide(2600, 240, t, 0.28) * (1.0 + 0.02 * wobble.Sine(35, rate));
        // A softly squared sine and a detuned partner give the zap its buzz.
        const double v = std::tanh(3.0 * a.Sine(f, rate)) * 0.6 + b.Saw(f * 1.503, rate) * 0.3;
        tone.Run(v, 5000, 0.7, rate);
        out[size_t(i)] = tone.Low * Hit(t, 0.002, 0.11);
    }
    return out;
}

Buffer Rocket() {
    const int rate = kEffectRate, n = Samples(0.6, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(14);
    Filter roar, hiss;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate), w = noise.White();
        const double centre = t < 0.15 ? Glide(300, 1500, t, 0.15) : Glide(1500, 500, t - 0.15, 0.45);
        hiss.Run(w, centre, 2.2, rate);
        roar.Run(noise.Brown(), 350, 0.8, rate);
        const double env = std::min(1.0, t / 0.03) * std::exp(-std::max(0.0, t - 0.12) / 0.2);
        const double pop = noise.White() * Hit(t, 0.0005, 0.008);
        out[size_t(i)] = (hiss.Band * 1.4 + roar.Low * 3.0) * env + pop * 0.6;
    }
    return out;
}

Buffer Homing() {
    const int rate = kEffectRate, n = Samples(0.6, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(15);
    Filter whoosh;
    Oscillator whistle, vibrato;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        const double f = Glide(650, 2000, t, 0.5) * (1.0 + 0.015 * vibrato.Sine(11, rate));
        whoosh.Run(noise.White(), Glide(500, 2500, t, 0.5), 1.8, rate);
        const double env = std::min(1.0, t / 0.04) * std::exp(-std::max(0.0, t - 0.3) / 0.1);
        out[size_t(i)] = (0.55 * whistle.Sine(f, rate) + whoosh.Band * 1.2) * env;
    }
    return out;
}

Buffer Nano() {
    const int rate = kEffectRate, n = Samples(0.5, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(16);
    constexpr int kBugs = 6;
    std::vector<Oscillator> wings(kBugs), flutter(kBugs);
    std::vector<double> pitch(kBugs, 0.0), rateOfFlutter(kBugs, 0.0);
    for (int k = 0; k < kBugs; ++k) {
        pitch[size_t(k)] = 170 + 110 * noise.Chance();
        rateOfFlutter[size_t(k)] = 18 + 16 * noise.Chance();
    }
    Filter buzz;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        double v = 0.0;
        for (size_t k = 0; k < kBugs; ++k) {
            const double flap = 0.5 + 0.5 * flutter[k].Sine(rateOfFlutter[k], rate);
            v += wings[k].Saw(pitch[k] * (1.0 + 0.04 * flap), rate) * (0.4 + 0.6 * flap);
        }
        buzz.Run(v, 1300, 1.6, rate);
        const double env = std::min(1.0, t / 0.05) * std::exp(-std::max(0.0, t - 0.2) / 0.1);
        out[size_t(i)] = (buzz.Band * 1.5 + v * 0.15) * env;
    }
    return out;
}

Buffer Shotgun() {
    const int rate = kEffectRate, n = Samples(0.45, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(17);
    Filter blast, boom;
    Oscillator thump;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate), w = noise.White();
        blast.Run(w, Glide(7000, 900, t, 0.25), 0.7, rate);
        boom.Run(noise.Brown(), 600, 0.7, rate);
        out[size_t(i)] = blast.Low * Hit(t, 0.0005, 0.06) + boom.Low * 2.5 * Hit(t, 0.002, 0.14) +
                         0.8 * thump.Sine(Glide(120, 45, t, 0.15), rate) * Hit(t, 0.001, 0.06);
    }
    return out;
}

Buffer Grenade() {
    const int rate = kEffectRate, n = Samples(0.35, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(18);
    Filter thud, click;
    Oscillator body;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate), w = noise.White();
        thud.Run(w, 450, 0.8, rate);
        click.Run(w, 3000, 1.0, rate);
        out[size_t(i)] = body.Sine(Glide(150, 42, t, 0.2), rate) * Hit(t, 0.002, 0.09) +
                         thud.Low * 1.5 * Hit(t, 0.001, 0.05) + click.Band * 0.5 * Hit(t, 0.0003, 0.005);
    }
    return out;
}

// ---- Engine loop -----------------------------------------------------------------------------

// A rumbling roar with a breathy hiss, cross-faded into itself so its end runs straight into its start.
Buffer Thrust() {
    const int rate = kEngineRate, n = Samples(1.0, rate), overlap = Samples(0.2, rate);
    Buffer raw(size_t(n + overlap), 0.0);
    Noise noise(19);
    Filter rumble, growl, hiss;
    for (size_t i = 0; i < raw.size(); ++i) {
        const double w = noise.White();
        rumble.Run(noise.Brown(), 500, 0.7, rate);
        growl.Run(w, 160, 3.0, rate);
        hiss.Run(w, 1800, 0.9, rate);
        raw[i] = rumble.Low * 2.0 + growl.Band * 1.2 + hiss.Band * 0.25;
    }
    // Equal-power fade: the tail beyond the loop is laid over the head, so sample n-1 is followed
    // seamlessly by what sample n would have been.
    Buffer out(raw.begin(), raw.begin() + n);
    for (int i = 0; i < overlap; ++i) {
        const double u = double(i) / overlap;
        out[size_t(i)] = raw[size_t(n + i)] * std::cos(u * kPi / 2) + raw[size_t(i)] * std::sin(u * kPi / 2);
    }
    return out;
}

// ---- Hits ------------------------------------------------------------------------------------

Buffer Rico() {
    const int rate = kEffectRate, n = Samples(0.45, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(20);
    Filter tick;
    Oscillator ping, overtone;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        const double f = Glide(3600, 1500, t, 0.4) * (1.0 + 0.01 * std::sin(2 * kPi * 24 * t));
        tick.Run(noise.White(), 4000, 1.2, rate);
        out[size_t(i)] = ping.Sine(f, rate) * Hit(t, 0.001, 0.11) +
                         0.35 * overtone.Sine(f * 2.76, rate) * Hit(t, 0.001, 0.05) +
                         tick.Band * Hit(t, 0.0003, 0.004);
    }
    return out;
}

Buffer Dirt() {
    const int rate = kEffectRate, n = Samples(0.16, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(21);
    Filter grit, thud;
    Oscillator body;
    double grain = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate);
        // Grit: noise switched on and off in tiny random grains, like earth spraying.
        if (i % 40 == 0) grain = noise.Chance() < 0.55 ? 0.4 + noise.Chance() : 0.1;
        grit.Run(noise.White() * grain, 1800, 0.9, rate);
        thud.Run(noise.Brown(), 300, 0.7, rate);
        out[size_t(i)] = grit.Low * Hit(t, 0.001, 0.04) + thud.Low * 2.0 * Hit(t, 0.001, 0.03) +
                         0.5 * body.Sine(Glide(120, 50, t, 0.08), rate) * Hit(t, 0.001, 0.03);
    }
    return out;
}

// A voice: a buzzing pulse train shaped by two formant resonances.
struct Voice {
    double PitchFrom = 0.0, PitchTo = 0.0, PitchSpan = 0.0;
    double Formant1From = 0.0, Formant1To = 0.0, Formant2From = 0.0, Formant2To = 0.0;
    double Vibrato = 0.0; // depth as a fraction of the pitch
    double Breath = 0.0;  // amount of noise in the buzz
};

Buffer Voiced(const Voice& v, double length, double attack, double hold, double tau, uint32_t seed) {
    const int rate = kEffectRate, n = Samples(length, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(seed);
    Filter f1, f2, smooth;
    Oscillator glottis, wobble;
    for (int i = 0; i < n; ++i) {
        const double t = Seconds(i, rate), u = t / length;
        const double pitch =
            Glide(v.PitchFrom, v.PitchTo, t, v.PitchSpan) * (1.0 + v.Vibrato * wobble.Sine(6.0, rate));
        const double phase = glottis.Step(pitch, rate);
        const double pulse =
            (phase < 0.4 ? std::sin(phase / 0.4 * kPi) : 0.0) - 0.25 + v.Breath * noise.White();
        f1.Run(pulse, v.Formant1From + (v.Formant1To - v.Formant1From) * u, 6.0, rate);
        f2.Run(pulse, v.Formant2From + (v.Formant2To - v.Formant2From) * u, 8.0, rate);
        smooth.Run(f1.Band + 0.6 * f2.Band, 3500, 0.7, rate);
        const double env = std::min(1.0, t / attack) * std::exp(-std::max(0.0, t - hold) / tau);
        out[size_t(i)] = smooth.Low * env;
    }
    return out;
}

Buffer FlHit() {
    return Voiced(Voice{170, 105, 0.15, 620, 520, 1150, 950, 0.0, 0.35}, 0.2, 0.008, 0.04, 0.05, 22);
}

Buffer FlDeath() {
    return Voiced(Voice{430, 110, 0.8, 820, 480, 1250, 850, 0.03, 0.12}, 0.85, 0.03, 0.3, 0.18, 23);
}

// ---- Jingles ---------------------------------------------------------------------------------

double NoteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

struct Note {
    double Start = 0.0;  // seconds
    int Pitch = 0;       // semitones from A4
    double Length = 0.0; // seconds, for held instruments
    double Level = 0.0;
};

// A struck bell: a few inharmonic partials, each a sine decaying at its own speed.
void AddBell(Buffer& out, int rate, double start, double f, double level) {
    constexpr double kRatio[] = {1.0, 2.01, 3.0, 4.2};
    constexpr double kLevel[] = {1.0, 0.45, 0.25, 0.12};
    constexpr double kTau[] = {0.35, 0.18, 0.09, 0.05};
    for (size_t p = 0; p < 4; ++p) {
        // Rotating a phasor by a fixed complex step each sample avoids a sine call per sample.
        const double w = 2 * kPi * f * kRatio[p] / rate, decay = std::exp(-1.0 / (kTau[p] * rate));
        const double cosW = std::cos(w), sinW = std::sin(w);
        double re = 1.0, im = 0.0, amp = level * kLevel[p];
        for (size_t i = size_t(Samples(start, rate)); i < out.size() && amp > 1e-5; ++i) {
            const double attack = std::min(1.0, double(i - size_t(Samples(start, rate))) / (0.002 * rate));
            out[i] += im * amp * attack;
            const double nre = re * cosW - im * sinW;
            im = re * sinW + im * cosW;
            re = nre;
            amp *= decay;
        }
    }
}

Buffer Medal() {
    const int rate = kEffectRate, n = Samples(1.1, rate);
    Buffer out(size_t(n), 0.0);
    // A rising C major arpeggio and a final chord: something was earned.
    const std::vector<Note> notes = {{0.00, 3, 0, 0.8},  {0.08, 7, 0, 0.8},  {0.16, 10, 0, 0.8},
                                     {0.24, 15, 0, 1.0}, {0.40, 10, 0, 0.5}, {0.40, 19, 0, 0.9}};
    for (const Note& note : notes)
        AddBell(out, rate, note.Start, NoteHz(note.Pitch), note.Level);
    return out;
}

// Brass: a sawtooth whose low-pass opens with the note's attack, with a touch of vibrato.
Buffer Brass(const std::vector<Note>& notes, double length, uint32_t seed) {
    const int rate = kEffectRate, n = Samples(length, rate);
    Buffer out(size_t(n), 0.0);
    Noise noise(seed);
    for (const Note& note : notes) {
        Oscillator saw, saw2;
        Filter tone;
        const double f = NoteHz(note.Pitch);
        const int first = Samples(note.Start, rate), count = Samples(note.Length + 0.2, rate);
        for (int j = 0; j < count && first + j < n; ++j) {
            const double t = Seconds(j, rate);
            const double attack = std::min(1.0, t / 0.025);
            // The release dies away and reaches true silence at the end of the note's samples.
            const double release =
                t > note.Length ? std::exp(-(t - note.Length) / 0.03) * (1.0 - (t - note.Length) / 0.2) : 1.0;
            const double vib = 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.2);
            const double v = saw.Saw(f * vib, rate) + 0.5 * saw2.Saw(f * vib * 1.004, rate);
            tone.Run(v + 0.02 * noise.White(), f * (1.5 + 5.0 * attack * std::exp(-t / 0.4)) + 400, 1.1,
                     rate);
            out[size_t(first + j)] += tone.Low * attack * release * note.Level;
        }
    }
    return out;
}

Buffer CtfCapture() {
    // G4 C5 E5, then a held G5 over a C major chord: the flag is home.
    return Brass({{0.00, -2, 0.10, 0.8},
                  {0.12, 3, 0.10, 0.8},
                  {0.24, 7, 0.10, 0.8},
                  {0.36, 10, 0.70, 1.0},
                  {0.36, 7, 0.70, 0.5},
                  {0.36, 3, 0.70, 0.5}},
                 1.25, 24);
}

Buffer CtfSnup() {
    // A quick falling minor figure: someone has just run off with a flag.
    return Brass({{0.00, 12, 0.07, 0.9},
                  {0.09, 8, 0.07, 0.9},
                  {0.18, 5, 0.07, 0.9},
                  {0.27, 3, 0.22, 1.0},
                  {0.27, -1, 0.22, 0.6}},
                 0.62, 25);
}

struct Entry {
    const char* Name = "";
    int MaxPlaying = 0;
    bool Looped = false;
};

void Put(TWaveList& waves, const Entry& entry, TWave wave) {
    TWaveItem item;
    item.Name = entry.Name;
    item.MaxPlayingCount = entry.MaxPlaying;
    item.Looped = entry.Looped;
    item.Wave = std::move(wave);
    waves.Add(std::move(item));
}

} // namespace

void AddSynthesizedSounds(TWaveList& waves) {
    const int r = kEffectRate;
    // Four explosions: medium, deep and long, short and sharp, and a double boom.
    Put(waves, {"Explo0", 2, false},
        Finish(Explosion({0.9, 0.22, 2600, 160, 0.3, 70, 36, 0.15, 0.004, 0, 1}), r, 0.92));
    Put(waves, {"Explo1", 2, false},
        Finish(Explosion({1.45, 0.42, 1000, 70, 0.8, 52, 26, 0.3, 0.002, 0, 2}), r, 0.92));
    Put(waves, {"Explo2", 2, false},
        Finish(Explosion({0.6, 0.11, 7000, 400, 0.0, 95, 40, 0.07, 0.01, 0, 3}), r, 0.9));
    Put(waves, {"Explo3", 2, false},
        Finish(Explosion({1.25, 0.3, 1800, 110, 0.5, 62, 30, 0.2, 0.003, 0.16, 4}), r, 0.92));
    Put(waves, {"Pistol", 4, false}, Finish(Pistol(), r, 0.8));
    Put(waves, {"Minigun", 50, false}, Finish(Minigun(), r, 0.6));
    Put(waves, {"Laser", 4, false}, Finish(Laser(), r, 0.75));
    Put(waves, {"Rocket", 2, false}, Finish(Rocket(), r, 0.85));
    Put(waves, {"Homing", 2, false}, Finish(Homing(), r, 0.8));
    Put(waves, {"Nano", 2, false}, Finish(Nano(), r, 0.75));
    Put(waves, {"Shotgun", 2, false}, Finish(Shotgun(), r, 0.9));
    Put(waves, {"Grenade", 2, false}, Finish(Grenade(), r, 0.85));
    // The loop must not be faded at its end: Finish's fade would open a gap at the seam.
    {
        Buffer engine = Thrust();
        double top = 0.0;
        for (double v : engine)
            top = std::max(top, std::abs(v));
        TWave wave;
        wave.SampleRate = kEngineRate;
        for (double v : engine)
            wave.Samples.push_back(int16_t(std::lround(v / top * 0.6 * 32767.0)));
        Put(waves, {"Thrust", 1, true}, std::move(wave));
    }
    Put(waves, {"Rico", 10, false}, Finish(Rico(), r, 0.75));
    Put(waves, {"Dirt", 10, false}, Finish(Dirt(), r, 0.75));
    Put(waves, {"FLHit", 2, false}, Finish(FlHit(), r, 0.8));
    Put(waves, {"FLDeath", 2, false}, Finish(FlDeath(), r, 0.8));
    Put(waves, {"Medal", 2, false}, Finish(Medal(), r, 0.8));
    Put(waves, {"CTFcapture", 2, false}, Finish(CtfCapture(), r, 0.8));
    Put(waves, {"CTFsnup", 2, false}, Finish(CtfSnup(), r, 0.8));
}
