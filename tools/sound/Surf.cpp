#include "Surf.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace surf {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLoop = kLoopSeconds;
constexpr double kFs = kSampleRate;

// Counter-based noise: a value depends only on (stream, index), so any lap
// can be replayed exactly. That is what makes the filters below periodic.
std::uint64_t Scramble(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

double Uniform(std::uint64_t stream, std::uint64_t index) {
    return double(Scramble(Scramble(stream) ^ index) >> 11) * 0x1.0p-53;
}

// Near-Gaussian, unit variance (sum of four uniforms).
double Noise(std::uint64_t stream, std::size_t index) {
    double sum = 0;
    for (std::uint64_t k = 0; k < 4; ++k) sum += Uniform(stream * 4 + k, index);
    return (sum - 2.0) * std::sqrt(3.0);
}

double Smooth(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

// One breaking wave: when it crashes (seconds into the lap), how big it is,
// and where along the beach it breaks first and last (-1 left, +1 right).
struct Breaker {
    double crashAt;
    double size;
    double panFrom;
    double panTo;
};

constexpr std::array<Breaker, 5> kBreakers{{
    {1.4, 1.00, -0.55, 0.45},
    {7.6, 0.72, 0.50, -0.15},
    {13.2, 0.92, -0.25, 0.65},
    {19.5, 0.64, 0.35, -0.50},
    {24.9, 0.86, -0.65, 0.10},
}};

// Seconds relative to a crash, with the lap wrapped so that a wave near the
// end of the lap rings on into its beginning.
constexpr double kLead = 4.0;
double SinceCrash(double t, const Breaker& b) {
    double u = std::fmod(t - b.crashAt + kLead + 2 * kLoop, kLoop);
    return u - kLead;
}

// Every stage of a wave has died away long before the wave comes round again.
double Tail(double u) { return Smooth((14.0 - u) / 4.0); }

// The swell steepening and curling over before it crashes.
double Approach(double u) {
    if (u < -3.5) return 0;
    if (u < 0) return std::pow(Smooth((u + 3.5) / 3.5), 2);
    return std::exp(-u / 0.5);
}

double Crash(double u) {
    constexpr double kAttack = 0.35;
    if (u < 0) return 0;
    if (u < kAttack) return std::pow(std::sin(kPi / 2 * u / kAttack), 2);
    return std::exp(-(u - kAttack) / 1.0);
}

// Water rushing up the sand.
double Wash(double u) {
    double x = (u - 0.4) / 1.4;
    return x > 0 ? x * std::exp(1 - x) : 0;
}

// Foam and backwash draining down the slope.
double Retreat(double u) {
    if (u < 2.0) return 0;
    return Smooth((u - 2.0) / 1.2) * std::exp(-std::max(0.0, u - 3.2) / 2.0);
}

double PanAt(double u, const Breaker& b) {
    return b.panFrom + (b.panTo - b.panFrom) * Smooth((u + 2.0) / 6.0);
}

struct Gains {
    double level = 0;  // summed envelope, sizes included
    double left = 0;
    double right = 0;
};

// Equal-power panning of every wave's stage, summed over the waves.
Gains StageGains(double t, double (*stage)(double)) {
    Gains g;
    for (const Breaker& b : kBreakers) {
        double u = SinceCrash(t, b);
        double e = b.size * stage(u) * Tail(u);
        double angle = (PanAt(u, b) + 1) * kPi / 4;
        g.level += e;
        g.left += e * std::cos(angle);
        g.right += e * std::sin(angle);
    }
    return g;
}

// State-variable filter (trapezoidal), stable under per-sample modulation.
class Svf {
public:
    enum class Out { Low, Band, High };
    double Step(double x, double cutoff, double q, Out out) {
        double g = std::tan(kPi * std::min(cutoff, 0.45 * kFs) / kFs);
        double k = 1 / q;
        double a1 = 1 / (1 + g * (g + k));
        double a2 = g * a1;
        double a3 = g * a2;
        double v3 = x - ic2_;
        double v1 = a1 * ic1_ + a2 * v3;
        double v2 = ic2_ + a2 * ic1_ + a3 * v3;
        ic1_ = 2 * v1 - ic1_;
        ic2_ = 2 * v2 - ic2_;
        switch (out) {
        case Out::Low:
            return v2;
        case Out::Band:
            return v1;
        case Out::High:
            return x - k * v1 - v2;
        }
        return 0;
    }

private:
    double ic1_ = 0;
    double ic2_ = 0;
};

// The distant surf never stops; it swells slowly over the lap.
double Background(double t) {
    return 1 + 0.20 * std::sin(2 * kPi * 2 * t / kLoop) + 0.12 * std::sin(2 * kPi * 5 * t / kLoop + 0.7);
}

// A layer of filtered noise that follows one stage of every wave: the
// stage's envelope opens the filter by `cutoffPerLevel` and scales `gain`;
// `floor` is a share of the never-ending background. Two independent noise
// streams through the same filter make the stereo width: `spread` 0 is a
// point source, 1 fully wide.
struct Layer {
    std::uint64_t stream;
    Svf::Out band;
    double spread;
    double (*stage)(double u);  // null: background only
    double cutoff;
    double cutoffPerLevel;
    double q;
    double gain;
    double floor;
};

constexpr std::array<Layer, 7> kLayers{{
    // Rumble of the sea, louder and brighter as each swell rises.
    {10, Svf::Out::Low, 0.75, Approach, 280, 900, 0.6, 0.55, 0.32},
    // The crash: a bright burst that darkens as it dies.
    {20, Svf::Out::Low, 0.45, Crash, 500, 3200, 0.75, 1.0, 0},
    // The thump of the falling lip.
    {30, Svf::Out::Low, 0.3, Crash, 140, 0, 0.7, 1.6, 0},
    // The wash rushing up the sand.
    {40, Svf::Out::Band, 0.8, Wash, 1300, 1700, 0.55, 1.0, 0},
    // Foam hissing as the water drains back.
    {50, Svf::Out::High, 1.0, Retreat, 3200, 0, 0.7, 0.45, 0},
    // Backwash dragging the sand, falling in pitch as it thins out.
    {60, Svf::Out::Band, 0.9, Retreat, 600, 500, 1.0, 0.35, 0},
    // Air: the faint hiss of the whole beach.
    {70, Svf::Out::High, 1.0, nullptr, 2600, 0, 0.7, 0, 0.05},
}};

using Track = std::vector<double>;

// Filters as if the loop had always been playing: a warm-up lap fills the
// filter state, the second lap is kept.
void RenderLayer(const Layer& layer, Track& left, Track& right) {
    constexpr double kCentre = 0.7071067811865476;
    Svf a, b;
    const double mid = std::cos(layer.spread * kPi / 4);
    const double side = std::sin(layer.spread * kPi / 4);
    for (int lap = 0; lap < 2; ++lap) {
        for (std::size_t i = 0; i < kLoopFrames; ++i) {
            const double t = double(i) / kFs;
            const Gains g = layer.stage ? StageGains(t, layer.stage) : Gains{};
            const double floor = layer.floor * Background(t) * kCentre;
            const double cutoff = layer.cutoff + layer.cutoffPerLevel * g.level;
            const double x = a.Step(Noise(layer.stream, i), cutoff, layer.q, layer.band);
            const double y = b.Step(Noise(layer.stream + 1, i), cutoff, layer.q, layer.band);
            if (lap == 1) {
                left[i] += (floor + layer.gain * g.left) * (x * mid + y * side);
                right[i] += (floor + layer.gain * g.right) * (x * mid - y * side);
            }
        }
    }
}

// Popping foam bubbles: short rising chirps, dense while the foam drains.
void AddBubbles(Track& left, Track& right) {
    constexpr std::uint64_t kStream = 90;
    std::uint64_t draw = 0;
    auto next = [&] { return Uniform(kStream, draw++); };
    for (const Breaker& b : kBreakers) {
        int count = int(2200 * b.size);
        for (int n = 0; n < count;) {
            double u = 2.0 + 9.0 * next();
            if (next() > Retreat(u) * Tail(u)) continue;
            ++n;
            double freq = 1400 * std::pow(4.0, next());
            double tau = 0.0015 + 0.006 * next();
            double amp = 0.09 * b.size * std::pow(next(), 2.5);
            double pan = std::clamp(PanAt(u, b) + 1.2 * (next() - 0.5), -1.0, 1.0);
            double angle = (pan + 1) * kPi / 4;
            auto start = std::size_t(std::llround((b.crashAt + u) * kFs));
            auto length = std::size_t(6 * tau * kFs);
            double phase = 0;
            for (std::size_t j = 0; j < length; ++j) {
                double s = double(j) / kFs;
                phase += 2 * kPi * freq * (1 + 0.06 * s / tau) / kFs;  // bubbles rise in pitch
                double y = amp * std::sin(phase) * std::exp(-s / tau);
                std::size_t i = (start + j) % kLoopFrames;
                left[i] += y * std::cos(angle);
                right[i] += y * std::sin(angle);
            }
        }
    }
}

// Keeps peaks clear of full scale after lossy coding, which overshoots.
// Memoryless, so it keeps the signal periodic.
double SoftLimit(double x) {
    constexpr double kKnee = 0.40;
    constexpr double kRange = 0.25;
    double m = std::abs(x);
    if (m <= kKnee) return x;
    return std::copysign(kKnee + kRange * std::tanh((m - kKnee) / kRange), x);
}

}  // namespace

std::vector<std::int16_t> RenderSurfLoop() {
    Track left(kLoopFrames, 0.0), right(kLoopFrames, 0.0);
    for (const Layer& layer : kLayers) RenderLayer(layer, left, right);
    AddBubbles(left, right);

    double power = 0;
    for (std::size_t i = 0; i < kLoopFrames; ++i) power += left[i] * left[i] + right[i] * right[i];
    constexpr double kTargetRms = 0.13;  // about -17.7 dBFS before limiting
    double gain = kTargetRms / std::sqrt(power / double(2 * kLoopFrames));

    std::vector<std::int16_t> pcm(2 * kLoopFrames);
    for (std::size_t i = 0; i < kLoopFrames; ++i) {
        pcm[2 * i] = std::int16_t(std::lround(SoftLimit(gain * left[i]) * 32767));
        pcm[2 * i + 1] = std::int16_t(std::lround(SoftLimit(gain * right[i]) * 32767));
    }
    return pcm;
}

}  // namespace surf
