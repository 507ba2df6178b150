#include "features/DdeClientConv.h"

#include <cctype>
#include <charconv>

bool DdeClientConv::setLink(const std::string& service, const std::string& topic) {
    closeLink();
    service_ = service;
    topic_ = topic;
    serviceHandle_ = os_.dde.createString(service_);
    topicHandle_ = os_.dde.createString(topic_);
    return connect();
}

bool DdeClientConv::connectAgain() { return !conversation_ && serviceHandle_ && topicHandle_ && connect(); }

bool DdeClientConv::connect() {
    platform::DdeClient& dde = os_.dde;
    conversation_ = dde.connect(serviceHandle_, topicHandle_);
    if (!conversation_) return false;
    const uint32_t format = dde.conversationFormat(conversation_);
    format_ = format ? format : platform::clipboardText;
    return true;
}

void DdeClientConv::executeMacro(const std::string& text) {
    if (!conversation_) return;
    platform::DdeClient& dde = os_.dde;
    const platform::DdeDataHandle data = dde.createData(std::string(text.c_str(), text.size() + 1), format_);
    if (data) dde.executeAsync(conversation_, data, format_);
}

void DdeClientConv::closeLink() {
    platform::DdeClient& dde = os_.dde;
    if (conversation_) dde.disconnect(conversation_);
    if (serviceHandle_) dde.freeString(serviceHandle_);
    if (topicHandle_) dde.freeString(topicHandle_);
    conversation_ = serviceHandle_ = topicHandle_ = 0;
    service_.clear();
    topic_.clear();
}

std::string fileOpenCommand(const std::string& dviPath) { return "[FileOpen(\"" + dviPath + "\")]"; }

namespace {
// Upper-case hexadecimal digits without a prefix. Written by hand rather than
// with printf, whose formatter would be the largest part of the runtime linked in.
std::string upperHex(uint32_t value) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    std::string hex(digits, end);
    for (char& digit : hex)
        digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
    return hex;
}
} // namespace

std::string ddeInitializeErrorText(uint32_t code) {
    const std::string hex = upperHex(code);
    if (code == 0x4007 || code == 0x4008) return "DDE 実行時にメモリ不足エラーが発生しました";
    if (code == 0x400A) return "DDE エラー ($0" + hex + ") のため対話を確立できません";
    return "DDE がエラーを返しました ($0" + hex + ")";
}
