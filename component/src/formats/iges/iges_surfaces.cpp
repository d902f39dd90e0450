#include "formats/iges/iges_surfaces.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvex::formats::iges {

namespace {

constexpr int kMaxIsoLines = 10;
constexpr int kMaxDepth = 16;

int pointer_of(double x) { return x > -2147483649.0 && x < 2147483648.0 ? static_cast<int>(x) : 0; }

// A count field: its integer part, 0 when not positive, at most `limit`.
std::size_t count_of(double x, std::size_t limit)
{
    if (!(x > 0))
        return 0;
    return x < static_cast<double>(limit) ? static_cast<std::size_t>(x) : limit;
}

bool is_identity(const Matrix& m)
{
    const Matrix one;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            if (m.m[i][j] != one.m[i][j])
                return false;
    return true;
}

double value(const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0; }

bool is_plain_surface(int type)
{
    return type == 114 || type == 118 || type == 120 || type == 122 || type == 128 || type == 140;
}

double box_size(const std::vector<Vec3>& points)
{
    Vec3 low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
    for (const Vec3& p : points)
        for (std::size_t i = 0; i < 3; ++i)
            low[i] = std::min(low[i], p[i]), high[i] = std::max(high[i], p[i]);
    double size = 0;
    for (std::size_t i = 0; i < 3; ++i)
        size = std::max(size, high[i] - low[i]);
    return size;
}

} // namespace

bool is_surface_kind(int type)
{
    return type == 108 || is_plain_surface(type) || type == 142 || type == 143 || type == 144 || type == 186 ||
           type == 514;
}

void parts_of(int type, const std::vector<double>& v, std::vector<int>& parts)
{
    parts.clear();
    auto add = [&](std::size_t i) {
        if (i < v.size() && pointer_of(v[i]) > 0)
            parts.push_back(pointer_of(v[i]));
    };
    switch (type) {
    case 140:
        add(4);
        break;
    case 142:
        add(1);
        break;
    case 141:
        add(2);
        break;
    case 143: {
        add(1);
        const std::size_t n = count_of(value(v, 2), v.size());
        for (std::size_t i = 0; i < n; ++i)
            add(3 + i);
        break;
    }
    case 144: {
        add(0);
        add(3);
        const std::size_t n = count_of(value(v, 2), v.size());
        for (std::size_t i = 0; i < n; ++i)
            add(4 + i);
        break;
    }
    case 186: {
        add(0);
        const std::size_t n = count_of(value(v, 2), v.size());
        for (std::size_t i = 0; i < n; ++i)
            add(3 + 2 * i);
        break;
    }
    case 514: {
        const std::size_t n = count_of(value(v, 0), v.size());
        for (std::size_t i = 0; i < n; ++i)
            add(1 + 2 * i);
        break;
    }
    case 510: {
        add(0);
        const std::size_t n = count_of(value(v, 1), v.size());
        for (std::size_t i = 0; i < n; ++i)
            add(3 + i);
        break;
    }
    case 508: {
        const std::size_t n = count_of(value(v, 0), v.size());
        std::size_t at = 1;
        for (std::size_t i = 0; i < n && at + 4 < v.size(); ++i) {
            add(at + 1);
            at += 5 + 2 * count_of(v[at + 4], v.size());
        }
        break;
    }
    default:
        break;
    }
}

void defining_curves_of(int type, const std::vector<double>& v, std::vector<int>& curves)
{
    curves.clear();
    if (type == 118) {
        for (std::size_t i = 0; i < 2 && i < v.size(); ++i)
            curves.push_back(pointer_of(v[i]));
    } else if (type == 508) {
        const std::size_t n = count_of(value(v, 0), v.size());
        std::size_t at = 1;
        for (std::size_t i = 0; i < n && at + 4 < v.size(); ++i) {
            const std::size_t k = count_of(v[at + 4], v.size());
            for (std::size_t j = 0; j < k && at + 6 + 2 * j < v.size(); ++j)
                curves.push_back(pointer_of(v[at + 6 + 2 * j]));
            at += 5 + 2 * k;
        }
    }
}

SurfaceDrawer::SurfaceDrawer(EntityLookup lookup, std::function<bool(int)> drawnOnItsOwn, WorldShapes& shapes,
                             const SurfaceOptions& options)
    : lookup_(std::move(lookup)), drawnOnItsOwn_(std::move(drawnOnItsOwn)), shapes_(shapes), options_(options)
{
    options_.IsoLines = std::clamp(options_.IsoLines, 0, kMaxIsoLines);
}

bool SurfaceDrawer::draw(int sequence, int type, const ShapeStyle& style, const std::string& name)
{
    const GeometryEntity* e = lookup_(sequence);
    if (e == nullptr)
        return false;
    shapes_.begin_budget(name + " at directory entry " + std::to_string(sequence) + " reached its limit of " +
                             std::to_string(kMaxChords) + " chords; the rest is drawn coarser",
                         kMaxChords);
    bool made = false;
    switch (type) {
    case 108:
        // A bounded plane (form 1, or -1 for a hole) is drawn by its curve.
        made = e->Form != 0 && model_curve(pointer_of(value(e->Values, 4)), style);
        break;
    case 142:
        made = curve_on_surface(sequence, style);
        break;
    case 143:
        made = bounded(*e, style);
        break;
    case 144:
        made = trimmed(*e, style);
        break;
    case 186: {
        made = shell(pointer_of(value(e->Values, 0)), style);
        const std::size_t n = count_of(value(e->Values, 2), e->Values.size());
        for (std::size_t i = 0; i < n; ++i)
            made = shell(pointer_of(value(e->Values, 3 + 2 * i)), style) || made;
        break;
    }
    case 514:
        made = shell(sequence, style);
        break;
    default:
        if (const auto patch = surface_patch(*e, lookup_)) {
            patch_edges(*patch, style);
            iso_lines(*patch, nullptr, style);
            made = true;
        }
        break;
    }
    shapes_.end_budget();
    return made;
}

// A curve in model space, unless the import draws it anyway or it was drawn
// through another surface already.
bool SurfaceDrawer::model_curve(int pointer, const ShapeStyle& style, int depth)
{
    const GeometryEntity* e = lookup_(pointer);
    if (e == nullptr || depth > kMaxDepth)
        return false;
    if (e->Type == 142)
        return curve_on_surface(pointer, style);
    if (e->Type == 102 && is_identity(e->Placement)) {
        if (!drawn_.insert(pointer).second)
            return true; // a composite curve met again (or inside itself)
        // The import draws a composite curve's members on their own; those
        // it leaves out (blanked, say) are drawn here.
        bool made = false;
        const std::size_t n = count_of(value(e->Values, 0), e->Values.size());
        for (std::size_t i = 1; i <= n && i < e->Values.size(); ++i)
            made = model_curve(pointer_of(e->Values[i]), style, depth + 1) || made;
        return made;
    }
    if (drawnOnItsOwn_(pointer))
        return true;
    if (!drawn_.insert(pointer).second)
        return true;
    const std::vector<CurvePiece> pieces = curve_pieces(*e, lookup_);
    for (const CurvePiece& p : pieces)
        shapes_.curve(p.At, p.T0, p.T1, p.Pieces, p.Hull, style);
    return !pieces.empty();
}

std::optional<SurfacePatch> SurfaceDrawer::patch_of(int pointer)
{
    const GeometryEntity* e = lookup_(pointer);
    if (e == nullptr || !is_plain_surface(e->Type))
        return std::nullopt;
    return surface_patch(*e, lookup_);
}

// A curve on a surface (142): its model-space curve where the file holds
// one, else (or where the file prefers it) its parameter-space curve mapped
// through the surface.
bool SurfaceDrawer::curve_on_surface(int pointer, const ShapeStyle& style)
{
    const GeometryEntity* e = lookup_(pointer);
    if (e == nullptr || e->Type != 142 || !drawn_.insert(pointer).second)
        return e != nullptr;
    const int surface = pointer_of(value(e->Values, 1)), parameter = pointer_of(value(e->Values, 2));
    const int model = pointer_of(value(e->Values, 3));
    const bool hasModel = lookup_(model) != nullptr, hasParameter = lookup_(parameter) != nullptr;
    const bool preferParameter = value(e->Values, 4) == 1 || options_.ParameterSpaceTrims;
    if (hasParameter && (!hasModel || preferParameter)) {
        if (const auto patch = patch_of(surface)) {
            mapped_curve(parameter, *patch, style);
            return true;
        }
    }
    return hasModel && model_curve(model, style);
}

void SurfaceDrawer::mapped_curve(int pointer, const SurfacePatch& patch, const ShapeStyle& style)
{
    const GeometryEntity* e = lookup_(pointer);
    if (e == nullptr)
        return;
    for (const CurvePiece& p : curve_pieces(*e, lookup_)) {
        auto at = [surface = patch.At, curve = p.At](double t) {
            const Vec3 uv = curve(t);
            return surface(uv[0], uv[1]);
        };
        std::vector<Vec3> hull;
        const int samples = 4 * p.Pieces;
        for (int i = 0; i <= samples; ++i)
            hull.push_back(at(p.T0 + (p.T1 - p.T0) * i / samples));
        shapes_.curve(at, p.T0, p.T1, p.Pieces, hull, style);
    }
}

// The four parameter edges of a patch, leaving out those that shrink to a
// point (a cone's apex) and those that another edge already covers (the
// seam of a closed surface).
void SurfaceDrawer::patch_edges(const SurfacePatch& patch, const ShapeStyle& style)
{
    struct Edge {
        bool alongU; // u runs, v fixed
        double fixed;
    };
    const Edge edges[4] = {{true, patch.V0}, {true, patch.V1}, {false, patch.U0}, {false, patch.U1}};
    constexpr int kSamples = 4;
    const double eps = 1e-7 * std::max(box_size(patch.Hull), 1e-12);
    std::vector<std::array<Vec3, kSamples + 1>> kept;
    for (const Edge& edge : edges) {
        const double t0 = edge.alongU ? patch.U0 : patch.V0, t1 = edge.alongU ? patch.U1 : patch.V1;
        const std::function<Vec3(double)> at = patch.iso(edge.alongU, edge.fixed);
        std::array<Vec3, kSamples + 1> samples;
        double reach = 0;
        for (int i = 0; i <= kSamples; ++i) {
            samples[static_cast<std::size_t>(i)] = at(t0 + (t1 - t0) * i / kSamples);
            reach = std::max(reach, norm(samples[static_cast<std::size_t>(i)] - samples[0]));
        }
        if (!(reach > eps))
            continue;
        const bool repeated = std::any_of(kept.begin(), kept.end(), [&](const auto& other) {
            bool same = true, reversed = true;
            for (std::size_t i = 0; i <= kSamples; ++i) {
                same = same && norm(other[i] - samples[i]) <= eps;
                reversed = reversed && norm(other[kSamples - i] - samples[i]) <= eps;
            }
            return same || reversed;
        });
        if (repeated)
            continue;
        kept.push_back(samples);
        shapes_.curve(at, t0, t1, edge.alongU ? patch.PiecesU : patch.PiecesV, patch.Hull, style);
    }
}

// Iso-parameter lines at equal steps inside the patch, each cut to the
// parts inside the trimming loops (even-odd) when there are loops.
void SurfaceDrawer::iso_lines(const SurfacePatch& patch, const std::vector<Loop>* loops, const ShapeStyle& style)
{
    const int n = options_.IsoLines;
    for (int direction = 0; direction < 2; ++direction) {
        const bool fixedU = direction == 0; // lines of constant u run along v
        const double a0 = fixedU ? patch.U0 : patch.V0, a1 = fixedU ? patch.U1 : patch.V1;
        const double b0 = fixedU ? patch.V0 : patch.U0, b1 = fixedU ? patch.V1 : patch.U1;
        for (int i = 1; i <= n; ++i) {
            const double c = a0 + (a1 - a0) * i / (n + 1);
            std::vector<double> cuts;
            if (loops == nullptr) {
                cuts = {b0, b1};
            } else {
                for (const Loop& loop : *loops)
                    for (std::size_t k = 0; k + 1 < loop.points.size(); ++k) {
                        auto [pu, pv] = loop.points[k];
                        auto [qu, qv] = loop.points[k + 1];
                        const double pa = fixedU ? pu : pv, qa = fixedU ? qu : qv;
                        const double pb = fixedU ? pv : pu, qb = fixedU ? qv : qu;
                        if ((pa <= c) != (qa <= c))
                            cuts.push_back(pb + (c - pa) * (qb - pb) / (qa - pa));
                    }
                std::sort(cuts.begin(), cuts.end());
            }
            for (std::size_t k = 0; k + 1 < cuts.size(); k += 2) {
                shapes_.curve(patch.iso(!fixedU, c), cuts[k], cuts[k + 1], fixedU ? patch.PiecesV : patch.PiecesU,
                              patch.Hull, style);
            }
        }
    }
}

// The parameter-space curve of a curve on a surface as a closed polygon.
std::optional<SurfaceDrawer::Loop> SurfaceDrawer::parameter_loop(int curveOnSurface)
{
    const GeometryEntity* e = lookup_(curveOnSurface);
    if (e == nullptr || e->Type != 142)
        return std::nullopt;
    const GeometryEntity* curve = lookup_(pointer_of(value(e->Values, 2)));
    if (curve == nullptr)
        return std::nullopt;
    Loop loop;
    for (const CurvePiece& p : curve_pieces(*curve, lookup_)) {
        const int samples = 16 * p.Pieces;
        for (int i = 0; i <= samples; ++i) {
            const Vec3 uv = p.At(p.T0 + (p.T1 - p.T0) * i / samples);
            loop.points.emplace_back(uv[0], uv[1]);
        }
    }
    if (loop.points.size() < 2)
        return std::nullopt;
    loop.points.push_back(loop.points.front());
    return loop;
}

// A trimmed surface (144): its outer boundary (the patch's edges when it
// is the surface's own) and its inner boundaries.
bool SurfaceDrawer::trimmed(const GeometryEntity& e, const ShapeStyle& style)
{
    const std::vector<double>& v = e.Values;
    const bool ownBoundary = value(v, 1) == 0;
    const std::size_t inner = count_of(value(v, 2), v.size());
    // The surface itself is needed only for its own boundary and for iso
    // lines (a large one costs more to read than its trimming curves).
    const auto patch = ownBoundary || options_.IsoLines > 0 ? patch_of(pointer_of(value(v, 0))) : std::nullopt;
    bool made = false;
    if (ownBoundary && patch) {
        patch_edges(*patch, style);
        made = true;
    } else if (!ownBoundary) {
        made = curve_on_surface(pointer_of(value(v, 3)), style);
    }
    for (std::size_t i = 0; i < inner; ++i)
        made = curve_on_surface(pointer_of(value(v, 4 + i)), style) || made;
    if (patch && options_.IsoLines > 0) {
        std::vector<Loop> loops;
        bool complete = true;
        if (ownBoundary)
            loops.push_back({{{patch->U0, patch->V0},
                              {patch->U1, patch->V0},
                              {patch->U1, patch->V1},
                              {patch->U0, patch->V1},
                              {patch->U0, patch->V0}}});
        for (std::size_t i = ownBoundary ? 1 : 0; i <= inner && complete; ++i) {
            const int pointer = pointer_of(value(v, i == 0 ? 3 : 3 + i));
            if (auto loop = parameter_loop(pointer))
                loops.push_back(std::move(*loop));
            else
                complete = false;
        }
        if (complete)
            iso_lines(*patch, &loops, style);
    }
    return made;
}

// A bounded surface (143): the curves of its boundaries (141), in model
// space where they have one, else mapped from parameter space.
bool SurfaceDrawer::bounded(const GeometryEntity& e, const ShapeStyle& style)
{
    const std::vector<double>& v = e.Values;
    const std::size_t n = count_of(value(v, 2), v.size());
    bool made = false;
    for (std::size_t b = 0; b < n; ++b) {
        const GeometryEntity* boundary = lookup_(pointer_of(value(v, 3 + b)));
        if (boundary == nullptr || boundary->Type != 141)
            continue;
        const std::vector<double>& w = boundary->Values;
        const auto patch = patch_of(pointer_of(value(w, 2)));
        const std::size_t curves = count_of(value(w, 3), w.size());
        std::size_t at = 4;
        for (std::size_t c = 0; c < curves && at + 2 < w.size(); ++c) {
            const int model = pointer_of(w[at]);
            const std::size_t k = count_of(w[at + 2], w.size());
            if (lookup_(model) != nullptr) {
                made = model_curve(model, style) || made;
            } else if (patch) {
                for (std::size_t i = 0; i < k && at + 3 + i < w.size(); ++i)
                    if (drawn_.insert(pointer_of(w[at + 3 + i])).second) {
                        mapped_curve(pointer_of(w[at + 3 + i]), *patch, style);
                        made = true;
                    }
            }
            at += 3 + k;
        }
    }
    return made;
}

// A shell (514): the edges of its faces' loops, each edge once.
bool SurfaceDrawer::shell(int pointer, const ShapeStyle& style)
{
    const GeometryEntity* s = lookup_(pointer);
    if (s == nullptr || s->Type != 514)
        return false;
    bool made = false;
    const std::size_t faces = count_of(value(s->Values, 0), s->Values.size());
    for (std::size_t f = 0; f < faces; ++f) {
        const GeometryEntity* face = lookup_(pointer_of(value(s->Values, 1 + 2 * f)));
        if (face == nullptr || face->Type != 510)
            continue;
        const std::size_t loops = count_of(value(face->Values, 1), face->Values.size());
        for (std::size_t l = 0; l < loops; ++l) {
            const GeometryEntity* loop = lookup_(pointer_of(value(face->Values, 3 + l)));
            if (loop == nullptr || loop->Type != 508)
                continue;
            const std::vector<double>& w = loop->Values;
            const std::size_t edges = count_of(value(w, 0), w.size());
            std::size_t at = 1;
            for (std::size_t i = 0; i < edges && at + 4 < w.size(); ++i) {
                const bool isEdge = w[at] == 0;
                const int list = pointer_of(w[at + 1]);
                const long long index = w[at + 2] >= 1 && w[at + 2] < 1e9 ? static_cast<long long>(w[at + 2]) : 0;
                at += 5 + 2 * count_of(w[at + 4], w.size());
                const GeometryEntity* edgeList = lookup_(list);
                if (!isEdge || index < 1 || edgeList == nullptr || edgeList->Type != 504 ||
                    !edges_.insert({list, static_cast<int>(index)}).second)
                    continue;
                const std::size_t curveAt = 1 + 5 * static_cast<std::size_t>(index - 1);
                if (static_cast<long long>(count_of(value(edgeList->Values, 0), edgeList->Values.size())) >= index &&
                    curveAt < edgeList->Values.size())
                    made = model_curve(pointer_of(edgeList->Values[curveAt]), style) || made;
            }
        }
    }
    return made;
}

} // namespace orvex::formats::iges
