#pragma once

#include <QPointer>
#include <QWidget>

#include <utility>

namespace toolkit {

// At most one instance of a top-level window. Asking for it creates the window when it is not
// loaded; closing the window destroys it with all its contents, so the next request builds it
// afresh.
template <typename Window> class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance() { delete m_window.data(); }

    // The loaded window, created with make() first when there is none.
    template <typename Make> Window* get(Make&& make) {
        if (!m_window) {
            m_window = std::forward<Make>(make)();
            m_window->setAttribute(Qt::WA_DeleteOnClose);
        }
        return m_window.data();
    }

    // The loaded window, or nullptr; never creates one.
    Window* loaded() const { return m_window.data(); }

private:
    QPointer<Window> m_window;
};

} // namespace toolkit
