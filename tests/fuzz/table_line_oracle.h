#pragma once

#include "app/table_model.h"

#include <QByteArray>

#include <algorithm>

// Whether a line is a table line, by the rule itself and apart from the
// reader's own shortcuts: its upper-cased, dequoted text holds "RETLW". A line
// that needs no dequoting is searched as it stands, ignoring case, so the
// fuzzers copy only the quoted lines.
inline bool IsTableLineByRule(const QByteArray &line)
{
    if (line.startsWith('\''))
        return kov::IsTableLine(kov::NormaliseLine(line));
    static constexpr char word[] = "RETLW";
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    return std::search(line.cbegin(), line.cend(), word, word + 5,
                       [&](char a, char b) { return upper(a) == b; }) != line.cend();
}
