// The faces of 3D bars that later bars of the same series paint over.
//
// Seen without rotation at full zoom, a point at depth z lands z pixels right
// of and z pixels above where it lies on the front plane: a box [L, R] x [T, B]
// drawn from depth z0 to z1 covers the box swept along the depth diagonal
// D = {(t, -t) : 0 <= t <= z1 - z0}. Its side face is the right edge swept
// along D, its top face the top edge. A face of one bar that lies in the
// swept box of a later bar is painted over by it: every face edge is
// horizontal, vertical or diagonal through whole pixels, so the pixels the
// platform paints for the face (fill and one-pixel outline) lie among those
// the later box paints. Drawing only the faces no later bar covers then
// leaves the same picture, provided every bar paints opaquely with the same
// pen and fill style and the paint goes forward.
#include "chart/canvas/chart_canvas3d.h"
#include "chart/canvas/view3d_options.h"
#include "chart/series/bar_series.h"
#include "chart/series/series_paint_context.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>

namespace kov {

namespace {

/// Few bars share a pixel row or column without hiding each other; more than
/// this many kept per key only leave faces drawn.
constexpr int SpansPerKey = 4;
/// Bars wider than this look for covering bars only beside their edges.
constexpr int FullWindow = 32;

/// Where a later bar reaches along the values: its top and bottom (left and
/// right for horizontal bars).
struct Span
{
    int Lo = 0;
    int Hi = 0;
};

/// The later bars in one pixel column (row): those not inside another.
struct KeySpans
{
    int Count = 0;
    std::array<Span, SpansPerKey> Items;

    bool Covers(int lo, int hi) const
    {
        for (int k = 0; k < Count; ++k)
            if (Items[k].Lo <= lo && Items[k].Hi >= hi)
                return true;
        return false;
    }

    void Add(Span s)
    {
        if (Covers(s.Lo, s.Hi))
            return;
        int kept = 0;
        for (int k = 0; k < Count; ++k)
            if (!(s.Lo <= Items[k].Lo && s.Hi >= Items[k].Hi))
                Items[kept++] = Items[k];
        Count = kept;
        Items[std::min(Count, SpansPerKey - 1)] = s;
        Count = std::min(Count + 1, SpansPerKey);
    }
};

bool IsOpaque(TColor c)
{
    return c != clNone && c != clDefault;
}

/// Whether a box lies where the platform paints shapes exactly as they
/// are given, far beyond any picture.
bool WithinReach(const TRect &r)
{
    constexpr int Reach = 1 << 14;
    return std::max({std::abs(r.Left), std::abs(r.Top), std::abs(r.Right), std::abs(r.Bottom)}) <=
           Reach;
}

/// How many device pixels this canvas paints per pixel, when it paints whole
/// pixels on whole device pixels (at a whole scale, moved by whole pixels at
/// most); else 0.
int WholeScale(const TCanvas3D &canvas)
{
    const auto *own = dynamic_cast<const TChartCanvas3D *>(&canvas);
    if (!own || !own->Surface())
        return 0;
    const QTransform t = own->Surface()->deviceTransform();
    auto whole = [](qreal v) { return v == std::floor(v); };
    if (t.type() > QTransform::TxScale || t.m11() != t.m22() || t.m11() < 1 || t.m11() > 64 ||
        !whole(t.m11()) || !whole(t.dx()) || !whole(t.dy()))
        return 0;
    return static_cast<int>(t.m11());
}

} // namespace

unsigned TCustomBarSeries::FacesToDraw(int index)
{
    const int k = index - m_facesFirst;
    if (k < 0 || k >= static_cast<int>(m_faces.size()))
        return AllFaces;
    return m_faces[static_cast<std::size_t>(k)];
}

void TCustomBarSeries::PlanHiddenFaces(const TSeriesPaintContext &context)
{
    m_faces.clear();
    m_facesSkipped = 0;
    const int first = FirstShownIndex();
    const int last = std::min(LastShownIndex(), PointCount() - 1);
    const TCanvas3D &canvas = context.Canvas;
    const TView3DOptions *options = canvas.View3DOptions();
    const bool penOpaque = m_barPen.Visible()
                               ? m_barPen.Style() == psSolid && m_barPen.Width() <= 1 &&
                                     !m_barPen.SmallDots() && m_barPen.Mode() == pmCopy &&
                                     IsOpaque(m_barPen.Color())
                               : canvas.Pen().Mode() == pmCopy;
    // Only the plain projection, solid boxes and one-pixel outlines keep every
    // edge on whole pixels and every bar opaque.
    if (!m_skipHidden || !context.View3D || context.Printing || first < 0 || last <= first ||
        !canvas.IsOrthogonal() || !options || options->Zoom() != 100 ||
        context.Depth.End < context.Depth.Start || m_settings.BarStyle != bstRectangle ||
        m_settings.BarBrush != bsSolid || !canvas.Brush().Bitmap().isNull() || !penOpaque)
        return;
    // Scaled up, the outline strays off the pixels its edges run through.
    const int scale = WholeScale(canvas);
    if (scale == 0 || (scale > 1 && m_barPen.Visible()))
        return;

    const bool vertical = ValuesAreVertical();
    const int width = m_paintLayout.Width;
    const int count = last - first + 1;
    std::vector<TRect> boxes(static_cast<std::size_t>(count));
    // The bars planned: drawn, within reach.
    std::vector<bool> planned(static_cast<std::size_t>(count), false);
    int minKey = 0, maxKey = -1;
    bool any = false;
    for (int k = 0; k < count; ++k) {
        TBarBox bar;
        // Boxes far off the picture are left to the platform as they are.
        if (!BoxWith(context, first + k, m_paintLayout, bar) || bar.Box.IsEmpty() ||
            !WithinReach(bar.Box))
            continue;
        boxes[static_cast<std::size_t>(k)] = bar.Box;
        planned[static_cast<std::size_t>(k)] = true;
        const int key = vertical ? bar.Box.Left : bar.Box.Top;
        minKey = any ? std::min(minKey, key) : key;
        maxKey = any ? std::max(maxKey, key) : key;
        any = true;
    }
    // Bars spread far apart leave little to hide; the table of keys would be
    // larger than the bars.
    if (maxKey < minKey || maxKey - minKey > 8 * count + 4096)
        return;
    std::vector<KeySpans> keys(static_cast<std::size_t>(maxKey - minKey + 1));
    // Key of bar + step: right of a vertical bar, above a horizontal one.
    const int step = vertical ? 1 : -1;
    auto at = [&](int key) -> const KeySpans * {
        return key < minKey || key > maxKey ? nullptr
                                            : &keys[static_cast<std::size_t>(key - minKey)];
    };

    // Without depth a box is its front face alone.
    const unsigned solid = context.Depth.End > context.Depth.Start ? AllFaces : FrontFace;
    m_facesFirst = first;
    m_faces.assign(static_cast<std::size_t>(count), AllFaces);
    for (int k = count - 1; k >= 0; --k) {
        if (!planned[static_cast<std::size_t>(k)])
            continue;
        const TRect &b = boxes[static_cast<std::size_t>(k)];
        const int key = vertical ? b.Left : b.Top;
        const int lo = vertical ? b.Top : b.Left;
        const int hi = vertical ? b.Bottom : b.Right;
        unsigned faces = solid;
        const KeySpans *same = at(key);
        if (same->Covers(lo, hi)) {
            faces = 0;
        } else {
            // A face is covered when its edge on the front plane lies in a
            // later box. The edge along the values (the right edge of a
            // vertical bar, the top edge of a horizontal one) lies in a box
            // reaching as far whose key is at most the width away; the edge
            // across, in a box of the same key. Besides, a box one key
            // further on, reaching a pixel beyond that edge, covers all of
            // the face but a corner no pixel centre lies in, and whose
            // outline pixel the front paints the same; which the platform
            // honours at full size only, and for the side face only with
            // the outline drawn.
            bool along = false;
            auto alongAt = [&](int offset) {
                const KeySpans *s = at(key + step * offset);
                return s && s->Covers(lo, hi);
            };
            for (int o = 1; !along && o <= std::min(width, FullWindow); ++o)
                along = alongAt(o);
            if (!along && width > FullWindow)
                along = alongAt(width);
            // The edge across: from lo (vertical: the top) or to hi
            // (horizontal: the right end).
            bool across = false;
            if (vertical) {
                across = same->Covers(lo, lo);
                const KeySpans *next = scale == 1 ? at(key + 1) : nullptr;
                across = across || (next && next->Covers(lo - 1, lo));
            } else {
                across = same->Covers(hi, hi);
                const KeySpans *above = scale == 1 && m_barPen.Visible() ? at(key - 1) : nullptr;
                across = across || (above && above->Covers(hi, hi + 1));
            }
            const unsigned alongFace = vertical ? SideFace : TopFace;
            const unsigned acrossFace = vertical ? TopFace : SideFace;
            if (along)
                faces &= ~alongFace;
            if (across)
                faces &= ~acrossFace;
        }
        faces &= solid;
        m_faces[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(faces | Planned);
        for (unsigned face : {FrontFace, SideFace, TopFace})
            m_facesSkipped += (solid & face) && !(faces & face);
        if (IsOpaque(EffectivePointColor(first + k)))
            keys[static_cast<std::size_t>(key - minKey)].Add({lo, hi});
    }
}

} // namespace kov
