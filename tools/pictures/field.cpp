#include "field.h"

#include <algorithm>
#include <cmath>
#include <limits>

float field_sample(const Field& field, float x, float y)
{
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    const int32_t x0 = static_cast<int32_t>(std::floor(fx));
    const int32_t y0 = static_cast<int32_t>(std::floor(fy));
    const float tx = fx - static_cast<float>(x0);
    const float ty = fy - static_cast<float>(y0);
    const float top = grid_get(field, x0, y0) * (1 - tx) + grid_get(field, x0 + 1, y0) * tx;
    const float bottom = grid_get(field, x0, y0 + 1) * (1 - tx) + grid_get(field, x0 + 1, y0 + 1) * tx;
    return top * (1 - ty) + bottom * ty;
}

static std::vector<float> gaussian_kernel(float sigma)
{
    const int32_t radius = static_cast<int32_t>(std::ceil(sigma * 3.0f));
    std::vector<float> kernel(static_cast<size_t>(2 * radius + 1));
    float sum = 0.0f;
    for (int32_t i = -radius; i <= radius; ++i) {
        const float w = std::exp(-0.5f * static_cast<float>(i * i) / (sigma * sigma));
        kernel[static_cast<size_t>(i + radius)] = w;
        sum += w;
    }
    for (float& w : kernel)
        w /= sum;
    return kernel;
}

Field field_blur(const Field& field, float sigma)
{
    const std::vector<float> kernel = gaussian_kernel(sigma);
    const int32_t radius = static_cast<int32_t>(kernel.size() / 2);
    Field across = field_make(field.width, field.height);
    Field result = field_make(field.width, field.height);
    for (int32_t y = 0; y < field.height; ++y)
        for (int32_t x = 0; x < field.width; ++x) {
            float sum = 0.0f;
            for (int32_t i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * grid_get(field, x + i, y);
            grid_set(across, x, y, sum);
        }
    for (int32_t y = 0; y < field.height; ++y)
        for (int32_t x = 0; x < field.width; ++x) {
            float sum = 0.0f;
            for (int32_t i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * grid_get(across, x, y + i);
            grid_set(result, x, y, sum);
        }
    return result;
}

Field field_rasterise(int32_t width, int32_t height, int32_t scale, const Inside& inside)
{
    Field field = field_make(width * scale, height * scale);
    const float step = 1.0f / static_cast<float>(scale);
    for (int32_t y = 0; y < field.height; ++y)
        for (int32_t x = 0; x < field.width; ++x)
            if (inside((static_cast<float>(x) + 0.5f) * step, (static_cast<float>(y) + 0.5f) * step))
                grid_set(field, x, y, 1.0f);
    return field;
}

// One line of the exact squared Euclidean distance transform (lower envelope
// of parabolas rooted at every sample, Felzenszwalb and Huttenlocher).
static void squared_distance_line(std::vector<double>& line)
{
    const size_t n = line.size();
    if (n == 0)
        return;
    std::vector<size_t> roots(n);
    std::vector<double> bounds(n + 1);
    const double infinity = std::numeric_limits<double>::infinity();
    auto meet = [&line](size_t q, size_t p) {
        const double dq = static_cast<double>(q);
        const double dp = static_cast<double>(p);
        return ((line[q] + dq * dq) - (line[p] + dp * dp)) / (2.0 * dq - 2.0 * dp);
    };
    size_t k = 0;
    bounds[0] = -infinity;
    bounds[1] = infinity;
    for (size_t q = 1; q < n; ++q) {
        double s = meet(q, roots[k]);
        while (s <= bounds[k]) {
            --k;
            s = meet(q, roots[k]);
        }
        ++k;
        roots[k] = q;
        bounds[k] = s;
        bounds[k + 1] = infinity;
    }
    std::vector<double> result(n);
    k = 0;
    for (size_t q = 0; q < n; ++q) {
        while (bounds[k + 1] < static_cast<double>(q))
            ++k;
        const double offset = static_cast<double>(q) - static_cast<double>(roots[k]);
        result[q] = offset * offset + line[roots[k]];
    }
    line = result;
}

// Distance to the nearest sample that is inside (or outside) the mask.
static Field distance_to(const Field& mask, bool source_inside)
{
    // A finite stand-in for infinity keeps the parabola arithmetic exact.
    constexpr double unreached = 1e12;
    const size_t width = static_cast<size_t>(mask.width);
    const size_t height = static_cast<size_t>(mask.height);
    std::vector<double> squared(width * height);
    for (size_t i = 0; i < squared.size(); ++i)
        squared[i] = ((mask.values[i] >= 0.5f) == source_inside) ? 0.0 : unreached;
    std::vector<double> line;
    for (size_t x = 0; x < width; ++x) {
        line.assign(height, 0.0);
        for (size_t y = 0; y < height; ++y)
            line[y] = squared[y * width + x];
        squared_distance_line(line);
        for (size_t y = 0; y < height; ++y)
            squared[y * width + x] = line[y];
    }
    Field result = field_make(mask.width, mask.height);
    for (size_t y = 0; y < height; ++y) {
        line.assign(squared.begin() + static_cast<std::ptrdiff_t>(y * width),
                    squared.begin() + static_cast<std::ptrdiff_t>((y + 1) * width));
        squared_distance_line(line);
        for (size_t x = 0; x < width; ++x)
            result.values[y * width + x] = static_cast<float>(std::sqrt(line[x]));
    }
    return result;
}

Field field_distance_inside(const Field& mask)
{
    return distance_to(mask, false);
}

Field field_distance_outside(const Field& mask)
{
    return distance_to(mask, true);
}

static Normal normalise(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

Normal surface_normal(const Field& distance, int32_t x, int32_t y, float slope)
{
    // Central differences of a distance map have unit length except on ridges,
    // where they shrink and the bevel meets itself in a crisp edge.
    const float gx = 0.5f * (grid_get(distance, x + 1, y) - grid_get(distance, x - 1, y));
    const float gy = 0.5f * (grid_get(distance, x, y + 1) - grid_get(distance, x, y - 1));
    return normalise(-slope * gx, -slope * gy, 1.0f);
}

float pillow_slope(float d, float width)
{
    if (d >= width)
        return 0.0f;
    const float t = std::max(1.0f - d / width, 0.0f);
    return t / std::sqrt(std::max(1.0f - t * t, 0.04f));
}

Colour light_surface(Colour base, Normal n, float gloss, float shininess)
{
    static const Normal light = normalise(-0.6f, -0.8f, 1.0f);
    static const Normal halfway = normalise(light.x, light.y, light.z + 1.0f);
    const float facing = std::max(0.0f, n.x * light.x + n.y * light.y + n.z * light.z) / light.z;
    const float shine = std::max(0.0f, n.x * halfway.x + n.y * halfway.y + n.z * halfway.z);
    const float highlight = gloss * std::pow(shine, shininess);
    return colour_add(colour_scale(base, 0.2f + 0.8f * facing), {highlight, highlight, highlight});
}

static Colour colour_unpack(uint32_t pixel)
{
    return {static_cast<float>(pixel >> 16 & 0xFF) / 255.0f, static_cast<float>(pixel >> 8 & 0xFF) / 255.0f,
            static_cast<float>(pixel & 0xFF) / 255.0f};
}

void canvas_draw_field(Canvas& canvas, int32_t left, int32_t top, const Field& coverage, int32_t scale,
                       const Shader& shade)
{
    const float samples = static_cast<float>(scale * scale);
    for (int32_t py = 0; py * scale < coverage.height; ++py)
        for (int32_t px = 0; px * scale < coverage.width; ++px) {
            Colour sum{0, 0, 0};
            float covered = 0.0f;
            for (int32_t sy = py * scale; sy < (py + 1) * scale; ++sy)
                for (int32_t sx = px * scale; sx < (px + 1) * scale; ++sx) {
                    const float weight = grid_get(coverage, sx, sy);
                    if (weight <= 0.0f)
                        continue;
                    sum = colour_add(sum, colour_scale(shade(sx, sy), weight));
                    covered += weight;
                }
            if (covered <= 0.0f)
                continue;
            const Colour old = colour_unpack(grid_get(canvas, left + px, top + py));
            const Colour blended =
                colour_add(colour_scale(old, 1.0f - covered / samples), colour_scale(sum, 1.0f / samples));
            const uint32_t pixel = colour_pack(blended);
            grid_set(canvas, left + px, top + py, pixel != 0 ? pixel : 0x010101u);
        }
}
