#pragma once
#include <windows.h>

#include <memory>

#include "platform/Dde.h"

namespace platform::win32 {

class DdeSession;

// The program's DDEML client. The instance initialised at start-up shows that
// DDE works; each conversation, from its first string handle to the release
// of its last, runs on a thread of its own with an instance of its own, so
// that ending it never holds up the caller: DdeDisconnect waits up to 10 s
// for a partner that does not answer, handling nothing but DDE messages.
// Calls that return a value wait for their answer; the releases do not.
class Win32Dde : public DdeClient {
public:
    Win32Dde();
    ~Win32Dde() override;
    Win32Dde(const Win32Dde&) = delete;
    Win32Dde& operator=(const Win32Dde&) = delete;

    uint32_t initialize() override;
    void uninitialize() override;
    DdeStringHandle createString(const std::string& text) override;
    void freeString(DdeStringHandle handle) override;
    DdeConversation connect(DdeStringHandle service, DdeStringHandle topic) override;
    uint32_t conversationFormat(DdeConversation conversation) override;
    DdeDataHandle createData(const std::string& bytes, uint32_t format) override;
    void executeAsync(DdeConversation conversation, DdeDataHandle data, uint32_t format) override;
    void disconnect(DdeConversation conversation) override;

private:
    // Hands the session its last calls once nothing of it is held any more.
    void retireWhenUnused();

    DWORD instance_ = 0;
    std::shared_ptr<DdeSession> session_;
    int liveStrings_ = 0;
    int openConversations_ = 0;
};

} // namespace platform::win32
