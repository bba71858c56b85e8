#include "raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "dds_writer.h"

namespace
{
float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

// Coverage of a pixel whose centre lies at signed distance d from a shape's edge (negative inside).
float coverage(float d)
{
    return clamp01(0.5f - d);
}

// The pixel range a shape with these bounds can touch, one pixel of anti-aliasing included.
struct PixelSpan
{
    int x0, y0, x1, y1;
};

PixelSpan spanOf(int width, int height, float left, float top, float right, float bottom)
{
    return {std::max(0, static_cast<int>(std::floor(left)) - 1),
            std::max(0, static_cast<int>(std::floor(top)) - 1),
            std::min(width, static_cast<int>(std::ceil(right)) + 1),
            std::min(height, static_cast<int>(std::ceil(bottom)) + 1)};
}

float distanceToSegment(float px, float py, float x0, float y0, float x1, float y1)
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((px - x0) * dx + (py - y0) * dy) / lengthSquared : 0.0f;
    t = clamp01(t);
    const float ex = px - (x0 + t * dx);
    const float ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// One box blur pass along rows (step 1) or columns (step width) of a mask's values.
void boxPass(std::vector<float>& values, int count, int lineLength, int lineStep, int pixelStep, int radius)
{
    std::vector<float> line(static_cast<std::size_t>(lineLength));
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int l = 0; l < count; ++l)
    {
        const std::size_t base = static_cast<std::size_t>(l * lineStep);
        for (int i = 0; i < lineLength; ++i)
            line[static_cast<std::size_t>(i)] = values[base + static_cast<std::size_t>(i * pixelStep)];
        float sum = 0;
        for (int i = 0; i <= radius && i < lineLength; ++i)
            sum += line[static_cast<std::size_t>(i)];
        for (int i = 0; i < lineLength; ++i)
        {
            values[base + static_cast<std::size_t>(i * pixelStep)] = sum * norm;
            const int enter = i + radius + 1;
            const int leave = i - radius;
            if (enter < lineLength)
                sum += line[static_cast<std::size_t>(enter)];
            if (leave >= 0)
                sum -= line[static_cast<std::size_t>(leave)];
        }
    }
}
} // namespace

Colour rgb(std::uint32_t hex, float alpha)
{
    return {static_cast<float>((hex >> 16) & 0xff) / 255.0f, static_cast<float>((hex >> 8) & 0xff) / 255.0f,
            static_cast<float>(hex & 0xff) / 255.0f, alpha};
}

Colour mix(const Colour& from, const Colour& to, float t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Colour shade(const Colour& colour, float factor)
{
    if (factor <= 1.0f)
        return {colour.r * factor, colour.g * factor, colour.b * factor, colour.a};
    const float t = clamp01(factor - 1.0f);
    return {colour.r + (1 - colour.r) * t, colour.g + (1 - colour.g) * t, colour.b + (1 - colour.b) * t,
            colour.a};
}

Mask::Mask(int width, int height)
    : mWidth(width), mHeight(height), mValues(static_cast<std::size_t>(width * height), 0.0f)
{
}

Mask& Mask::unite(const Mask& other)
{
    for (std::size_t i = 0; i < mValues.size(); ++i)
        mValues[i] = std::max(mValues[i], other.mValues[i]);
    return *this;
}

Mask& Mask::subtract(const Mask& other)
{
    for (std::size_t i = 0; i < mValues.size(); ++i)
        mValues[i] *= 1.0f - other.mValues[i];
    return *this;
}

Mask& Mask::intersect(const Mask& other)
{
    for (std::size_t i = 0; i < mValues.size(); ++i)
        mValues[i] *= other.mValues[i];
    return *this;
}

Mask& Mask::scale(float factor)
{
    for (float& v : mValues)
        v *= factor;
    return *this;
}

Mask Mask::shifted(int dx, int dy) const
{
    Mask result(mWidth, mHeight);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            const int sx = x - dx;
            const int sy = y - dy;
            if (sx >= 0 && sx < mWidth && sy >= 0 && sy < mHeight)
                result.at(x, y) = at(sx, sy);
        }
    return result;
}

Mask Mask::dilated(float radius) const
{
    Mask result(mWidth, mHeight);
    const int reach = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            float best = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= mWidth || sy >= mHeight)
                        continue;
                    // Neighbours near the rim of the disc count partly, which keeps the grown edge smooth.
                    const float weight =
                        clamp01(radius + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)));
                    best = std::max(best, at(sx, sy) * weight);
                }
            result.at(x, y) = best;
        }
    return result;
}

Mask Mask::blurred(int radius) const
{
    Mask result = *this;
    if (radius <= 0)
        return result;
    for (int pass = 0; pass < 3; ++pass)
    {
        boxPass(result.mValues, mHeight, mWidth, mWidth, 1, radius);
        boxPass(result.mValues, mWidth, mHeight, 1, mWidth, radius);
    }
    return result;
}

Mask roundedRect(int width, int height, const Rect& rect, float radius)
{
    Mask mask(width, height);
    radius = std::min({radius, rect.width() * 0.5f, rect.height() * 0.5f});
    const float cx = rect.centreX();
    const float cy = rect.centreY();
    const float hx = rect.width() * 0.5f - radius;
    const float hy = rect.height() * 0.5f - radius;
    const PixelSpan s = spanOf(width, height, rect.x0, rect.y0, rect.x1, rect.y1);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float qx = std::fabs(static_cast<float>(x) + 0.5f - cx) - hx;
            const float qy = std::fabs(static_cast<float>(y) + 0.5f - cy) - hy;
            const float ox = std::max(qx, 0.0f);
            const float oy = std::max(qy, 0.0f);
            const float d = std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
            mask.at(x, y) = coverage(d);
        }
    return mask;
}

Mask ellipse(int width, int height, float cx, float cy, float rx, float ry, float angle)
{
    Mask mask(width, height);
    const float c = std::cos(angle);
    const float sn = std::sin(angle);
    const float reach = std::max(rx, ry);
    const PixelSpan s = spanOf(width, height, cx - reach, cy - reach, cx + reach, cy + reach);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f - cx;
            const float py = static_cast<float>(y) + 0.5f - cy;
            // Into the ellipse's own axes.
            const float u = px * c + py * sn;
            const float v = -px * sn + py * c;
            // Distance estimate of an ellipse: k0 (k0 - 1) / k1, exact on the axes, close elsewhere.
            const float k0 = std::sqrt((u / rx) * (u / rx) + (v / ry) * (v / ry));
            const float k1 = std::sqrt((u / (rx * rx)) * (u / (rx * rx)) + (v / (ry * ry)) * (v / (ry * ry)));
            const float d = k1 > 0 ? k0 * (k0 - 1.0f) / k1 : -std::min(rx, ry);
            mask.at(x, y) = coverage(d);
        }
    return mask;
}

Mask segment(int width, int height, float x0, float y0, float x1, float y1, float thickness)
{
    Mask mask(width, height);
    const float half = thickness * 0.5f;
    const PixelSpan s = spanOf(width, height, std::min(x0, x1) - half, std::min(y0, y1) - half,
                               std::max(x0, x1) + half, std::max(y0, y1) + half);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float d =
                distanceToSegment(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, x0, y0, x1, y1);
            mask.at(x, y) = coverage(d - half);
        }
    return mask;
}

Mask polyline(int width, int height, const std::vector<float>& points, float thickness)
{
    if (points.size() < 4 || points.size() % 2 != 0)
        throw std::logic_error("raster: a polyline needs two or more x, y pairs");
    Mask mask(width, height);
    const float half = thickness * 0.5f;
    float left = points[0], right = points[0], top = points[1], bottom = points[1];
    for (std::size_t i = 0; i < points.size(); i += 2)
    {
        left = std::min(left, points[i]);
        right = std::max(right, points[i]);
        top = std::min(top, points[i + 1]);
        bottom = std::max(bottom, points[i + 1]);
    }
    const PixelSpan s = spanOf(width, height, left - half, top - half, right + half, bottom + half);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            float nearest = 1e9f;
            for (std::size_t i = 2; i < points.size(); i += 2)
                nearest = std::min(nearest, distanceToSegment(px, py, points[i - 2], points[i - 1], points[i],
                                                              points[i + 1]));
            mask.at(x, y) = coverage(nearest - half);
        }
    return mask;
}

Mask polygon(int width, int height, const std::vector<float>& points)
{
    if (points.size() < 6 || points.size() % 2 != 0)
        throw std::logic_error("raster: a polygon needs three or more x, y pairs");
    Mask mask(width, height);
    const std::size_t n = points.size() / 2;
    float left = points[0], right = points[0], top = points[1], bottom = points[1];
    for (std::size_t i = 0; i < n; ++i)
    {
        left = std::min(left, points[2 * i]);
        right = std::max(right, points[2 * i]);
        top = std::min(top, points[2 * i + 1]);
        bottom = std::max(bottom, points[2 * i + 1]);
    }
    const PixelSpan s = spanOf(width, height, left, top, right, bottom);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            float nearest = 1e9f;
            bool inside = false;
            for (std::size_t i = 0, j = n - 1; i < n; j = i++)
            {
                const float xi = points[2 * i], yi = points[2 * i + 1];
                const float xj = points[2 * j], yj = points[2 * j + 1];
                nearest = std::min(nearest, distanceToSegment(px, py, xi, yi, xj, yj));
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                    inside = !inside;
            }
            mask.at(x, y) = coverage(inside ? -nearest : nearest);
        }
    return mask;
}

Mask ring(int width, int height, float cx, float cy, float inner, float outer)
{
    Mask mask(width, height);
    const float middle = (inner + outer) * 0.5f;
    const float half = (outer - inner) * 0.5f;
    const PixelSpan s = spanOf(width, height, cx - outer, cy - outer, cx + outer, cy + outer);
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x)
        {
            const float dx = static_cast<float>(x) + 0.5f - cx;
            const float dy = static_cast<float>(y) + 0.5f - cy;
            mask.at(x, y) = coverage(std::fabs(std::sqrt(dx * dx + dy * dy) - middle) - half);
        }
    return mask;
}

Raster::Raster(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width * height * 4), 0.0f)
{
    if (width <= 0 || height <= 0)
        throw std::logic_error("raster: a picture needs a positive size");
}

void Raster::paint(const Mask& mask, const Paint& paint)
{
    if (mask.width() != mWidth || mask.height() != mHeight)
        throw std::logic_error("raster: mask and picture differ in size");
    Raster::paint(mask, 0, 0, paint);
}

void Raster::paint(const Mask& mask, int left, int top, const Paint& paint)
{
    const float span = paint.y1 - paint.y0;
    for (int y = std::max(0, top); y < std::min(mHeight, top + mask.height()); ++y)
    {
        const float t = span != 0 ? clamp01((static_cast<float>(y) + 0.5f - paint.y0) / span) : 0.0f;
        const Colour c = mix(paint.top, paint.bottom, t);
        for (int x = std::max(0, left); x < std::min(mWidth, left + mask.width()); ++x)
        {
            const float a = c.a * mask.at(x - left, y - top);
            if (a <= 0)
                continue;
            float* p = &mPixels[static_cast<std::size_t>((y * mWidth + x) * 4)];
            const float keep = 1.0f - a;
            p[0] = c.r * a + p[0] * keep;
            p[1] = c.g * a + p[1] * keep;
            p[2] = c.b * a + p[2] * keep;
            p[3] = a + p[3] * keep;
        }
    }
}

void Raster::draw(const Raster& other, int x, int y)
{
    for (int sy = 0; sy < other.mHeight; ++sy)
        for (int sx = 0; sx < other.mWidth; ++sx)
        {
            const int dx = x + sx;
            const int dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= mWidth || dy >= mHeight)
                continue;
            const float* s = &other.mPixels[static_cast<std::size_t>((sy * other.mWidth + sx) * 4)];
            float* d = &mPixels[static_cast<std::size_t>((dy * mWidth + dx) * 4)];
            const float keep = 1.0f - s[3];
            for (int k = 0; k < 4; ++k)
                d[k] = s[k] + d[k] * keep;
        }
}

std::vector<std::uint8_t> Raster::rgbaBytes() const
{
    const std::size_t count = static_cast<std::size_t>(mWidth * mHeight);
    std::vector<std::uint8_t> bytes(count * 4);
    for (std::size_t i = 0; i < count; ++i)
    {
        const float a = clamp01(mPixels[i * 4 + 3]);
        const auto alphaByte = static_cast<std::uint8_t>(std::lround(a * 255.0f));
        bytes[i * 4 + 3] = alphaByte;
        if (alphaByte == 0)
            continue;
        for (int k = 0; k < 3; ++k)
            bytes[i * 4 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(
                std::lround(clamp01(mPixels[i * 4 + static_cast<std::size_t>(k)] / a) * 255.0f));
    }
    return bytes;
}

std::vector<std::uint8_t> Raster::bledRgba() const
{
    const std::size_t count = static_cast<std::size_t>(mWidth * mHeight);
    std::vector<std::uint8_t> bytes = rgbaBytes();
    std::vector<bool> known(count, false);
    for (std::size_t i = 0; i < count; ++i)
        known[i] = bytes[i * 4 + 3] != 0;
    // Bleed colour a few pixels into the transparent area: the filter then blends an edge with its own
    // colour.
    for (int pass = 0; pass < 3; ++pass)
    {
        std::vector<bool> next = known;
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
            {
                const std::size_t i = static_cast<std::size_t>(y * mWidth + x);
                if (known[i])
                    continue;
                int sum[3] = {0, 0, 0};
                int found = 0;
                for (int ny = std::max(0, y - 1); ny <= std::min(mHeight - 1, y + 1); ++ny)
                    for (int nx = std::max(0, x - 1); nx <= std::min(mWidth - 1, x + 1); ++nx)
                    {
                        const std::size_t j = static_cast<std::size_t>(ny * mWidth + nx);
                        if (!known[j])
                            continue;
                        for (int k = 0; k < 3; ++k)
                            sum[k] += bytes[j * 4 + static_cast<std::size_t>(k)];
                        ++found;
                    }
                if (found == 0)
                    continue;
                for (int k = 0; k < 3; ++k)
                    bytes[i * 4 + static_cast<std::size_t>(k)] =
                        static_cast<std::uint8_t>((sum[k] + found / 2) / found);
                next[i] = true;
            }
        known = std::move(next);
    }
    return bytes;
}

std::string Raster::encodeDds(Mipmaps mipmaps) const
{
    const std::vector<std::uint8_t> bytes = bledRgba();
    return encodeDdsRgba(bytes.data(), mWidth, mHeight, mipmaps);
}
