#include "pictures.h"

using namespace kov;

QImage GalleryPicture()
{
    //! [gallery]
    // Every registered series type, each drawn as a small chart; the user
    // picks one, and the registry makes a series of that type.
    TSeriesGalleryDialog dialog;
    dialog.resize(560, 360);
    //! [gallery]
    return dialog.grab().toImage();
}
