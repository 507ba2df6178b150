#include "forms/URLLabel.h"

using namespace platform;

TURLLabel::TURLLabel(Toolkit& toolkit, Shell& shell, LinkLabel& label) : shell_(shell), label_(label) {
    toolkit.registerCursor(crHandPoint, "HANDPOINT");
    label_.setCursor(crHandPoint);
    normalColor_ = label_.textColor();
    label_.onMouseEnter = [this] { MouseEnter(); };
    label_.onMouseLeave = [this] { MouseLeave(); };
    label_.onMouseDown = [this](MouseButton button, int x, int y) { MouseDown(button, x, y); };
    label_.onMouseUp = [this](MouseButton button, int x, int y) { MouseUp(button, x, y); };
}

void TURLLabel::setHotTrack(bool hotTrack) {
    if (hotTrack == hotTrack_) return;
    hotTrack_ = hotTrack;
    label_.repaint();
}

void TURLLabel::setHotColor(uint32_t colour) {
    if (colour == hotColor_) return;
    hotColor_ = colour;
    label_.repaint();
}

void TURLLabel::setPushedColor(uint32_t colour) {
    if (colour == pushedColor_) return;
    pushedColor_ = colour;
    label_.repaint();
}

void TURLLabel::showColour(uint32_t colour) {
    label_.setTextColor(colour);
    label_.repaint();
}

void TURLLabel::MouseEnter() {
    if (!hotTrack_) return;
    normalColor_ = label_.textColor();
    showColour(hotColor_);
}

void TURLLabel::MouseLeave() {
    if (hotTrack_) showColour(normalColor_);
}

void TURLLabel::MouseDown(MouseButton, int, int) {
    if (hotTrack_) showColour(pushedColor_);
    if (Executable) shell_.execute("OPEN", label_.caption(), "", "", ShowState::Normal);
}

void TURLLabel::MouseUp(MouseButton, int, int) {
    if (!hotTrack_) return;
    const Point mouse = label_.screenToClient(label_.cursorPos());
    const bool inside =
        mouse.x >= 0 && mouse.y >= 0 && mouse.x < label_.clientWidth() && mouse.y < label_.clientHeight();
    showColour(inside ? hotColor_ : normalColor_);
}
