// The include-file reader on any bytes: split into lines as a loaded file is,
// then scanned for the table.
#include "app/app_exceptions.h"
#include "app/table_model.h"
#include "app/text_lines.h"
#include "fuzz_check.h"
#include "table_line_oracle.h"

#include <cstddef>
#include <cstdint>

using namespace kov;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TTextLines text = TTextLines::FromBytes(bytes);

    // Splitting loses nothing but the line breaks: the lines hold the bytes
    // in order, no line holds a break, and saving and reopening gives them
    // back.
    qsizetype at = 0;
    const qsizetype n = bytes.size();
    for (const QByteArray &line : text.Lines) {
        FUZZ_CHECK(line.size() <= n - at && QByteArrayView(bytes).sliced(at, line.size()) == line);
        at += line.size();
        // One break (CR, LF or CR LF) after each line, but the last may go without.
        if (at < n) {
            FUZZ_CHECK(bytes[at] == '\r' || bytes[at] == '\n');
            at += bytes[at] == '\r' && at + 1 < n && bytes[at + 1] == '\n' ? 2 : 1;
        }
    }
    FUZZ_CHECK(at == n);
    FUZZ_CHECK(text.TrailingBreak == (n > 0 && (bytes[n - 1] == '\r' || bytes[n - 1] == '\n')));
    FUZZ_CHECK(TTextLines::FromBytes(text.ToBytes()) == text);

    // The scan finds exactly the table lines, or fails on one of them.
    qsizetype tableLines = 0;
    for (const QByteArray &line : text.Lines)
        tableLines += IsTableLineByRule(line) ? 1 : 0;
    try {
        const TScanResult scan = ScanTable(text.Lines);
        FUZZ_CHECK(static_cast<qsizetype>(scan.Entries.size()) == tableLines);
        FUZZ_CHECK(tableLines <= TTable::Size);
        FUZZ_CHECK((scan.FirstZero < 0) == (scan.LastZero < 0));
        FUZZ_CHECK(scan.FirstZero <= scan.LastZero);
        FUZZ_CHECK(scan.ZeroCount() >= 0 && scan.ZeroCount() < TTable::Size);
    } catch (const ConvertException &) {
        FUZZ_CHECK(tableLines > 0);
    } catch (const RangeCheckError &) {
        FUZZ_CHECK(tableLines > TTable::Size);
    }
    return 0;
}
