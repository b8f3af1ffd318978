#pragma once

#include "chart/exceptions.h"

#include <QString>

namespace kov::test {

/// The message of whatever f throws, empty when it does not throw.
template <typename F> QString MessageOf(F &&f)
{
    try {
        f();
    } catch (const KovException &e) {
        return e.Message();
    }
    return QString();
}

} // namespace kov::test
