#include "hit_areas.h"

#include "form_rules.h"
#include "layout_table.h"

#include <algorithm>
#include <cmath>

FormBox formBoxOf(const ControlSpec &c)
{
    return {{twipsToPixels(c.left), twipsToPixels(c.top)},
            {twipsToPixels(c.left + c.width), twipsToPixels(c.top + c.height)}};
}

namespace {

const FormBox Form{{0, 0}, {twipsToPixels(FormWidthTwips), twipsToPixels(FormHeightTwips)}};

// How far apart two boxes are along an axis; negative where they overlap on it.
double gap(const FormBox &a, const FormBox &b, int axis)
{
    return std::max(b.lo[axis] - a.hi[axis], a.lo[axis] - b.hi[axis]);
}

bool overlap(const FormBox &a, const FormBox &b)
{
    return gap(a, b, 0) < 0 && gap(a, b, 1) < 0;
}

// How far an area can move back (-1) or on (+1) along an axis, still holding
// its control and within the form.
double room(const HitArea &hit, int axis, int direction)
{
    const FormBox &a = hit.area;
    const FormBox &c = hit.control;
    const double free = direction < 0 ? std::min(a.lo[axis] - Form.lo[axis], a.hi[axis] - c.hi[axis])
                                      : std::min(Form.hi[axis] - a.hi[axis], c.lo[axis] - a.lo[axis]);
    return std::max(free, 0.0);
}

void move(HitArea &hit, int axis, double by)
{
    hit.area.lo[axis] += by;
    hit.area.hi[axis] += by;
}

// The control grown about its centre to `side` where it is smaller, then
// moved into the form as far as it still holds the control.
HitArea grown(const ControlSpec &row, double side)
{
    HitArea hit{row.name, formBoxOf(row), formBoxOf(row)};
    for (int axis = 0; axis < 2; ++axis) {
        const double extra = std::max(side - (hit.area.hi[axis] - hit.area.lo[axis]), 0.0);
        hit.area.lo[axis] -= extra / 2;
        hit.area.hi[axis] += extra / 2;
        move(hit, axis, std::min(std::max(Form.lo[axis] - hit.area.lo[axis], 0.0), room(hit, axis, +1)));
        move(hit, axis, -std::min(std::max(hit.area.hi[axis] - Form.hi[axis], 0.0), room(hit, axis, -1)));
        hit.area.lo[axis] = std::max(hit.area.lo[axis], Form.lo[axis]);
        hit.area.hi[axis] = std::min(hit.area.hi[axis], Form.hi[axis]);
    }
    return hit;
}

// Two overlapping areas move apart along the axis on which their controls
// are apart, each half the way where it can, the other the rest; what still
// overlaps then, or all of it when they may not move, is split halfway.
void separate(HitArea &a, HitArea &b, bool mayMove)
{
    const int axis = gap(a.control, b.control, 0) >= gap(a.control, b.control, 1) ? 0 : 1;
    HitArea &first = a.control.lo[axis] <= b.control.lo[axis] ? a : b;
    HitArea &second = &first == &a ? b : a;
    const double overlapping = first.area.hi[axis] - second.area.lo[axis];
    if (mayMove) {
        double back = std::min(overlapping / 2, room(first, axis, -1));
        const double on = std::min(overlapping - back, room(second, axis, +1));
        back = std::min(overlapping - on, room(first, axis, -1));
        move(first, axis, -back);
        move(second, axis, on);
    }
    if (first.area.hi[axis] > second.area.lo[axis]) {
        const double split = std::clamp((first.area.hi[axis] + second.area.lo[axis]) / 2,
                                        first.control.hi[axis], second.control.lo[axis]);
        first.area.hi[axis] = split;
        second.area.lo[axis] = split;
    }
}

bool separateAll(std::vector<HitArea> &hits, bool mayMove)
{
    bool moved = false;
    for (std::size_t i = 0; i < hits.size(); ++i)
        for (std::size_t j = i + 1; j < hits.size(); ++j)
            if (overlap(hits[i].area, hits[j].area)) {
                separate(hits[i], hits[j], mayMove);
                moved = true;
            }
    return moved;
}

// Moving one pair apart can push one of them into a third; rounds settle a
// row or a column, each round about halving what still overlaps. A last
// round shares out whatever they left.
constexpr int Rounds = 64;

} // namespace

double fingerSide()
{
    return std::ceil(FingerCssPixels * twipsToPixels(FormWidthTwips) / PhoneWidthCssPixels);
}

std::vector<HitArea> hitAreas(double side)
{
    std::vector<HitArea> hits;
    for (const ControlSpec &row : formControls())
        if (takesFocus(row.kind))
            hits.push_back(grown(row, side));
    for (int round = 0; round < Rounds && separateAll(hits, true); ++round) {
    }
    separateAll(hits, false);
    return hits;
}
