#pragma once

// What a level says about a plank beyond its place and length: its kind (the picture and the log's colours)
// and, for planks that turn, which side of the plank the axle holds. The level reader makes these from the
// record's words; the platforms and the level tools take them from here.

enum class PlankKind
{
    box,   // a plain crate plank
    log,   // "tronc": shows who stands on it when it moves
    ground // "terra": a slab of earth
};

// The axle of a turning plank, seen from the plank. The camera looks along +z, so +x is screen-left.
enum class AxleSide
{
    centre, // the plank turns about its middle
    left,   // "L": the plank's centre sits a quarter of its length towards -x from the axle
    right   // "R": a quarter of its length towards +x
};

// Box2D cannot build a plank shorter than this (world units).
constexpr int minPlankLength = 1;

// x offset of the plank's centre from its axle, in world units: a quarter of the length, rounded towards
// zero, to the side's side.
constexpr int plankCentreOffset(AxleSide side, int length)
{
    return side == AxleSide::left ? -(length / 4) : side == AxleSide::right ? length / 4 : 0;
}
