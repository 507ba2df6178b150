#pragma once
// A DDE client: one instance for the whole program, string handles in the
// Windows ANSI code page, conversations with a service and topic, and
// asynchronous execute transactions.
#include <cstdint>
#include <string>

namespace platform {

using DdeStringHandle = uintptr_t;
using DdeConversation = uintptr_t; // 0: no conversation
using DdeDataHandle = uintptr_t;   // 0: not created

inline constexpr uint32_t clipboardText = 1; // CF_TEXT

class DdeClient {
public:
    virtual ~DdeClient() = default;
    // Registers the program's instance; 0 on success, otherwise the DDE error code.
    [[nodiscard]] virtual uint32_t initialize() = 0;
    virtual void uninitialize() = 0;
    [[nodiscard]] virtual DdeStringHandle createString(const std::string& text) = 0;
    virtual void freeString(DdeStringHandle handle) = 0;
    // Connects with a context that asks for the ANSI code page; 0 when nobody answers.
    [[nodiscard]] virtual DdeConversation connect(DdeStringHandle service, DdeStringHandle topic) = 0;
    // The conversation's data format, 0 when it names none.
    virtual uint32_t conversationFormat(DdeConversation conversation) = 0;
    [[nodiscard]] virtual DdeDataHandle createData(const std::string& bytes, uint32_t format) = 0;
    // Sends an execute transaction without waiting for its answer.
    virtual void executeAsync(DdeConversation conversation, DdeDataHandle data, uint32_t format) = 0;
    virtual void disconnect(DdeConversation conversation) = 0;
};

} // namespace platform
