// Checks the picture that examples/installed_use draws: 400 x 300, with the
// blue bars and the red line both visible.
//   png_check FILE   exits 0 when the picture is right, else says what is wrong
#include <QColor>
#include <QImage>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: png_check FILE.png\n", stderr);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.size() != QSize(400, 300)) {
        std::fprintf(stderr, "%s: not a 400 x 300 picture\n", argv[1]);
        return 1;
    }
    int red = 0;
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
        }
    // Eight bars take thousands of pixels, a 3-pixel line hundreds.
    if (blue < 3000 || red < 300) {
        std::fprintf(stderr, "%s: %d blue and %d red pixels\n", argv[1], blue, red);
        return 1;
    }
    std::printf("%s: %d blue and %d red pixels\n", argv[1], blue, red);
    return 0;
}
