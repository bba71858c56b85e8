#include "decor/picture_outline.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace
{
struct Point
{
    double x = 0, y = 0;

    bool operator<(const Point& other) const { return x < other.x || (x == other.x && y < other.y); }
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

// Positive when o, a, b turn one way (counter-clockwise with y up), negative the other, zero in line.
double turn(const Point& o, const Point& a, const Point& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Each row's leftmost and rightmost visible texel, grown by half a texel, as the corners a filtered draw
// reaches: the hull of these holds every visible texel's.
std::vector<Point> reachedCorners(const AlphaGrid& picture)
{
    std::vector<Point> corners;
    for (int y = 0; y < picture.height; ++y)
    {
        int left = 0;
        while (left < picture.width && picture.at(left, y) == 0)
            ++left;
        if (left == picture.width)
            continue;
        int right = picture.width - 1;
        while (picture.at(right, y) == 0)
            --right;
        for (const double cornerX : {left - 0.5, right + 1.5})
            for (const double cornerY : {y - 0.5, y + 1.5})
                corners.push_back({cornerX, cornerY});
    }
    return corners;
}

// Andrew's monotone chain; no three corners in line.
std::vector<Point> convexHull(std::vector<Point> points)
{
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    std::vector<Point> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
    {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;)
    {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

// Where the edge a-b, carried on past b, meets the edge d-c carried on past c; none if they part.
std::optional<Point> meetingBeyond(const Point& a, const Point& b, const Point& c, const Point& d)
{
    const double denominator = (b.x - a.x) * (c.y - d.y) - (b.y - a.y) * (c.x - d.x);
    if (std::fabs(denominator) < 1e-12)
        return std::nullopt;
    const double t = ((d.x - a.x) * (c.y - d.y) - (d.y - a.y) * (c.x - d.x)) / denominator;
    const double s = ((b.x - a.x) * (d.y - a.y) - (b.y - a.y) * (d.x - a.x)) / -denominator;
    if (t < 1 || s < 1)
        return std::nullopt;
    return Point{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// Drops edges, each time the one whose neighbours, carried on to meet, add the least area, until `corners`
// remain or no edge can go. The polygon only grows, so it still holds what it held.
void reduceCorners(std::vector<Point>& polygon, std::size_t corners)
{
    while (polygon.size() > corners)
    {
        const std::size_t n = polygon.size();
        std::optional<Point> best;
        std::size_t bestEdge = 0;
        double bestArea = 0;
        for (std::size_t i = 0; i < n; ++i)
        {
            const Point& b = polygon[i];
            const Point& c = polygon[(i + 1) % n];
            const std::optional<Point> q =
                meetingBeyond(polygon[(i + n - 1) % n], b, c, polygon[(i + 2) % n]);
            const double area = q ? std::fabs(turn(b, *q, c)) / 2 : 0;
            if (q && (!best || area < bestArea))
            {
                best = q;
                bestEdge = i;
                bestArea = area;
            }
        }
        if (!best)
            return;
        polygon[bestEdge] = *best;
        polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>((bestEdge + 1) % n));
    }
}

// The part of a convex polygon on the side of one box edge where `inside` holds (Sutherland and Hodgman).
std::vector<Point> clipped(const std::vector<Point>& polygon,
                           const std::function<double(const Point&)>& inside)
{
    std::vector<Point> kept;
    for (std::size_t i = 0; i < polygon.size(); ++i)
    {
        const Point& from = polygon[(i + polygon.size() - 1) % polygon.size()];
        const Point& to = polygon[i];
        const double a = inside(from), b = inside(to);
        if ((a >= 0) != (b >= 0))
        {
            const double t = a / (a - b);
            kept.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
        }
        if (b >= 0)
            kept.push_back(to);
    }
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    if (kept.size() > 1 && kept.front() == kept.back())
        kept.pop_back();
    return kept;
}
} // namespace

std::vector<OutlineCorner> visibleOutline(const AlphaGrid& picture, int maxCorners)
{
    std::vector<Point> polygon = convexHull(reachedCorners(picture));
    if (polygon.empty())
        return {};
    reduceCorners(polygon, static_cast<std::size_t>(std::max(3, maxCorners)));
    const CutoutStrip box = visibleTexels(picture);
    polygon = clipped(polygon, [&](const Point& p) { return p.x - box.x0; });
    polygon = clipped(polygon, [&](const Point& p) { return box.x1 - p.x; });
    polygon = clipped(polygon, [&](const Point& p) { return p.y - box.y0; });
    polygon = clipped(polygon, [&](const Point& p) { return box.y1 - p.y; });
    std::vector<OutlineCorner> outline;
    for (const Point& p : polygon)
        outline.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
    return outline;
}
