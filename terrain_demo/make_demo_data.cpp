// Writes the terrain demo's six bitmaps into the folder given on the command line:
// one fractal landscape sampled as the 256 x 256 mesh heightmap and the 1024 x 1024 texture
// lookup, and four 256 x 256 tiles (water, sand, grass, rock with snow). Deterministic: every
// value comes from a fixed seed. Plain C++, runs on the build machine.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t SEED = 0x7A2B1C4D5E6F7081ull;
constexpr int TERRAIN_EXPONENT = 10;                    // 1024 cells a side
constexpr int TERRAIN_SIDE = (1 << TERRAIN_EXPONENT) + 1; // grid points of the landscape
constexpr int LOOKUP_SIDE = 1024;
constexpr int MESH_SIDE = 256;
constexpr int TILE_SIDE = 256;
constexpr double TWO_PI = 6.283185307179586;

// Class boundaries of the demo's composite texture (red byte): 0-34, 35-44, 45-119, 120-255.
// The share of the landscape under each boundary, so that all four classes show.
constexpr double WATER_SHARE = 0.22;
constexpr double BEACH_SHARE = 0.30;
constexpr double GRASS_SHARE = 0.74;

struct Rgb {
    std::uint8_t r, g, b;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // row 0 is the bottom row
    Image(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h) {}
    Rgb& at(int column, int row) { return pixels[std::size_t(row) * width + column]; }
};

// splitmix64: small, fast, the same sequence on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); } // [0, 1)
    double symmetric() { return uniform() * 2.0 - 1.0; }                            // [-1, 1)

private:
    std::uint64_t state_;
};

std::uint8_t ToByte(double value)
{
    return std::uint8_t(std::lround(std::clamp(value, 0.0, 255.0)));
}

// ---------------------------------------------------------------- the landscape

// Diamond-square midpoint displacement on a (2^n + 1)-point square grid.
std::vector<double> FractalLandscape(Random& random)
{
    const int side = TERRAIN_SIDE;
    std::vector<double> h(std::size_t(side) * side, 0.0);
    auto at = [&](int x, int z) -> double& { return h[std::size_t(z) * side + x]; };
    at(0, 0) = random.symmetric();
    at(side - 1, 0) = random.symmetric();
    at(0, side - 1) = random.symmetric();
    at(side - 1, side - 1) = random.symmetric();

    double amplitude = 1.0;
    const double roughness = 0.55;
    for (int step = side - 1; step > 1; step /= 2) {
        const int half = step / 2;
        for (int z = half; z < side; z += step)
            for (int x = half; x < side; x += step)
                at(x, z) = (at(x - half, z - half) + at(x + half, z - half) +
                            at(x - half, z + half) + at(x + half, z + half)) / 4.0 +
                           random.symmetric() * amplitude;
        for (int z = 0; z < side; z += half) {
            for (int x = (z / half) % 2 == 0 ? half : 0; x < side; x += step) {
                double sum = 0.0;
                int count = 0;
                if (x >= half) sum += at(x - half, z), ++count;
                if (x + half < side) sum += at(x + half, z), ++count;
                if (z >= half) sum += at(x, z - half), ++count;
                if (z + half < side) sum += at(x, z + half), ++count;
                at(x, z) = sum / count + random.symmetric() * amplitude;
            }
        }
        amplitude *= roughness;
    }
    return h;
}

double Quantile(std::vector<double> values, double share)
{
    const std::size_t k = std::min(values.size() - 1, std::size_t(share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(k), values.end());
    return values[k];
}

// Maps heights to bytes, piecewise linear between quantiles, so that each class of the
// composite texture covers a fixed share of the landscape.
std::vector<std::uint8_t> HeightBytes(const std::vector<double>& h)
{
    const double lowest = *std::min_element(h.begin(), h.end());
    const double highest = *std::max_element(h.begin(), h.end());
    const double from[] = {lowest, Quantile(h, WATER_SHARE), Quantile(h, BEACH_SHARE),
                           Quantile(h, GRASS_SHARE), highest};
    const double to[] = {0.0, 35.0, 45.0, 120.0, 255.0};
    std::vector<std::uint8_t> bytes(h.size());
    for (std::size_t i = 0; i < h.size(); ++i) {
        int piece = 0;
        while (piece < 3 && h[i] > from[piece + 1]) ++piece;
        const double span = from[piece + 1] - from[piece];
        const double t = span > 0.0 ? (h[i] - from[piece]) / span : 0.0;
        // Whole bytes inside each piece: floor keeps the upper boundary in the next class.
        const double value = to[piece] + t * (to[piece + 1] - to[piece]);
        bytes[i] = std::uint8_t(std::clamp(std::floor(value), to[piece], piece == 3 ? 255.0
                                                                        : to[piece + 1] - 1.0));
    }
    return bytes;
}

// Grey pixels of the landscape, every Every-th grid point, row 0 the bottom row of the picture.
Image SampleLandscape(const std::vector<std::uint8_t>& bytes, int side, int every)
{
    Image image(side, side);
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const std::uint8_t v = bytes[std::size_t(row * every) * TERRAIN_SIDE + column * every];
            image.at(column, row) = Rgb{v, v, v};
        }
    return image;
}

// ---------------------------------------------------------------- the tiles

// Smooth value noise that repeats every TILE_SIDE pixels, summed over a few octaves (0 to 1).
class TileNoise {
public:
    explicit TileNoise(Random& random) : lattice_(std::size_t(TILE_SIDE) * TILE_SIDE)
    {
        for (double& v : lattice_) v = random.uniform();
    }
    double operator()(double x, double y, int firstCells, int octaves) const
    {
        double sum = 0.0, weight = 0.5, total = 0.0;
        for (int o = 0, cells = firstCells; o < octaves && cells <= TILE_SIDE; ++o, cells *= 2) {
            sum += Smooth(x * cells / TILE_SIDE, y * cells / TILE_SIDE, cells, o) * weight;
            total += weight;
            weight *= 0.5;
        }
        return sum / total;
    }

private:
    double Lattice(int x, int y, int cells, int octave) const
    {
        x = ((x % cells) + cells) % cells;
        y = ((y % cells) + cells) % cells;
        const int shift = octave * 37;
        return lattice_[std::size_t((y + shift) % TILE_SIDE) * TILE_SIDE + (x + shift) % TILE_SIDE];
    }
    double Smooth(double x, double y, int cells, int octave) const
    {
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        double fx = x - x0, fy = y - y0;
        fx = fx * fx * (3 - 2 * fx);
        fy = fy * fy * (3 - 2 * fy);
        const double a = Lattice(x0, y0, cells, octave), b = Lattice(x0 + 1, y0, cells, octave);
        const double c = Lattice(x0, y0 + 1, cells, octave), d = Lattice(x0 + 1, y0 + 1, cells, octave);
        return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
    }
    std::vector<double> lattice_;
};

template <typename Shade>
Image MakeTile(Shade shade)
{
    Image tile(TILE_SIDE, TILE_SIDE);
    for (int y = 0; y < TILE_SIDE; ++y)
        for (int x = 0; x < TILE_SIDE; ++x) tile.at(x, y) = shade(x, y);
    return tile;
}

Image WaterTile(const TileNoise& noise, Random& random)
{
    return MakeTile([&](int x, int y) {
        const double swell = noise(x, y * 2.0, 4, 5);
        const double ripple = 0.5 + 0.5 * std::sin((y + 8.0 * noise(x, y, 8, 2)) * TWO_PI / 32.0);
        const double sparkle = random.uniform() < 0.004 ? 60.0 : 0.0;
        const double light = swell * 50.0 + ripple * 20.0 + sparkle;
        return Rgb{ToByte(15 + light * 0.4), ToByte(55 + light * 0.8), ToByte(120 + light)};
    });
}

Image SandTile(const TileNoise& noise, Random& random)
{
    return MakeTile([&](int x, int y) {
        const double dunes = noise(x, y, 4, 3) * 30.0;
        const double grain = random.symmetric() * 14.0;
        const double v = dunes + grain;
        return Rgb{ToByte(190 + v), ToByte(170 + v), ToByte(118 + v * 0.8)};
    });
}

Image GrassTile(const TileNoise& noise, Random& random)
{
    return MakeTile([&](int x, int y) {
        const double patches = noise(x, y, 8, 4);
        const double blade = random.uniform() < 0.08 ? 25.0 : random.symmetric() * 10.0;
        return Rgb{ToByte(45 + patches * 45 + blade * 0.5), ToByte(95 + patches * 60 + blade),
                   ToByte(30 + patches * 20)};
    });
}

Image RockSnowTile(const TileNoise& noise, Random& random)
{
    return MakeTile([&](int x, int y) {
        const double stone = noise(x, y, 8, 6);
        const double cracks = std::fabs(noise(y, x, 16, 3) - 0.5) < 0.02 ? -35.0 : 0.0;
        const double grit = random.symmetric() * 8.0;
        if (noise(x + 97.0, y + 41.0, 4, 4) > 0.55) {
            const double snow = 228 + stone * 20 + grit * 0.5;
            return Rgb{ToByte(snow), ToByte(snow + 2), ToByte(snow + 10)};
        }
        const double grey = 85 + stone * 70 + cracks + grit;
        return Rgb{ToByte(grey + 6), ToByte(grey), ToByte(grey - 6)};
    });
}

// ---------------------------------------------------------------- 24-bit bitmap files

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

// BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows of blue, green, red, padded to 4 bytes.
bool WriteBitmap(const std::string& path, const Image& image)
{
    const std::uint32_t stride = (std::uint32_t(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * std::uint32_t(image.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutLittle(out, 54 + pixelBytes, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 54, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, std::uint32_t(image.width), 4);
    PutLittle(out, std::uint32_t(image.height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4); // BI_RGB
    PutLittle(out, pixelBytes, 4);
    PutLittle(out, 2835, 4); // 72 dots per inch
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const Rgb& p = image.pixels[std::size_t(row) * image.width + column];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = std::uint32_t(image.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_data <output folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    Random random(SEED);

    const std::vector<std::uint8_t> heights = HeightBytes(FractalLandscape(random));
    const TileNoise noise(random);
    const struct {
        const char* name;
        Image image;
    } files[] = {
        {"terreno-test00-big.bmp", SampleLandscape(heights, LOOKUP_SIDE, 1)},
        {"terreno-test00.bmp", SampleLandscape(heights, MESH_SIDE, LOOKUP_SIDE / MESH_SIDE)},
        {"water4.bmp", WaterTile(noise, random)},
        {"Floor04.bmp", SandTile(noise, random)},
        {"Floor09.bmp", GrassTile(noise, random)},
        {"WP25.bmp", RockSnowTile(noise, random)},
    };
    for (const auto& file : files) {
        if (!WriteBitmap(folder + file.name, file.image)) {
            std::fprintf(stderr, "make_demo_data: cannot write %s%s\n", folder.c_str(), file.name);
            return 1;
        }
    }
    return 0;
}
