#pragma once

#include <KovChart>

#include <QImage>

// The reference pages' examples: each function builds one chart as its
// snippet shows and returns its picture, which docs_pictures writes for the
// pages.
QImage PictureOf(kov::TChart &chart);
QImage LineChartPicture();
QImage BarsPicture();
QImage PiePicture();
QImage FunctionPicture();
QImage GalleryPicture();
