#pragma once

// The one way calls cross from a worker thread to the user-interface thread. Workers never touch
// a window: they hand a callable to one of these, and the window's own thread runs it.

#include <future>
#include <type_traits>
#include <utility>

#include <wx/app.h>
#include <wx/event.h>
#include <wx/thread.h>

namespace pinsum::ui {

// Runs f later on the user-interface thread, through the handler's event queue. Callable from any
// thread; when the handler is destroyed first, f is dropped with its queue. The caller keeps the
// handler alive while a worker may still post to it (every worker is joined before its owner
// window is destroyed).
template <class F> void PostToUi(wxEvtHandler& handler, F&& f) {
    handler.CallAfter(std::forward<F>(f));
}

// Runs f on the user-interface thread and returns its result: at once when called there, else
// posted to the application and waited for. The user-interface thread must keep handling events
// while a worker waits here, so it never joins a worker that may be asking.
template <class F> auto CallOnUiAndWait(F&& f) -> std::invoke_result_t<F> {
    using Result = std::invoke_result_t<F>;
    if (wxIsMainThread() || wxTheApp == nullptr)
        return f();
    std::promise<Result> promise;
    std::future<Result> answer = promise.get_future();
    wxTheApp->CallAfter([&promise, &f] { promise.set_value(f()); });
    return answer.get();
}

} // namespace pinsum::ui
