// The table write-back on any text: scan it, write back a table derived from
// the input, and scan the written text again.
#include "app/app_exceptions.h"
#include "app/table_model.h"
#include "app/text_lines.h"
#include "fuzz_check.h"
#include "table_line_oracle.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kov;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte chooses the new values; the rest is the file.
    if (size < 1)
        return 0;
    const std::uint8_t seed = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const TTextLines text = TTextLines::FromBytes(bytes);
    const QList<QByteArray> &before = text.Lines;

    std::vector<bool> isTable;
    int tableLines = 0;
    for (const QByteArray &line : before) {
        isTable.push_back(IsTableLineByRule(line));
        tableLines += isTable.back() ? 1 : 0;
    }

    // The table read from the text, where it reads, each entry changed by the
    // seed; entries the scan did not reach come from the seed alone. Only the
    // entries the text has lines for are written back, so only those are set.
    TTable table;
    std::vector<std::uint8_t> read;
    try {
        read = ScanTable(before).Entries;
    } catch (const KovException &) {
    }
    const int used = std::min(tableLines, TTable::Size);
    for (int i = 0; i < used; ++i) {
        const std::uint8_t old =
            i < static_cast<int>(read.size()) ? read[static_cast<std::size_t>(i)] : 0;
        table[i] = static_cast<std::uint8_t>(old + seed * (i + 1));
    }

    QList<QByteArray> lines = before;
    try {
        WriteBackTable(lines, table);
    } catch (const UnwritableLineException &) {
        // A refused update leaves every line as it was.
        FUZZ_CHECK(lines == before);
        return 0;
    } catch (const RangeCheckError &) {
        // Only a 514th table line fails so (the tests of WriteBackTable check
        // what it leaves; fuzzed inputs are seldom that long).
        FUZZ_CHECK(tableLines > TTable::Size);
        return 0;
    }

    // Line count unchanged, every other line byte for byte as it was.
    FUZZ_CHECK(lines.size() == before.size());
    for (qsizetype k = 0; k < before.size(); ++k) {
        if (!isTable[static_cast<std::size_t>(k)])
            FUZZ_CHECK(lines.at(k) == before.at(k));
    }

    // Saved and reopened, the text reads as the table written.
    TTextLines written = text;
    written.Lines = lines;
    const TTextLines reopened = TTextLines::FromBytes(written.ToBytes());
    FUZZ_CHECK(reopened == written);
    const TScanResult scan = ScanTable(reopened.Lines);
    FUZZ_CHECK(static_cast<int>(scan.Entries.size()) == tableLines);
    for (int i = 0; i < tableLines; ++i)
        FUZZ_CHECK(scan.Entries[static_cast<std::size_t>(i)] == table[i]);

    // A second update with the same table changes nothing.
    QList<QByteArray> again = lines;
    WriteBackTable(again, table);
    FUZZ_CHECK(again == lines);
    return 0;
}
