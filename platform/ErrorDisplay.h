#pragma once

#include <exception>
#include <stdexcept>
#include <utility>

class QString;

// The application's default error display: the message in a box captioned with
// the application's title, an error icon and OK. The program then goes on.
void ShowErrorMessage(const QString& message);
void ShowException(const std::exception& e);

// Runs a handler where a Qt signal or event enters our code. Exceptions never
// cross Qt's own frames: whatever leaves the handler is shown here instead.
template <class F> void Guarded(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
}
