#include "platform/Events.h"

namespace platform {
namespace {
ExceptionHandler& installedHandler() {
    static ExceptionHandler handler;
    return handler;
}

void report(const Exception& error) {
    if (installedHandler()) installedHandler()(error);
}
} // namespace

void setExceptionHandler(ExceptionHandler handler) { installedHandler() = std::move(handler); }

void fireEvent(const EventHandler& handler) {
    if (!handler) return;
    try {
        handler();
    } catch (const Exception& error) {
        report(error);
    } catch (const std::bad_alloc&) {
        report(Exception("メモリが不足しています"));
    } catch (const std::exception& error) {
        report(Exception(error.what()));
    }
}

} // namespace platform
