#pragma once

#include "chart/color.h"

#include <vector>

// Functions that derive one series from others: the series a function is
// attached to (TChartSeries::AttachFunction) holds the result, its data
// sources are the inputs. With several sources point i of the result combines
// the sources' points i; with one source the result has a point for each
// period of consecutive source points.
namespace kov {

class TChartSeries;
class TChartValueList;
class TFunctionSeries;

/// A series' points as a function reads them, handed over once for a whole
/// calculation rather than asked for point by point.
struct TFunctionPoints
{
    /// The series, which tells which of its points are null.
    const TFunctionSeries *Series = nullptr;
    /// Where the points lie along the axis they are spread on (X for a
    /// vertical series).
    TChartValueList *Positions = nullptr;
    /// The points' values (the main value list).
    TChartValueList *Values = nullptr;
    int Count = 0;
    /// Whether the values are the Y values.
    bool Vertical = true;
};

/// A series as a function sees it: a source it reads, or the series it is
/// attached to, which holds the result. TChartSeries implements it.
class TFunctionSeries
{
public:
    /// The series itself, as callers outside the function know it.
    virtual TChartSeries *AsSeries() = 0;
    virtual TFunctionPoints FunctionPoints() const = 0;
    virtual bool IsNullAt(int index) const = 0;
    /// The series' data sources, in order.
    virtual std::vector<const TFunctionSeries *> FunctionSources() const = 0;
    /// Whether the function combines its sources point by point: once it has
    /// had a second source, even when only one of them is left.
    virtual bool CombinesSources() const = 0;

    // ---- writing the result ------------------------------------------------------
    /// Adds a result point; returns the index it was stored at.
    virtual int AppendResultPoint(double x, double y, TColor color) = 0;
    virtual void SetResultColor(int index, TColor color) = 0;
    /// Fills the series anew from its data sources.
    virtual void RecalculateResult() = 0;
    /// Asks for a repaint after a change of the whole result, or of the
    /// values or colours of its points only.
    virtual void RepaintResult() = 0;
    virtual void RepaintResultPoints() = 0;

protected:
    // Never deleted through this interface: the series is.
    ~TFunctionSeries() = default;
};

/// A result being calculated from its inputs, taken one at a time.
struct TFunctionFold
{
    /// The result so far (the sum, for a mean).
    double Value = 0;
    /// Inputs taken.
    int Count = 0;
    /// False once an input leaves no result (a zero divisor).
    bool Valid = true;
};

/// The base of the seven function kinds. A function is owned by the series it
/// is attached to and works on that series' data sources.
///
/// Several sources: point i of the result is the function of the sources'
/// points i, in source order, up to the shortest source; its position (X for
/// a vertical series) is the first source's. A function that has had a second
/// source goes on combining point by point over the sources left when some are
/// removed, leave the chart or are destroyed: A - B with B gone is A itself,
/// never another calculation. Only SetDataSource, which sets the sources anew,
/// or losing every source returns it to the one-source rule.
///
/// One source: the result has a point for each period of Period consecutive
/// points, placed at the middle of the period's positions. Grouped periods
/// follow one another (points 0..p-1, p..2p-1, ..., the last one possibly
/// shorter); moving periods slide by one point (0..p-1, 1..p, ...), so a
/// source of n points gives n - p + 1 results and none when shorter than a
/// period. Period 0 takes the whole source and gives its result twice, at
/// the lowest and at the highest position: a level line across the source.
///
/// No source: no points.
///
/// Null source points are left out; a point with nothing left, or a
/// calculation without a value (a zero divisor), is a null point of the
/// result.
///
/// The result follows its sources incrementally where that gives exactly what
/// a fresh calculation would: points appended at the end of a source cost
/// O(1) each for grouped periods and period 0 (the last period's calculation
/// is kept) and O(Period) for a moving period; a changed point recalculates
/// the result points that take it. The result points are stored in the order
/// they are calculated only where the result's position list lets them be
/// (unordered, or ordered as they come); anything else is calculated anew.
class TSeriesFunction
{
public:
    virtual ~TSeriesFunction() = default;
    TSeriesFunction(const TSeriesFunction &) = delete;
    TSeriesFunction &operator=(const TSeriesFunction &) = delete;

    /// The series the function is attached to, or null.
    TChartSeries *ParentSeries() const { return m_parent ? m_parent->AsSeries() : nullptr; }

    /// Number of source points one result point takes (one source only); 0
    /// means all of them. ChartException "Function Period must be >= 0" for a
    /// negative value.
    int Period() const { return m_period; }
    void SetPeriod(int value);
    /// Whether periods slide by one point (a moving average) rather than
    /// follow one another.
    bool Moving() const { return m_moving; }
    void SetMoving(bool value);

    /// Takes the settings (Period, Moving) of source.
    virtual void CopyFrom(const TSeriesFunction &source);

    /// Takes the next input into fold (the first input starts it).
    virtual void Take(TFunctionFold &fold, double value) const = 0;
    /// The result of the inputs taken (at least one); false when there is
    /// none, the point then being null.
    virtual bool Result(const TFunctionFold &fold, double &result) const
    {
        result = fold.Value;
        return fold.Valid;
    }
    /// The function of values (the non-null inputs in order, never empty):
    /// each taken in turn, then Result.
    bool Calculate(const std::vector<double> &values, double &result) const;
    /// Whether the first input is set against the rest (subtract, divide):
    /// with several sources a null point of the first source then gives a
    /// null point, there being nothing to take the others from.
    virtual bool FirstAgainstRest() const { return false; }

    /// Appends the result of sources to the parent series (which the caller
    /// has emptied); combined point by point when pointByPoint or when there
    /// are several.
    void AddPoints(const std::vector<const TFunctionSeries *> &sources, bool pointByPoint);
    /// Follows points appended at the end of the parent's sources since the
    /// result was last brought up to date.
    void SourcesAppended();
    /// Follows a change of the values, positions or null states of the
    /// source points first..last (of any source), their number unchanged.
    void SourcesChanged(int first, int last);

protected:
    explicit TSeriesFunction(bool moving = false) : m_moving(moving) {}

private:
    friend class TChartSeries;

    /// One point of the result.
    struct TResultPoint
    {
        double Position = 0;
        double Value = 0;
        bool Null = true;
    };

    /// Takes the points of sources for the calculations that follow.
    void ReadSources(const std::vector<const TFunctionSeries *> &sources);
    /// Whether the sources read are those the result was calculated from.
    bool SameSources() const;
    bool PointByPoint() const { return m_pointByPoint || m_sources.size() > 1; }
    /// Number of result points for the sources read.
    int ResultCount() const;
    /// The source points [first, last) that result point k of one source
    /// takes.
    void PeriodRange(int sourceCount, int k, int &first, int &last) const;
    /// The inputs of source points [first, last) of the one source.
    TFunctionFold FoldRange(int first, int last) const;
    TResultPoint MakePoint(const TFunctionFold &fold, double position) const;
    /// Result point k (0 <= k < ResultCount), calculated afresh; a grouped
    /// or whole-source period's calculation is kept in m_tail.
    TResultPoint ResultPoint(int k);
    /// Appends point; false (the result then out of step) when it was not
    /// stored at the end.
    bool Append(const TResultPoint &point);
    /// Sets result point k in place; false when its new position would put it
    /// out of the result's order.
    bool Replace(int k, const TResultPoint &point);
    /// Whether a point at X b may follow one at X a in the X list xs.
    static bool InOrder(const TChartValueList &xs, double a, double b);
    /// Recalculates the whole result and repaints.
    void Changed();
    /// Calculates the whole result anew.
    void Recalculate();

    TFunctionSeries *m_parent = nullptr;
    int m_period = 0;
    bool m_moving = false;
    /// The points of the sources read, kept to spare an allocation per
    /// calculation.
    std::vector<TFunctionPoints> m_sources;

    // ---- what the result was calculated from ------------------------------------------
    /// The sources, and whether they were combined point by point.
    std::vector<const TFunctionSeries *> m_calculatedFrom;
    bool m_pointByPoint = false;
    /// Result point k is stored at index k (every point was appended at the
    /// end and none has moved since), so results can be changed in place.
    bool m_inStep = false;
    /// Points of the one source the result takes.
    int m_sourceCount = 0;
    /// The calculation of the last grouped period (or the whole source, for
    /// period 0), which starts at source point m_tailFirst, and the lowest
    /// and highest positions of the source (period 0).
    TFunctionFold m_tail;
    int m_tailFirst = 0;
    double m_lowest = 0;
    double m_highest = 0;
};

/// The sum of the inputs.
class TAddFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
};

/// The first input less the others.
class TSubtractFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
    bool FirstAgainstRest() const override { return true; }
};

/// The product of the inputs.
class TMultiplyFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
};

/// The first input divided by each of the others; no result when one of them
/// is zero.
class TDivideFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
    bool FirstAgainstRest() const override { return true; }
};

/// The largest input.
class THighFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
};

/// The smallest input.
class TLowFunction : public TSeriesFunction
{
public:
    void Take(TFunctionFold &fold, double value) const override;
};

/// The mean of the inputs. Its periods move by default: with one source and a
/// period it is the moving average.
class TAverageFunction : public TSeriesFunction
{
public:
    TAverageFunction() : TSeriesFunction(true) {}
    void Take(TFunctionFold &fold, double value) const override;
    bool Result(const TFunctionFold &fold, double &result) const override;
};

} // namespace kov
