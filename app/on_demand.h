#pragma once

#include <QPointer>

#include <functional>

namespace kov {

/// A child widget made the first time it is used. Building a widget such as a
/// file dialog costs noticeable start-up time, and many runs never show one.
/// The widget is owned by the Qt parent its factory gives it; this holder only
/// remembers it.
template <typename T> class TOnDemand
{
public:
    explicit TOnDemand(std::function<T *()> create) : m_create(std::move(create)) {}
    TOnDemand(const TOnDemand &) = delete;
    TOnDemand &operator=(const TOnDemand &) = delete;

    /// The widget, made now when it does not exist yet.
    T *get() const
    {
        if (!m_widget)
            m_widget = m_create();
        return m_widget;
    }
    T *operator->() const { return get(); }
    operator T *() const { return get(); }
    /// Whether the widget has been made.
    bool IsCreated() const { return !m_widget.isNull(); }

private:
    std::function<T *()> m_create;
    mutable QPointer<T> m_widget;
};

} // namespace kov
