#pragma once

#include <concepts>
#include <functional>
#include <type_traits>

// How published settings change, everywhere in the engine: a setter compares
// the new value with the stored one, stores a different value and reports
// the change to whoever must hear of it, which then repaints. SetAndInvalidate
// is that rule, written once; ReportChange says how each kind of listener
// hears of a change; CopyParts is how an object takes over another's
// settings and owned parts.
namespace kov {

/// Called after an owned object (pen, brush, font, gradient, pointer ...)
/// changed; an empty handler means nobody listens.
using TChangeHandler = std::function<void()>;

/// A change reported through a handler; an empty one reports nothing.
inline void ReportChange(const TChangeHandler &handler)
{
    if (handler)
        handler();
}

/// A change reported through any callable (a lambda bound to the owner).
template <std::invocable Report> void ReportChange(const Report &report)
{
    report();
}

// The chart panel (chart_panel.h) and the series (series.h) each add a
// ReportChange for a pointer to themselves, so that their setters name the
// owner that hears: SetAndInvalidate(this, m_x, value).

/// The setter rule: when value differs from field, stores it and reports the
/// change to listener (a change handler, a callable, or an owner for which a
/// ReportChange exists); returns whether it changed. Serves integers,
/// colours, Booleans, texts, doubles and enumerations alike.
template <typename Listener, typename T>
bool SetAndInvalidate(const Listener &listener, T &field, const std::type_identity_t<T> &value)
{
    if (field == value)
        return false;
    field = value;
    ReportChange(listener);
    return true;
}

/// Copies one part of an object: through the part's own CopyFrom where it has
/// one (pens, brushes, fonts, pictures, which report their own changes), by
/// assignment for a plain settings struct.
template <typename Part> void CopyPart(Part &target, const Part &source)
{
    if constexpr (requires { target.CopyFrom(source); })
        target.CopyFrom(source);
    else
        target = source;
}

/// Copies the listed parts (members of Owner) from source into target, in the
/// order given. Returns false, copying nothing, when both are one object; the
/// caller then has nothing to report.
template <typename Owner, typename... Parts>
bool CopyParts(Owner &target, const Owner &source, Parts Owner::*...parts)
{
    if (&target == &source)
        return false;
    (CopyPart(target.*parts, source.*parts), ...);
    return true;
}

} // namespace kov
