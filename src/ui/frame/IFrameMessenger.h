#pragma once

#include "core/link/CommandCodes.h"
#include "ui/frame/FrameMessage.h"

#include <cstdint>

namespace korvane::ui {

// What panels and tool windows may ask of the main frame.
class IFrameMessenger {
public:
    virtual ~IFrameMessenger() = default;
    // Queued: handled from the frame's event loop.
    virtual void post(FrameMessage m, long long first = 0, long long second = 0) = 0;
    // Handled before returning; the handler's result.
    virtual int send(FrameMessage m, long long first = 0, long long second = 0) = 0;
    // Opens a side pane without announcing it (stack 0 left, 1 right).
    virtual void openPane(int stack, int pane) = 0;
    // The stack sends PaneRefreshNow for its open pane.
    virtual void reannounceOpenPane(int stack) = 0;
    // The output resolution the output panel compares against.
    virtual std::uint8_t currentResolution() const = 0;
    virtual void setCurrentResolution(std::uint8_t code) = 0;

    // Each message through its own function, queued (post...) or handled at once (send...).
    void postLoadTemplatePath() { post(FrameMessage::LoadTemplatePath); }
    // `autoStart`: offer to start the schedule left running (at start-up).
    void postOpenScheduleRunner(bool autoStart) {
        post(FrameMessage::OpenScheduleRunner, autoStart ? 1 : 0);
    }
    int sendOpenScheduleRunner(bool autoStart) {
        return send(FrameMessage::OpenScheduleRunner, autoStart ? 1 : 0);
    }
    // A picture's input changed; picture 1's leaves the output and dual-picture panes alone.
    void postRefreshOutputAndDual(Picture changed, std::uint8_t code) {
        post(FrameMessage::RefreshOutputAndDual, pictureNumber(changed), code);
    }
    void postPicture1OnTop(bool onTop) {
        post(FrameMessage::LayoutFlag, kindNumber(LayoutFlagKind::Picture1OnTop), onTop ? 1 : 0);
    }
    void postHollow(Picture p, bool hollow) {
        const LayoutFlagKind kind =
            p == Picture::One ? LayoutFlagKind::Picture1Hollow : LayoutFlagKind::Picture2Hollow;
        post(FrameMessage::LayoutFlag, kindNumber(kind), hollow ? 1 : 0);
    }
    void postPictureQualityInput(Picture p, std::uint8_t code) {
        post(FrameMessage::PictureQualityInput, pictureNumber(p), code);
    }
    int sendPictureInput(Picture p, std::uint8_t code) {
        const PictureInputKind kind =
            p == Picture::One ? PictureInputKind::Picture1 : PictureInputKind::Picture2;
        return send(FrameMessage::PictureInput, kindNumber(kind), code);
    }
    // Synchronises with the processor; `startUp` for the one after the window first shows.
    void postSynchronise(bool startUp) { post(FrameMessage::Synchronise, 0, startUp ? 1 : 0); }
    int sendSynchronise() { return send(FrameMessage::Synchronise, 0, 0); }
    void postPicture1WholeArea(bool wholeArea) {
        post(FrameMessage::Picture1WholeArea, 0, wholeArea ? 1 : 0);
    }
    void postLabelPicture(Picture p, std::uint8_t code) {
        post(FrameMessage::LabelPicture, labelSelector(p), code);
    }
    void postPointLocateClosed() { post(FrameMessage::PointLocateClosed, 0); }
    void postSelectBox(int column, int row) { post(FrameMessage::SelectBox, column, row); }
    int sendRefreshAllWithSends() { return send(FrameMessage::RefreshAllWithSends); }
    void postPaneOpened(int stack, int pane) { post(FrameMessage::PaneOpened, stack, pane); }
    int sendPaneRefreshNow(int stack, int pane) {
        return send(FrameMessage::PaneRefreshNow, stack, pane);
    }
    void postDisplayChange() { post(FrameMessage::DisplayChange); }
};

} // namespace korvane::ui
