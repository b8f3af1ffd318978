#include "chart/canvas/canvas3d.h"

namespace kov {

void TCanvas3D::AssignCanvas(const TCanvas3D &source)
{
    SetMonochromeBuffer(source.IsMonochrome());
}

} // namespace kov
