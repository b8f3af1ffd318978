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

    // ---- writing the result ------------------------------------------------------
    virtual void AppendResultPoint(double x, double y, TColor color) = 0;
    virtual void RemoveResultPoint(int index) = 0;
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

/// The base of the seven function kinds. A function is owned by the series it
/// is attached to and works on that series' data sources.
///
/// Several sources: point i of the result is the function of the sources'
/// points i, in source order, up to the shortest source; its position (X for
/// a vertical series) is the first source's.
///
/// One source: the result has a point for each period of Period consecutive
/// points, placed at the middle of the period's positions. Grouped periods
/// follow one another (points 0..p-1, p..2p-1, ..., the last one possibly
/// shorter); moving periods slide by one point (0..p-1, 1..p, ...), so a
/// source of n points gives n - p + 1 results and none when shorter than a
/// period. Period 0 takes the whole source and gives its result twice, at
/// the lowest and at the highest position: a level line across the source.
///
/// Null source points are left out; a point with nothing left, or a
/// calculation without a value (a zero divisor), is a null point of the
/// result.
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

    /// The function of values (the non-null inputs in source order, never
    /// empty). False when there is no result; the point is then null.
    virtual bool Calculate(const std::vector<double> &values, double &result) const = 0;
    /// Whether the first input is set against the rest (subtract, divide):
    /// with several sources a null point of the first source then gives a
    /// null point, there being nothing to take the others from.
    virtual bool FirstAgainstRest() const { return false; }

    /// Appends the result of sources to the parent series (which the caller
    /// has emptied).
    void AddPoints(const std::vector<const TFunctionSeries *> &sources);
    /// Follows a point of source appended (or inserted) at index: the result
    /// grows by its last point where that is all that changed, else is
    /// calculated anew.
    void SourcePointAdded(const TFunctionSeries *source, int index);
    /// Follows a changed value of point index of source: only the result
    /// points that take it are recalculated, where they stay in place.
    void SourcePointChanged(const TFunctionSeries *source, int index);

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
    /// Number of result points for the sources read.
    int ResultCount() const;
    /// Result point k (0 <= k < ResultCount).
    TResultPoint ResultPoint(int k);
    /// The source points [first, last) that result point k of one source
    /// takes.
    void PeriodRange(int sourceCount, int k, int &first, int &last) const;
    void Append(const TFunctionPoints &parent, const TResultPoint &point);
    /// Whether results can be updated in place: the first source and the
    /// result are both in ascending position order, so result point k is
    /// stored at index k.
    bool ResultInStep(const TFunctionPoints &parent) const;
    /// Recalculates the whole result and repaints.
    void Changed();

    TFunctionSeries *m_parent = nullptr;
    int m_period = 0;
    bool m_moving = false;
    /// The points of the sources read, kept to spare an allocation per
    /// calculation.
    std::vector<TFunctionPoints> m_sources;
    /// Inputs of one calculation, kept to spare an allocation per point.
    std::vector<double> m_inputs;
};

/// The sum of the inputs.
class TAddFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
};

/// The first input less the others.
class TSubtractFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
    bool FirstAgainstRest() const override { return true; }
};

/// The product of the inputs.
class TMultiplyFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
};

/// The first input divided by each of the others; no result when one of them
/// is zero.
class TDivideFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
    bool FirstAgainstRest() const override { return true; }
};

/// The largest input.
class THighFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
};

/// The smallest input.
class TLowFunction : public TSeriesFunction
{
public:
    bool Calculate(const std::vector<double> &values, double &result) const override;
};

/// The mean of the inputs. Its periods move by default: with one source and a
/// period it is the moving average.
class TAverageFunction : public TSeriesFunction
{
public:
    TAverageFunction() : TSeriesFunction(true) {}
    bool Calculate(const std::vector<double> &values, double &result) const override;
};

} // namespace kov
