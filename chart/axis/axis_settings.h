#pragma once

#include <QString>

// The published settings of an axis, with which side of the chart it serves:
// what CopyFrom copies (besides pens, font, title and range) and what the
// label rules read.
namespace kov {

/// What the labels of an axis show.
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

/// The number picture of value labels unless an axis is given another.
inline const QString DefaultAxisValuesFormat = QStringLiteral("#,##0.###");

/// The side of the chart rectangle an axis lies along. It fixes the axis'
/// direction, whether it lies at the far (top or right) edge and its title's
/// default angle: 90 on the left, 270 on the right, 0 elsewhere.
enum class TAxisSide { Left, Right, Top, Bottom, Depth };

struct TAxisSettings
{
    bool Automatic = true;
    bool AutomaticMaximum = true;
    bool AutomaticMinimum = true;
    QString AxisValuesFormat = DefaultAxisValuesFormat;
    QString DateTimeFormat;
    bool ExactDateTime = true;
    bool GridCentered = false;
    double Increment = 0;
    bool Inverted = false;
    bool Labels = true;
    int LabelsAngle = 0;
    bool LabelsMultiLine = false;
    bool LabelsOnAxis = true;
    int LabelsSeparation = 10;
    int LabelsSize = 0;
    TAxisLabelStyle LabelStyle = talAuto;
    bool Logarithmic = false;
    int LogarithmicBase = 10;
    double Maximum = 0;
    double Minimum = 0;
    int MinorTickCount = 3;
    int MinorTickLength = 2;
    double StartPosition = 0;
    double EndPosition = 100;
    double PositionPercent = 0;
    bool RoundFirstLabel = true;
    int TickInnerLength = 0;
    int TickLength = 4;
    bool TickOnLabelsOnly = true;
    int TitleSize = 0;
    bool Visible = true;

    /// Which side the axis serves, fixed by its TAxisSide.
    bool IsHorizontal = false;
    bool OnFarSide = false;
    bool IsDepth = false;
};

} // namespace kov
