#pragma once
// Every window the program opens modally goes through Modal::exec(), so a
// test can take the window, drive it (fill fields, press buttons) and give
// back a result without a real modal loop.

#include <QDialog>

#include <functional>

namespace Modal {

// Receives the window (not yet shown; the handler may show it) and returns
// the result the window ended with.
using Handler = std::function<int(QDialog *)>;

// Runs the window modally (or hands it to the installed handler) and returns
// its result. With a handler the window is hidden afterwards and its
// result() is set to the handler's answer, as after a real modal loop.
int exec(QDialog *dialog);

// Tests: replace the real modal loop; returns the previous handler.
Handler setHandler(Handler handler);

// Tests: installs a handler for the lifetime of the guard.
class ScopedHandler
{
public:
    explicit ScopedHandler(Handler handler) : m_previous(setHandler(std::move(handler))) {}
    ~ScopedHandler() { setHandler(std::move(m_previous)); }
    ScopedHandler(const ScopedHandler &) = delete;
    ScopedHandler &operator=(const ScopedHandler &) = delete;

private:
    Handler m_previous;
};

} // namespace Modal
