#pragma once
// The preview's DDE conversation with a viewer: set up for one refresh, then
// ended, its string handles always released.
#include <string>

#include "platform/Dde.h"
#include "platform/Os.h"

class DdeClientConv {
public:
    explicit DdeClientConv(platform::Os& os) : os_(os) {}
    ~DdeClientConv() { closeLink(); }
    DdeClientConv(const DdeClientConv&) = delete;
    DdeClientConv& operator=(const DdeClientConv&) = delete;

    // Connects to service and topic; false when nobody answers. The names are
    // kept until closeLink, so that the caller can start the server and then
    // try once more with connectAgain.
    bool setLink(const std::string& service, const std::string& topic);
    bool connectAgain();
    // One asynchronous execute of the text with its terminating NUL; its answer is not awaited.
    void executeMacro(const std::string& text);
    // Ends the conversation and releases the string handles.
    void closeLink();

private:
    bool connect();

    platform::Os& os_;
    std::string service_, topic_;
    platform::DdeStringHandle serviceHandle_ = 0, topicHandle_ = 0;
    platform::DdeConversation conversation_ = 0;
    uint32_t format_ = platform::clipboardText;
};

// The execute command that makes a viewer open the DVI file again.
std::string fileOpenCommand(const std::string& dviPath);
// The message for a DDE instance that could not be initialised.
std::string ddeInitializeErrorText(uint32_t code);
