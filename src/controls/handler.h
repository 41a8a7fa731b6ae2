#pragma once

#include <functional>

namespace velk {

// Handlers are plain callables; a control array binds one handler and passes the element index.
using Handler = std::function<void()>;
using IndexHandler = std::function<void(int)>;

// Runs a handler if one is bound; controls without a binding simply do nothing.
inline void raise(const Handler& handler) {
    if (handler)
        handler();
}

} // namespace velk
