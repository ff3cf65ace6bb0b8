#include "devtools/make-pictures/EndPhotograph.h"

#include "devtools/make-pictures/FloatImage.h"
#include "devtools/make-pictures/Noise.h"
#include "devtools/make-pictures/Shading.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace zdawnik::tools {

namespace {

using namespace shading;

constexpr int W = EndPhotographWidth;
constexpr int H = EndPhotographHeight;
constexpr int Samples = 3; // samples per pixel each way

constexpr float Pi = std::numbers::pi_v<float>;

// The glass, seen from above and in front: a tapered cylinder whose rim and base show as ellipses.
// Positions are in pixels of the finished picture.
constexpr float Cx = 173.5f;
constexpr float RimY = 142.0f;
constexpr float RimA = 142.0f;
constexpr float RimB = 94.0f;
constexpr float BaseY = 418.0f;
constexpr float BaseA = 92.0f;
constexpr float BaseB = 46.0f;
constexpr float Wall = 4.4f;        // the rim's width, across
constexpr float FoamDrop = 7.0f;    // how far the top of the foam lies below the rim
constexpr float HeadLevel = 0.115f; // where the foam ends and the beer starts down the glass's side
constexpr float BottomLevel = 0.9f; // where the beer ends and the glass's thick bottom starts

constexpr float FoamY = RimY + FoamDrop;
constexpr float FoamA = RimA - 5.0f;
constexpr float FoamB = RimB - 4.0f;
constexpr float InnerA = RimA - Wall;
constexpr float InnerB = RimB - Wall * RimB / RimA;

// Light comes from the upper left of the picture (behind and left of the glass) and from above.
// Directions on the foam's surface: x to the right, y towards the camera, z up.
const Vec Light = Normalised({-0.55f, -0.5f, 0.72f});
const Vec Viewer = Normalised({0.0f, 0.73f, 0.68f});
const Vec HalfWay = Normalised({Light.x + Viewer.x, Light.y + Viewer.y, Light.z + Viewer.z});

const Rgb Cream{0.99f, 0.96f, 0.88f};
const Rgb FoamTan{0.80f, 0.53f, 0.22f};
const Rgb DeepAmber{0.30f, 0.10f, 0.005f};
const Rgb BrightAmber{1.0f, 0.70f, 0.16f};
const Rgb GlowingAmber{1.0f, 0.88f, 0.52f};
const Rgb White{1, 1, 1};

// Down the glass's side, "level" runs from 0 at the rim to 1 at the base; across it, "s" runs
// from -1 at the left edge to 1 at the right edge.
float LevelY(float level)
{
    return Lerp(RimY, BaseY, level);
}
float LevelA(float level)
{
    return Lerp(RimA, BaseA, level);
}
float LevelB(float level)
{
    return Lerp(RimB, BaseB, level);
}

// The point of the glass's near side that shows at (x, y), if any.
bool SideAt(float x, float y, float& level, float& s)
{
    const auto below = [x, y](float l) {
        const float across = std::clamp((x - Cx) / LevelA(l), -1.0f, 1.0f);
        return LevelY(l) + LevelB(l) * std::sqrt(1 - across * across) - y;
    };
    if (below(0) > 0 || below(1) < 0)
        return false;
    float lo = 0;
    float hi = 1;
    for (int i = 0; i < 28; ++i) {
        const float mid = 0.5f * (lo + hi);
        (below(mid) < 0 ? lo : hi) = mid;
    }
    level = 0.5f * (lo + hi);
    s = (x - Cx) / LevelA(level);
    return std::abs(s) <= 1;
}

// The face pressed into the foam, in pixels on the foam's surface (undoing the foreshortening):
// the centre of the foam at the origin, y towards the camera.
struct FacePits
{
    float depth; // how far below the foam around it
    float lip;   // the foam pushed up round the edge of a pit
};

float PitProfile(float d)
{
    // d: distance from the pit's axis over its radius. A rounded hollow, steepest near its edge.
    if (d >= 1)
        return 0;
    const float t = 1 - d * d;
    return t * t * (1.4f - 0.4f * t);
}

FacePits Pits(float X, float Y)
{
    FacePits pits{0, 0};
    // Eyes: slightly tall ovals.
    for (const float side : {-1.0f, 1.0f}) {
        const float ex = (X - side * 0.33f * FoamA) / 17.0f;
        const float ey = (Y + 0.28f * FoamA) / 22.0f;
        const float d = std::hypot(ex, ey);
        pits.depth = std::max(pits.depth, 13.0f * PitProfile(d));
        pits.lip += 1.6f * std::exp(-(d - 1.12f) * (d - 1.12f) / 0.02f);
    }
    // Mouth: a groove along an arc opening upwards, rounded at its ends.
    const float mouthY = -0.10f * FoamA;
    const float mouthR = 0.56f * FoamA;
    const float halfWidth = 10.5f;
    const float angle = std::atan2(Y - mouthY, X);
    const float from = 0.17f * Pi;
    const float to = 0.83f * Pi;
    float distance;
    float along = 1; // shallower towards the corners of the mouth
    if (angle >= from && angle <= to) {
        distance = std::abs(std::hypot(X, Y - mouthY) - mouthR);
        const float middle = (angle - 0.5f * Pi) / (0.5f * (to - from));
        along = 1 - 0.35f * middle * middle;
    } else {
        const float end = angle < from && angle > -0.5f * Pi ? from : to;
        distance = std::hypot(X - mouthR * std::cos(end), Y - mouthY - mouthR * std::sin(end));
        along = 0.65f;
    }
    const float d = distance / (halfWidth * (0.75f + 0.25f * along));
    pits.depth = std::max(pits.depth, 10.0f * along * PitProfile(d));
    pits.lip += 1.3f * std::exp(-(d - 1.15f) * (d - 1.15f) / 0.03f);
    return pits;
}

class Scene
{
public:
    Scene();
    FloatImage Render() const;

private:
    enum class Region : std::uint8_t
    {
        Table,
        Foam,
        BackWall,
        Rim,
        FoamSide,
        Beer,
        Bottom,
    };
    struct Sample
    {
        Rgb colour;
        Region region;
    };

    Sample Shade(float x, float y) const;
    Rgb Table(float x, float y) const { return m_table.Sample(x, y); }
    Rgb FoamTop(float x, float y) const;
    Rgb BackWall(float x, float y) const;
    Rgb RimGlass(float x, float y, const Rgb& under) const;
    Rgb Side(float level, float s, float x, float y, Region& region) const;
    float SmoothHeight(float X, float Y) const;

    void AddBubbles(FloatImage& image, const std::vector<Region>& regions) const;
    void AddDroplets(FloatImage& image, const std::vector<Region>& regions) const;

    FloatImage m_table;
};

Scene::Scene() : m_table(W, H)
{
    // The shadow: the glass's cross-sections from base to rim, each thrown further to the lower
    // right the higher it lies.
    std::vector<float> shadow(static_cast<std::size_t>(W) * H, 0);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            for (int i = 0; i <= 24; ++i) {
                const float level = float(i) / 24;
                const float cx = Cx + (1 - level) * 105.0f;
                const float cy = BaseY + (1 - level) * 62.0f;
                const float a = LevelA(level);
                if (EllipseRadius(float(x) + 0.5f, float(y) + 0.5f, cx, cy, a, a * BaseB / BaseA) <= 1) {
                    shadow[y * W + x] = 1;
                    break;
                }
            }
        }
    }
    FloatImage shadowImage(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            shadowImage.At(x, y) = Grey(shadow[y * W + x]);
    }
    shadowImage = shadowImage.Blurred(9.0f);

    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const float fx = float(x) + 0.5f;
            const float fy = float(y) + 0.5f;
            // A matt dark grey surface, lit from the upper left.
            float v = 0.165f + 0.085f * std::exp(-(std::pow(fx - 40, 2) + std::pow(fy - 10, 2)) /
                                                 (2 * 230.0f * 230.0f));
            v += 0.018f * Fractal(fx / 55, fy / 55, 4, 11) + 0.010f * Fractal(fx / 7, fy / 7, 3, 12);
            Rgb c{v * 0.98f, v * 0.99f, v * 1.03f};
            const float dark = shadowImage.At(x, y).r;
            c = c * (1 - 0.62f * dark);
            // Light through the beer throws an amber glow into the shadow.
            const float gx = (fx - (Cx + 78)) / 46;
            const float gy = (fy - (BaseY + 44)) / 22;
            c += Rgb{0.55f, 0.26f, 0.04f} * (0.30f * std::exp(-(gx * gx + gy * gy)) * dark);
            // Where the glass stands on the table.
            const float r = EllipseRadius(fx, fy, Cx, BaseY, BaseA, BaseB);
            if (fy > BaseY)
                c = c * (1 - 0.55f * std::exp(-(r - 1.02f) * (r - 1.02f) / 0.004f));
            m_table.At(x, y) = c;
        }
    }
    // The table lies far below the foam the camera is focused on.
    m_table = m_table.Blurred(2.4f);
}

float Scene::SmoothHeight(float X, float Y) const
{
    const float r = std::hypot(X, Y) / FoamA;
    const FacePits pits = Pits(X, Y);
    return 11.0f * (1 - r * r) + 4.0f * SmoothStep(0.9f, 1.0f, r) - pits.depth + pits.lip +
           2.0f * Fractal(X / 30, Y / 30, 3, 21);
}

Rgb Scene::FoamTop(float x, float y) const
{
    const float X = x - Cx;
    const float Y = (y - FoamY) * FoamA / FoamB;

    // Bubbles: cells of foam, domed in their middles and creased where they meet, and here and
    // there a bigger bubble standing out of the head.
    const auto bubbles = [](float X, float Y, float& crease, float& shine) {
        // Bend the cells' grid a little so the bubbles vary in size and shape.
        const float wx = X + 4.0f * Fractal(X / 16, Y / 16, 2, 36);
        const float wy = Y + 4.0f * Fractal(X / 16 + 7.1f, Y / 16 + 3.3f, 2, 37);
        const Cells big = CellNoise(wx / 4.6f, wy / 4.6f, 31);
        const Cells small = CellNoise(wx / 1.7f, wy / 1.7f, 32);
        const Cells large = CellNoise(X / 13.0f, Y / 13.0f, 33);
        const float bigEdge = big.second - big.nearest;
        const float smallEdge = small.second - small.nearest;
        crease = 1 - SmoothStep(0.0f, 0.2f, bigEdge);
        shine = 0.35f * (1 - SmoothStep(0.0f, 0.5f, big.nearest));
        float h = 0.6f * SmoothStep(0.0f, 0.6f, bigEdge) + 0.3f * SmoothStep(0.0f, 0.5f, smallEdge);
        const float radius =
            0.1f + 0.16f * Hash(int(std::floor(large.nearestX)), int(std::floor(large.nearestY)), 34);
        if (Hash(int(std::floor(large.nearestX)), int(std::floor(large.nearestY)), 35) < 0.3f &&
            large.nearest < radius) {
            const float d = large.nearest / radius;
            h += 13.0f * radius * std::sqrt(1 - d * d);
            crease = std::max(crease * 0.3f, SmoothStep(0.75f, 1.0f, d));
            shine = 1.0f;
        }
        return h;
    };
    const auto height = [&](float X, float Y, float& crease, float& shine) {
        return SmoothHeight(X, Y) + bubbles(X, Y, crease, shine);
    };
    float crease;
    float shine;
    float unused;
    const float e = 0.5f;
    const float h = height(X, Y, crease, shine);
    const float hx = height(X + e, Y, unused, unused);
    const float hy = height(X, Y + e, unused, unused);
    const Vec normal = Normalised({-(hx - h) / e, -(hy - h) / e, 1});

    // Shadow cast by the rims of the pits: march towards the light over the smooth surface.
    const float lightRun = std::hypot(Light.x, Light.y);
    const float rise = Light.z / lightRun;
    const float base = SmoothHeight(X, Y);
    float blocked = 0;
    for (int i = 1; i <= 16; ++i) {
        const float d = 1.6f * float(i);
        const float above =
            SmoothHeight(X + Light.x / lightRun * d, Y + Light.y / lightRun * d) - (base + rise * d);
        blocked = std::max(blocked, above);
    }
    // Foam is translucent: even its shadows are lit from within.
    const float lit = 1 - 0.42f * SmoothStep(0.0f, 3.0f, blocked);

    const FacePits pits = Pits(X, Y);
    const float hollow = Clamp01(pits.depth / 12.0f);
    const float r = std::hypot(X, Y) / FoamA;

    Rgb albedo = Mix(Cream, FoamTan, 0.75f * std::pow(hollow, 1.2f));
    albedo = albedo * (1 + 0.035f * Fractal(X / 18, Y / 18, 3, 41));
    albedo = albedo * (1 - 0.1f * crease);
    const float diffuse = 0.56f + 0.52f * std::max(0.0f, Dot(normal, Light));
    const float occlusion = (1 - 0.3f * hollow) * (1 - 0.22f * SmoothStep(0.93f, 1.0f, r));
    const float glint = 0.6f * std::pow(std::max(0.0f, Dot(normal, HalfWay)), 50.0f) * shine;
    return albedo * (diffuse * occlusion * lit) + White * (glint * lit);
}

Rgb Scene::BackWall(float x, float y) const
{
    // The inside of the glass's far side, above the foam: dark glass showing the table below,
    // a streak of reflected light, and a few flecks of foam left on the glass.
    const float top = RimY - InnerB * std::sqrt(std::max(0.0f, 1 - std::pow((x - Cx) / InnerA, 2.0f)));
    const float foam = FoamY - FoamB * std::sqrt(std::max(0.0f, 1 - std::pow((x - Cx) / FoamA, 2.0f)));
    const float down = Clamp01((y - top) / std::max(1.0f, foam - top));
    Rgb c = Table(x, y - 30) * 0.75f + Rgb{0.05f, 0.03f, 0.01f};
    c = c * (1 - 0.35f * down);
    const float s = (x - Cx) / InnerA;
    c += White * (0.22f * std::exp(-std::pow((s - 0.35f) / 0.08f, 2.0f)) * (1 - down));
    const Cells flecks = CellNoise(x / 2.6f, y / 2.6f, 51);
    if (down > 0.45f && flecks.nearest < 0.32f && Hash(int(flecks.nearestX), int(flecks.nearestY), 52) < 0.5f)
        c = Mix(c, Cream * 0.75f, SmoothStep(0.32f, 0.2f, flecks.nearest));
    return c;
}

Rgb Scene::RimGlass(float x, float y, const Rgb& under) const
{
    const float outer = EllipseRadius(x, y, Cx, RimY, RimA, RimB);
    const float inner = InnerA / RimA;
    const float across = Clamp01((outer - inner) / (1 - inner));
    const float angle = std::atan2((y - RimY) / RimB, (x - Cx) / RimA);
    const float towardsLight = std::pow(std::max(0.0f, std::cos(angle + 0.75f * Pi)), 4.0f);
    const float refracted = 0.7f * std::pow(std::max(0.0f, std::cos(angle - 0.22f * Pi)), 10.0f);
    const float profile = std::pow(std::sin(Pi * across), 0.8f);
    const float edges = 0.55f + 0.45f * SmoothStep(0.0f, 0.25f, across) * SmoothStep(1.0f, 0.75f, across);
    Rgb c = under * (0.6f * edges) + Grey(0.07f);
    return Screen(c, White * ((0.16f + 0.95f * towardsLight + refracted) * profile));
}

Rgb Scene::Side(float level, float s, float x, float y, Region& region) const
{
    const float c = std::sqrt(std::max(0.0f, 1 - s * s));
    const float head =
        HeadLevel + 0.012f * Fractal(s * 7, 3.0f, 2, 61) + 0.006f * Fractal(s * 30, 7.0f, 2, 62);
    Rgb colour;
    if (level < head) {
        region = Region::FoamSide;
        const float into = level / head;
        const float scale = 1.8f + 3.2f * into * into;
        const Cells cells = CellNoise(x / scale, y / scale, 71);
        const float edge = cells.second - cells.nearest;
        const float shade = 0.5f + 0.55f * std::max(0.0f, -0.55f * s + 0.83f * c);
        colour = Mix(Cream, FoamTan, 0.75f * SmoothStep(0.55f, 1.0f, into)) * shade;
        colour = colour * (0.82f + 0.18f * SmoothStep(0.0f, 0.3f, edge));
        // The top of the head, just under the rim, lies in the rim's shadow.
        colour = colour * (0.8f + 0.2f * SmoothStep(0.0f, 0.25f, into));
    } else if (level < BottomLevel) {
        region = Region::Beer;
        const float depth = (level - head) / (BottomLevel - head);
        // Light enters from the upper left and gathers towards the middle and the bottom of the
        // glass; the sides, where the beer is seen at a slant, stay dark.
        float glow =
            0.0f + 0.55f * std::pow(c, 2.0f) + 0.22f * (-s) * c + 0.3f * SmoothStep(0.3f, 1.0f, depth) * c;
        glow *= 1 + 0.1f * Fractal(s * 3, level * 7, 3, 63);
        colour = Mix(DeepAmber, BrightAmber, Clamp01(glow * 1.15f));
        colour = Mix(colour, GlowingAmber, 0.55f * SmoothStep(0.8f, 1.1f, glow));
        // Just under the head the foam shades the beer.
        colour = colour * (0.62f + 0.38f * SmoothStep(0.0f, 0.08f, depth));
        colour = colour * (1 - 0.6f * SmoothStep(0.7f, 0.97f, std::abs(s)));
    } else {
        region = Region::Bottom;
        // The thick glass bottom: the beer seen through it, bent and lightened, between the dark
        // line of the beer's floor and the bright edge of the foot.
        const float into = (level - BottomLevel) / (1 - BottomLevel);
        const float wave = 0.5f + 0.5f * std::sin(s * 9.0f + into * 4.0f);
        colour = Mix(BrightAmber * 0.7f, Rgb{0.95f, 0.78f, 0.5f}, 0.25f + 0.2f * wave) * (0.55f + 0.35f * c);
        colour = colour * (1 - 0.7f * std::exp(-into * into / 0.01f));
        colour += White * (0.55f * std::exp(-std::pow((into - 0.9f) / 0.07f, 2.0f)) * (0.4f + 0.6f * c));
        colour = Mix(colour, Table(x, y) * 1.2f, 0.25f * SmoothStep(0.85f, 1.0f, std::abs(s)));
    }

    // The glass's near side: reflections of the light as upright streaks following its curve,
    // and its edges, where the glass is seen edge-on.
    const auto streak = [s](float at, float width, float strength) {
        return strength * std::exp(-((s - at) / width) * ((s - at) / width));
    };
    float shine = streak(-0.70f, 0.035f, 0.8f) + streak(-0.585f, 0.012f, 0.35f) +
                  streak(0.79f, 0.028f, 0.32f) + streak(0.42f, 0.13f, 0.05f);
    shine *= (1 - 0.55f * level) * (0.75f + 0.25f * ValueNoise(level * 14, s > 0 ? 1.0f : 0.0f, 64));
    colour = Screen(colour, White * shine);
    const float edgeOn = SmoothStep(0.955f, 0.995f, std::abs(s));
    colour = Mix(colour, Rgb{0.09f, 0.07f, 0.05f}, 0.75f * edgeOn);
    const float rimLine = std::exp(-std::pow((std::abs(s) - 0.991f) / 0.005f, 2.0f));
    colour = Screen(colour, White * (rimLine * (s < 0 ? 0.75f : 0.45f)));
    return colour;
}

Scene::Sample Scene::Shade(float x, float y) const
{
    const float outer = EllipseRadius(x, y, Cx, RimY, RimA, RimB);
    if (outer <= 1) {
        if (EllipseRadius(x, y, Cx, RimY, InnerA, InnerB) <= 1) {
            if (EllipseRadius(x, y, Cx, FoamY, FoamA, FoamB) <= 1)
                return {FoamTop(x, y), Region::Foam};
            return {BackWall(x, y), Region::BackWall};
        }
        Rgb under = Table(x, y);
        float level;
        float s;
        Region region;
        if (y > RimY && SideAt(x, y + Wall, level, s))
            under = Side(level, s, x, y, region);
        return {RimGlass(x, y, under), Region::Rim};
    }
    float level;
    float s;
    if (SideAt(x, y, level, s)) {
        Region region;
        const Rgb c = Side(level, s, x, y, region);
        return {c, region};
    }
    return {Table(x, y), Region::Table};
}

void Scene::AddBubbles(FloatImage& image, const std::vector<Region>& regions) const
{
    // Streams of bubbles rising from points on the bottom, and single bubbles clinging to the glass.
    struct Bubble
    {
        float x, y, r;
    };
    std::vector<Bubble> bubbles;
    for (int stream = 0; stream < 24; ++stream) {
        const float s = -0.82f + 1.64f * Hash(stream, 0, 81);
        float level = BottomLevel - 0.02f;
        for (int j = 0; level > HeadLevel + 0.03f; ++j) {
            const float size = 0.45f + 0.9f * (1 - level) + 0.35f * Hash(stream, j, 82);
            const float wobble = 0.006f * (Hash(stream, j, 83) - 0.5f);
            const float across = std::clamp(s + wobble, -1.0f, 1.0f);
            bubbles.push_back({Cx + LevelA(level) * across,
                               LevelY(level) + LevelB(level) * std::sqrt(1 - across * across), size});
            level -= (0.012f + 0.03f * Hash(stream, j, 84)) * (0.6f + 0.8f * level);
        }
    }
    for (int i = 0; i < 260; ++i) {
        const float level = HeadLevel + 0.02f + (BottomLevel - HeadLevel - 0.04f) * Hash(i, 1, 85);
        const float across = -0.93f + 1.86f * Hash(i, 2, 85);
        bubbles.push_back({Cx + LevelA(level) * across,
                           LevelY(level) + LevelB(level) * std::sqrt(1 - across * across),
                           0.35f + 0.7f * Hash(i, 3, 85) * Hash(i, 4, 85)});
    }
    const float k = Samples;
    for (const Bubble& b : bubbles) {
        const int x0 = std::max(0, int((b.x - b.r - 1) * k));
        const int x1 = std::min(image.Width() - 1, int((b.x + b.r + 1) * k));
        const int y0 = std::max(0, int((b.y - b.r - 1) * k));
        const int y1 = std::min(image.Height() - 1, int((b.y + b.r + 1) * k));
        for (int py = y0; py <= y1; ++py) {
            for (int px = x0; px <= x1; ++px) {
                if (regions[std::size_t(py) * image.Width() + px] != Region::Beer)
                    continue;
                const float dx = (float(px) + 0.5f) / k - b.x;
                const float dy = (float(py) + 0.5f) / k - b.y;
                const float d = std::hypot(dx, dy) / b.r;
                if (d >= 1)
                    continue;
                Rgb& c = image.At(px, py);
                // A dark ring where the bubble bends light away, a bright point where it catches it.
                c = c * (1 - 0.5f * SmoothStep(0.5f, 0.95f, d)) + GlowingAmber * (0.25f * (1 - d));
                const float hx = dx / b.r + 0.3f;
                const float hy = dy / b.r + 0.3f;
                c = Screen(c, White * std::exp(-(hx * hx + hy * hy) / 0.08f));
            }
        }
    }
}

void Scene::AddDroplets(FloatImage& image, const std::vector<Region>& regions) const
{
    // Beads of condensation on the outside of the cold glass.
    const float k = Samples;
    for (int i = 0; i < 420; ++i) {
        const float level = 0.03f + 0.93f * Hash(i, 1, 91);
        const float across = -0.96f + 1.92f * Hash(i, 2, 91);
        const float x = Cx + LevelA(level) * across;
        const float y = LevelY(level) + LevelB(level) * std::sqrt(1 - across * across);
        const float r = 0.45f + 1.5f * std::pow(Hash(i, 3, 91), 2.0f);
        const int x0 = std::max(0, int((x - r - 1) * k));
        const int x1 = std::min(image.Width() - 1, int((x + r + 1) * k));
        const int y0 = std::max(0, int((y - r - 1) * k));
        const int y1 = std::min(image.Height() - 1, int((y + r + 1.5f) * k));
        for (int py = y0; py <= y1; ++py) {
            for (int px = x0; px <= x1; ++px) {
                const Region region = regions[std::size_t(py) * image.Width() + px];
                if (region != Region::Beer && region != Region::FoamSide && region != Region::Bottom)
                    continue;
                const float dx = (float(px) + 0.5f) / k - x;
                const float dy = (float(py) + 0.5f) / k - y;
                const float d = std::hypot(dx, dy * 0.9f) / r;
                if (d >= 1)
                    continue;
                Rgb& c = image.At(px, py);
                // A bead is a small lens: darker towards its lower edge, a glint at its upper left.
                const float lower = Clamp01(dy / r);
                c = c * (1.05f - 0.5f * lower * SmoothStep(0.5f, 1.0f, d));
                const float hx = dx / r + 0.3f;
                const float hy = dy / r + 0.4f;
                c = Screen(c, White * (0.7f * std::exp(-(hx * hx + hy * hy) / 0.05f)));
            }
        }
    }
}

FloatImage Scene::Render() const
{
    FloatImage fine(W * Samples, H * Samples);
    std::vector<Region> regions(std::size_t(fine.Width()) * fine.Height());
    for (int py = 0; py < fine.Height(); ++py) {
        for (int px = 0; px < fine.Width(); ++px) {
            const Sample sample = Shade((float(px) + 0.5f) / Samples, (float(py) + 0.5f) / Samples);
            fine.At(px, py) = sample.colour;
            regions[std::size_t(py) * fine.Width() + px] = sample.region;
        }
    }
    AddBubbles(fine, regions);
    AddDroplets(fine, regions);
    return fine.Reduced(Samples);
}

// What the camera and the print do to the scene.
FloatImage Develop(const FloatImage& scene)
{
    FloatImage image = scene;

    // The lower part of the glass lies further from the camera than the foam it is focused on.
    const FloatImage soft = scene.Blurred(1.3f);
    for (int y = 0; y < H; ++y) {
        const float t = 0.85f * SmoothStep(300.0f, 470.0f, float(y));
        for (int x = 0; x < W; ++x)
            image.At(x, y) = Mix(image.At(x, y), soft.At(x, y), t);
    }

    // Glare round the brightest points.
    FloatImage glare(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Rgb& c = image.At(x, y);
            const float over = std::max(0.0f, c.Luminance() - 0.72f);
            glare.At(x, y) = c * (over / std::max(0.01f, c.Luminance()));
        }
    }
    glare = glare.Blurred(5.0f);

    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            Rgb c = image.At(x, y) + glare.At(x, y) * 0.45f;
            // Vignetting: the lens darkens the corners.
            const float vx = (float(x) + 0.5f - W * 0.5f) / (W * 0.5f);
            const float vy = (float(y) + 0.5f - H * 0.46f) / (H * 0.5f);
            c = c * (1 - 0.42f * SmoothStep(0.35f, 1.6f, vx * vx + vy * vy));
            // A gentle shoulder for the highlights, a slightly warm print.
            const auto tone = [](float v) {
                return v < 0.8f ? v : 0.8f + 0.2f * std::tanh((v - 0.8f) / 0.2f);
            };
            c = {tone(c.r * 1.02f), tone(c.g), tone(c.b * 0.97f)};
            // Film grain, stronger in the shadows, mostly without colour.
            const float grain = GaussianHash(x, y, 101) * (0.011f + 0.012f * (1 - c.Luminance()));
            c = c + Grey(grain) +
                Rgb{GaussianHash(x, y, 102), GaussianHash(x, y, 103), GaussianHash(x, y, 104)} * 0.003f;
            image.At(x, y) = c;
        }
    }
    return image;
}

} // namespace

QImage DrawEndPhotograph()
{
    const Scene scene;
    return Develop(scene.Render()).ToImage();
}

} // namespace zdawnik::tools
