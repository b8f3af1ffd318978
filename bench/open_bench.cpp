#include "app/main_form.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Opening a 4 MiB include file and showing its text: the file as one line
// without breaks against the same size in ordinary lines. Each iteration opens
// the file in a shown window, switches to the text tab and paints it. Run one
// case alone under /usr/bin/time -v to see its peak memory.
namespace {

using namespace kov;

constexpr qsizetype FileSize = 4 * 1024 * 1024 - 64;

QByteArray LongLine()
{
    return QByteArray(FileSize, 'x');
}

QByteArray OrdinaryLines()
{
    const QByteArray line = "\tretlw 0x1a ; an ordinary table line with a comment\r\n";
    const QByteArray comment = "; an ordinary comment line of the same length as those\r\n";
    QByteArray bytes;
    bytes.reserve(FileSize);
    // 513 table lines at most; the rest are comments.
    for (int i = 0; bytes.size() + comment.size() <= FileSize; ++i)
        bytes.append(i < 513 ? line : comment);
    return bytes;
}

void OpenAndShow(benchmark::State &state, const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.inc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    for (auto _ : state) {
        TForm1 form;
        form.show();
        QApplication::processEvents();
        form.OpenFile(path);
        form.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.Memo1->grab());
    }
}

void LongLineFile(benchmark::State &state)
{
    OpenAndShow(state, LongLine());
}
BENCHMARK(LongLineFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void OrdinaryLinesFile(benchmark::State &state)
{
    OpenAndShow(state, OrdinaryLines());
}
BENCHMARK(OrdinaryLinesFile)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
