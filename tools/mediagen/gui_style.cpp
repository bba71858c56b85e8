#include "gui_style.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gui
{
namespace
{
constexpr float pi = 3.14159265358979f;
// Height of a button's lip: the face sits this far above the body's bottom edge.
constexpr float lipPixels = 6;

int whole(float v)
{
    return static_cast<int>(std::lround(v));
}
} // namespace

void drawTextAt(Raster& picture, FontFace& font, const std::string& text, float x, float baseline,
                const TextStyle& style, const Lettering& lettering)
{
    const int w = picture.width();
    const int h = picture.height();
    const TextBounds ink = font.measure(text, style);
    const Mask outline = font.render(w, h, text, style, x, baseline, lettering.outlineWidth);
    const Mask rim =
        lettering.rimWidth > 0 ? font.render(w, h, text, style, x, baseline, lettering.rimWidth) : outline;
    if (lettering.shadow.a > 0)
        picture.paint(rim.shifted(whole(lettering.shadowOffset * 0.5f), whole(lettering.shadowOffset))
                          .blurred(lettering.shadowBlur),
                      lettering.shadow);
    if (lettering.rimWidth > 0)
        picture.paint(rim, lettering.rim);
    if (lettering.outlineWidth > 0)
        picture.paint(outline, lettering.outline);
    picture.paint(
        font.render(w, h, text, style, x, baseline),
        Paint::vertical(lettering.fillTop, lettering.fillBottom, baseline + ink.top, baseline + ink.bottom));
}

Rect drawText(Raster& picture, FontFace& font, const std::string& text, const Rect& box, float maxSize,
              const Lettering& lettering)
{
    TextStyle style{maxSize, 1.0f, lettering.tracking};
    TextBounds ink = font.measure(text, style, std::max(lettering.outlineWidth, lettering.rimWidth));
    for (int attempt = 0; attempt < 60; ++attempt)
    {
        const bool tooWide = ink.width() > box.width();
        if (!tooWide && ink.height() <= box.height())
            break;
        if (tooWide && style.xScale > 0.851f)
            style.xScale = std::max(0.85f, style.xScale * box.width() / ink.width());
        else
            style.pixelSize *= 0.96f;
        ink = font.measure(text, style, std::max(lettering.outlineWidth, lettering.rimWidth));
    }
    const float x = box.centreX() - (ink.left + ink.right) * 0.5f;
    const float baseline = box.centreY() - (ink.top + ink.bottom) * 0.5f;
    drawTextAt(picture, font, text, x, baseline, style, lettering);
    return {x + ink.left, baseline + ink.top, x + ink.right, baseline + ink.bottom};
}

Rect drawButtonBody(Raster& picture, const Rect& body, float radius, const ButtonColours& colours, Look look)
{
    const int w = picture.width();
    const int h = picture.height();
    Rect face{body.x0, body.y0, body.x1, body.y1 - lipPixels};
    Colour top = colours.top;
    Colour bottom = colours.bottom;
    Colour border = colours.border;
    float borderWidth = 3;
    if (look == Look::Over)
    {
        // Selection must read at a glance: a bright halo, a thicker white rim and a livelier face.
        const Mask halo = roundedRect(w, h, body.grown(5), radius + 5).blurred(3);
        picture.paint(halo, rgb(0xffc81a));
        picture.paint(halo, rgb(0xffe23a));
        picture.paint(roundedRect(w, h, body.grown(2), radius + 2).blurred(1), rgb(0xfffbd0, 0.9f));
        top = shade(top, 1.22f);
        bottom = shade(bottom, 1.1f);
        border = rgb(0xffffff);
        borderWidth = 4;
    }
    else if (look == Look::Pressed)
    {
        face = face.moved(0, lipPixels - 1);
        top = shade(top, 0.82f);
        bottom = shade(bottom, 0.78f);
    }
    const float shadowDrop = look == Look::Pressed ? 1.0f : 3.0f;
    picture.paint(roundedRect(w, h, body.moved(0, shadowDrop), radius).blurred(3), rgb(0x000000, 0.4f));
    Mask silhouette = roundedRect(w, h, face.grown(borderWidth), radius + borderWidth);
    silhouette.unite(roundedRect(
        w, h, Rect{face.x0, face.y0 + lipPixels, face.x1, body.y1}.grown(borderWidth), radius + borderWidth));
    picture.paint(silhouette, border);
    if (look != Look::Pressed)
        picture.paint(roundedRect(w, h, face.moved(0, lipPixels), radius), colours.lip);
    const Mask faceMask = roundedRect(w, h, face, radius);
    picture.paint(faceMask, Paint::vertical(top, bottom, face.y0, face.y1));
    // Gloss: a soft highlight over the upper half of the face.
    Mask gloss = ellipse(w, h, face.centreX(), face.y0 + face.height() * 0.18f, face.width() * 0.46f,
                         face.height() * 0.34f);
    gloss.intersect(roundedRect(w, h, face.grown(-3), radius - 3));
    picture.paint(gloss,
                  Paint::vertical(rgb(0xffffff, 0.55f), rgb(0xffffff, 0.05f), face.y0, face.centreY()));
    return face;
}

void drawPlate(Raster& picture, const Rect& rect, float radius, const Colour& top, const Colour& bottom,
               const Colour& border, float borderWidth)
{
    const int w = picture.width();
    const int h = picture.height();
    const Mask inner = roundedRect(w, h, rect.grown(-borderWidth), std::max(1.0f, radius - borderWidth));
    Mask ringMask = roundedRect(w, h, rect, radius);
    ringMask.subtract(inner);
    picture.paint(ringMask, border);
    picture.paint(inner, Paint::vertical(top, bottom, rect.y0, rect.y1));
}

namespace
{
std::vector<float> starPoints(float cx, float cy, float r, float angle)
{
    std::vector<float> points;
    for (int i = 0; i < 10; ++i)
    {
        const float radius = i % 2 == 0 ? r : r * 0.47f;
        const float a = angle - pi / 2 + static_cast<float>(i) * pi / 5;
        points.push_back(cx + radius * std::cos(a));
        points.push_back(cy + radius * std::sin(a));
    }
    return points;
}
} // namespace

void drawStar(Raster& picture, float cx, float cy, float r, float angle, const Colour& fill,
              const Colour& outline)
{
    const int w = picture.width();
    const int h = picture.height();
    const float edge = std::max(1.5f, r * 0.12f);
    picture.paint(polygon(w, h, starPoints(cx, cy, r + edge * 1.6f, angle)), outline);
    const Mask body = polygon(w, h, starPoints(cx, cy, r, angle));
    picture.paint(body, Paint::vertical(shade(fill, 1.4f), fill, cy - r, cy + r));
}

void drawCrown(Raster& picture, float cx, float baseY, float w)
{
    const int pw = picture.width();
    const int ph = picture.height();
    const float x0 = cx - w / 2;
    const float x1 = cx + w / 2;
    const float hgt = w * 0.62f;
    const std::vector<float> points{x0,
                                    baseY,
                                    x0 - w * 0.04f,
                                    baseY - hgt,
                                    x0 + w * 0.25f,
                                    baseY - hgt * 0.45f,
                                    cx,
                                    baseY - hgt * 1.1f,
                                    x1 - w * 0.25f,
                                    baseY - hgt * 0.45f,
                                    x1 + w * 0.04f,
                                    baseY - hgt,
                                    x1,
                                    baseY};
    const Colour outline = rgb(0x6b3d00);
    const Colour gold = rgb(0xffc928);
    Mask edge = polygon(pw, ph, points);
    edge.unite(ellipse(pw, ph, x0 - w * 0.04f, baseY - hgt, w * 0.1f, w * 0.1f));
    edge.unite(ellipse(pw, ph, cx, baseY - hgt * 1.1f, w * 0.1f, w * 0.1f));
    edge.unite(ellipse(pw, ph, x1 + w * 0.04f, baseY - hgt, w * 0.1f, w * 0.1f));
    const Mask outlined = edge.dilated(2.5f);
    picture.paint(outlined.shifted(0, 2).blurred(1), rgb(0x000000, 0.35f));
    picture.paint(outlined, outline);
    picture.paint(edge, Paint::vertical(rgb(0xfff3a0), gold, baseY - hgt, baseY));
    picture.paint(ellipse(pw, ph, cx, baseY - hgt * 0.3f, w * 0.08f, w * 0.08f), rgb(0xe8344a));
}

namespace
{
struct FaceColours
{
    Colour outline, face, faceShadow, ear, innerEar, muzzle, nose, eye, patch, cheek;
};

FaceColours faceColours(bool panda)
{
    if (panda)
        return {rgb(0x1c1c22), rgb(0xffffff), rgb(0xdfe3ea), rgb(0x22222a), rgb(0x55555f),
                rgb(0xffffff), rgb(0x1c1c22), rgb(0x111116), rgb(0x22222a), rgb(0xff8fa0, 0.55f)};
    return {rgb(0x3b200c), rgb(0xb56e33), rgb(0x8f5222), rgb(0x9a5a26),       rgb(0xf0c29a),
            rgb(0xf6dcb6), rgb(0x3b200c), rgb(0x24130a), rgb(0x000000, 0.0f), rgb(0xff8a80, 0.5f)};
}
} // namespace

void drawBearFace(Raster& picture, float cx, float cy, float r, bool panda)
{
    const int w = picture.width();
    const int h = picture.height();
    const FaceColours c = faceColours(panda);
    const float edge = std::max(1.5f, r * 0.07f);
    const float earX = r * 0.74f;
    const float earY = cy - r * 0.68f;
    const float earR = r * 0.36f;
    const float faceCy = cy + r * 0.06f;
    Mask silhouette = ellipse(w, h, cx, faceCy, r + edge, r * 0.9f + edge);
    for (const float side : {-1.0f, 1.0f})
        silhouette.unite(ellipse(w, h, cx + side * earX, earY, earR + edge, earR + edge));
    picture.paint(silhouette.shifted(0, whole(r * 0.08f)).blurred(std::max(1, whole(r * 0.06f))),
                  rgb(0x000000, 0.35f));
    picture.paint(silhouette, c.outline);
    for (const float side : {-1.0f, 1.0f})
    {
        picture.paint(ellipse(w, h, cx + side * earX, earY, earR, earR), c.ear);
        picture.paint(ellipse(w, h, cx + side * earX * 0.97f, earY + r * 0.03f, earR * 0.55f, earR * 0.55f),
                      c.innerEar);
    }
    picture.paint(ellipse(w, h, cx, faceCy, r, r * 0.9f),
                  Paint::vertical(c.face, c.faceShadow, faceCy - r * 0.2f, faceCy + r * 0.95f));
    const float eyeX = r * 0.36f;
    const float eyeY = cy - r * 0.06f;
    for (const float side : {-1.0f, 1.0f})
    {
        if (panda)
            picture.paint(
                ellipse(w, h, cx + side * eyeX * 1.05f, eyeY + r * 0.04f, r * 0.2f, r * 0.27f, side * 0.55f),
                c.patch);
        picture.paint(ellipse(w, h, cx + side * r * 0.62f, cy + r * 0.3f, r * 0.14f, r * 0.09f), c.cheek);
        const float ex = cx + side * eyeX;
        if (panda)
            picture.paint(ellipse(w, h, ex, eyeY, r * 0.095f, r * 0.115f), rgb(0xffffff));
        picture.paint(ellipse(w, h, ex, eyeY + (panda ? r * 0.01f : 0.0f), r * 0.075f, r * 0.1f), c.eye);
        picture.paint(ellipse(w, h, ex + r * 0.03f, eyeY - r * 0.04f, r * 0.03f, r * 0.03f), rgb(0xffffff));
    }
    const float muzzleY = cy + r * 0.4f;
    picture.paint(ellipse(w, h, cx, muzzleY, r * 0.44f + edge * 0.6f, r * 0.32f + edge * 0.6f),
                  panda ? rgb(0xc9ced8) : shade(c.face, 0.8f));
    picture.paint(ellipse(w, h, cx, muzzleY, r * 0.44f, r * 0.32f), c.muzzle);
    picture.paint(ellipse(w, h, cx, muzzleY - r * 0.12f, r * 0.16f, r * 0.11f), c.nose);
    picture.paint(ellipse(w, h, cx - r * 0.04f, muzzleY - r * 0.16f, r * 0.05f, r * 0.03f),
                  rgb(0xffffff, 0.7f));
    // The smile: two small arcs under the nose.
    const float lip = std::max(1.2f, r * 0.045f);
    picture.paint(segment(w, h, cx, muzzleY - r * 0.02f, cx, muzzleY + r * 0.08f, lip), c.nose);
    for (const float side : {-1.0f, 1.0f})
    {
        Mask arc = ring(w, h, cx + side * r * 0.1f, muzzleY + r * 0.05f, r * 0.1f - lip * 0.5f,
                        r * 0.1f + lip * 0.5f);
        arc.intersect(roundedRect(w, h, Rect{cx - r, muzzleY + r * 0.06f, cx + r, muzzleY + r}, 0));
        picture.paint(arc, c.nose);
    }
}

} // namespace gui
