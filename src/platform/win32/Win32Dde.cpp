#include "platform/win32/Win32Dde.h"

#include <ddeml.h>

#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

namespace {
// The preview never waits for a transaction's answer: the completion of an
// asynchronous execute and a partner's disconnect are simply accepted.
HDDEDATA CALLBACK ddeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

HSZ stringOf(DdeStringHandle handle) { return reinterpret_cast<HSZ>(handle); }
HCONV conversationOf(DdeConversation conversation) { return reinterpret_cast<HCONV>(conversation); }

// Waits for the event while answering the messages that other threads send to
// this one: DdeConnect sends WM_DDE_INITIATE to every top-level window, this
// thread's own included. Posted messages stay queued, so no command of the
// program runs in between.
void waitAnsweringSentMessages(HANDLE event) {
    while (MsgWaitForMultipleObjectsEx(1, &event, INFINITE, QS_SENDMESSAGE, 0) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Wine's DdeDisconnect waits up to 10 s for the partner's answer and wakes
// only for posted messages. Meanwhile the thread's top-level DDE windows would
// leave unanswered the WM_DDE_INITIATE that DdeConnect sends to every window,
// holding up every other client's connect, the next refresh's included. This
// posts the thread an empty message every 20 ms while it lives: each one wakes
// the wait, whose PeekMessage answers what was sent.
class WakeWhileWaiting {
public:
    WakeWhileWaiting() : thread_(GetCurrentThreadId()) {
        if (!CreateTimerQueueTimer(&timer_, nullptr, wake, this, interval, interval, WT_EXECUTEDEFAULT))
            timer_ = nullptr;
    }
    ~WakeWhileWaiting() {
        if (timer_) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE); // waits for a running wake
    }
    WakeWhileWaiting(const WakeWhileWaiting&) = delete;
    WakeWhileWaiting& operator=(const WakeWhileWaiting&) = delete;

private:
    static constexpr DWORD interval = 20;
    static void CALLBACK wake(void* self, BOOLEAN) {
        PostThreadMessageA(static_cast<WakeWhileWaiting*>(self)->thread_, WM_NULL, 0, 0);
    }

    DWORD thread_;
    HANDLE timer_ = nullptr;
};

void dispatchQueuedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
} // namespace

// A thread with a DDEML instance of its own that makes the calls given to it
// in order, handling its DDE windows' messages in between. Once retired it
// makes the calls still queued, releases its instance and ends by itself;
// nobody waits for it, so a partner that keeps it waiting holds up no one.
class DdeSession {
public:
    using Call = std::function<void(DWORD instance)>;

    // Null when the thread cannot be started.
    static std::shared_ptr<DdeSession> start() {
        std::shared_ptr<DdeSession> session(new DdeSession);
        if (!session->wake_ || !session->answered_) return nullptr;
        try {
            std::thread([session] { session->run(); }).detach();
        } catch (const std::system_error&) {
            return nullptr;
        }
        return session;
    }

    void post(Call call) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(std::move(call));
        }
        SetEvent(wake_.get());
    }

    // Makes the call on the session's thread and waits for its result.
    uintptr_t send(const std::function<uintptr_t(DWORD instance)>& call) {
        uintptr_t result = 0;
        post([&](DWORD instance) {
            result = call(instance);
            SetEvent(answered_.get());
        });
        waitAnsweringSentMessages(answered_.get());
        return result;
    }

    void retire() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            retired_ = true;
        }
        SetEvent(wake_.get());
    }

private:
    DdeSession()
        : wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)), answered_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    }

    void run() {
        DWORD instance = 0;
        if (DdeInitializeA(&instance, ddeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance = 0;
        for (bool finished = false; !finished;) {
            if (Call call = takeCall(finished))
                call(instance);
            else if (!finished)
                waitHandlingMessages();
        }
        if (instance) DdeUninitialize(instance);
    }

    // The next queued call; an empty one when there is none, and then
    // finished tells whether the session has been retired.
    Call takeCall(bool& finished) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (calls_.empty()) {
            finished = retired_;
            return nullptr;
        }
        Call call = std::move(calls_.front());
        calls_.pop_front();
        return call;
    }

    void waitHandlingMessages() {
        HANDLE wake = wake_.get();
        MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        dispatchQueuedMessages();
    }

    OwnedHandle wake_;     // a call queued, or the session retired
    OwnedHandle answered_; // the call that send waits for has been made
    std::mutex mutex_;
    std::deque<Call> calls_;
    bool retired_ = false;
};

Win32Dde::Win32Dde() = default;

Win32Dde::~Win32Dde() {
    if (session_) session_->retire();
}

uint32_t Win32Dde::initialize() {
    const UINT result = DdeInitializeA(&instance_, ddeCallback, 0, 0);
    return result == DMLERR_NO_ERROR ? 0 : result;
}

void Win32Dde::uninitialize() {
    if (instance_) DdeUninitialize(instance_);
    instance_ = 0;
}

DdeStringHandle Win32Dde::createString(const std::string& text) {
    if (!session_) session_ = DdeSession::start();
    if (!session_) return 0;
    const DdeStringHandle handle = session_->send([&text](DWORD instance) {
        return reinterpret_cast<uintptr_t>(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI));
    });
    if (handle) ++liveStrings_;
    return handle;
}

void Win32Dde::freeString(DdeStringHandle handle) {
    if (!session_ || !handle) return;
    session_->post([handle](DWORD instance) { DdeFreeStringHandle(instance, stringOf(handle)); });
    --liveStrings_;
    retireWhenUnused();
}

DdeConversation Win32Dde::connect(DdeStringHandle service, DdeStringHandle topic) {
    if (!session_) return 0;
    const DdeConversation conversation = session_->send([service, topic](DWORD instance) {
        CONVCONTEXT context{};
        context.cb = sizeof context;
        context.iCodePage = CP_WINANSI;
        return reinterpret_cast<uintptr_t>(DdeConnect(instance, stringOf(service), stringOf(topic), &context));
    });
    if (conversation) ++openConversations_;
    return conversation;
}

uint32_t Win32Dde::conversationFormat(DdeConversation conversation) {
    if (!session_) return 0;
    return static_cast<uint32_t>(session_->send([conversation](DWORD) -> uintptr_t {
        CONVINFO info{};
        info.cb = sizeof info;
        if (!DdeQueryConvInfo(conversationOf(conversation), QID_SYNC, &info)) return 0;
        return info.wFmt;
    }));
}

DdeDataHandle Win32Dde::createData(const std::string& bytes, uint32_t format) {
    if (!session_) return 0;
    return session_->send([&bytes, format](DWORD instance) {
        return reinterpret_cast<uintptr_t>(
            DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                                static_cast<DWORD>(bytes.size()), 0, nullptr, format, 0));
    });
}

void Win32Dde::executeAsync(DdeConversation conversation, DdeDataHandle data, uint32_t format) {
    if (!session_) return;
    session_->post([conversation, data, format](DWORD) {
        DdeClientTransaction(reinterpret_cast<LPBYTE>(data), 0xFFFFFFFF, conversationOf(conversation), nullptr, format,
                             XTYP_EXECUTE, TIMEOUT_ASYNC, nullptr);
    });
}

void Win32Dde::disconnect(DdeConversation conversation) {
    if (!session_) return;
    session_->post([conversation](DWORD) {
        WakeWhileWaiting answerSentMessages;
        DdeDisconnect(conversationOf(conversation));
    });
    --openConversations_;
    retireWhenUnused();
}

void Win32Dde::retireWhenUnused() {
    if (liveStrings_ > 0 || openConversations_ > 0) return;
    session_->retire();
    session_.reset();
}

} // namespace platform::win32
