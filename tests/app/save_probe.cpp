#include "app/app_exceptions.h"
#include "app/include_file.h"
#include "app/text_lines.h"

#include <cstdio>

// Saves argv[2] as the text of the file argv[1] and exits 0, or prints the
// failure's message and exits 1. The save tests run it as another user, to
// save where that user may not create files.
int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    try {
        kov::WriteIncludeFile(QString::fromLocal8Bit(argv[1]),
                              kov::TTextLines::FromBytes(QByteArray(argv[2])));
    } catch (const kov::KovException &e) {
        std::fputs(e.Message().toLocal8Bit().constData(), stdout);
        return 1;
    }
    return 0;
}
