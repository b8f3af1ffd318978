#include "app/main_form.h"
#include "test_support.h"
#include "tests/chart/canvas/canvas_test_util.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

// The main window's chart at a device pixel ratio of 1 is held to reference
// pictures drawn by an earlier build, so that no change of the paint path
// moves a pixel of what users see on an ordinary screen. When a change is
// meant to alter the picture, run the test with KOV_WRITE_REFERENCE=1 to
// write new references, look at them, and commit them with the change.
using namespace kov;

namespace {

constexpr int Width = 950;
constexpr int Height = 510;

QString ReferenceFile(const QString &name)
{
    return test::DataFile(QStringLiteral("pictures/") + name + QStringLiteral(".png"));
}

QImage DrawChart(TForm1 &form)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    form.Chart1->DrawToCanvas(&painter, TRect{0, 0, Width, Height});
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

void ExpectReference(const QImage &picture, const QString &name)
{
    const QString file = ReferenceFile(name);
    if (qEnvironmentVariableIsSet("KOV_WRITE_REFERENCE")) {
        // Writing references checks nothing: a run that does so never passes
        // in CI, where a stray variable would otherwise hide every change.
        ASSERT_FALSE(qEnvironmentVariableIsSet("CI"))
            << "KOV_WRITE_REFERENCE is set in CI: references are not compared";
        ASSERT_TRUE(picture.save(file)) << file.toStdString();
        return;
    }
    const QImage reference = QImage(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << file.toStdString();
    ASSERT_EQ(picture.size(), reference.size());
    QPoint first;
    const int differing = kov::test::DifferingPixels(picture, reference, first);
    if (differing > 0) {
        const QString actual = QDir::temp().filePath(name + QStringLiteral("-actual.png"));
        picture.save(actual);
        ADD_FAILURE() << differing << " pixels differ from " << file.toStdString()
                      << ", the first at " << first.x() << "," << first.y()
                      << "; this picture: " << actual.toStdString();
    }
}

} // namespace

TEST(ReferencePicture, StartUpRampInTheCountSizeView)
{
    TForm1 form;
    ExpectReference(DrawChart(form), QStringLiteral("start-up"));
}

TEST(ReferencePicture, OpenedTableInBothViews)
{
    TForm1 form;
    form.OpenFile(test::DataFile(QStringLiteral("ramp.inc")));
    ExpectReference(DrawChart(form), QStringLiteral("ramp-count-size"));
    form.RadioGroup1->SetItemIndex(1);
    ExpectReference(DrawChart(form), QStringLiteral("ramp-time-power"));
}
