#pragma once

#include <functional>

class QWidget;

namespace korvane {
class CommandFacade;
struct OperationContext;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class IFrameMessenger;
class MessagePresenter;

// The processor's ten stored templates, as the frame's menu and the centre pane's buttons both
// reach them.

// The processor recalls template `slot`, then everything is read back and `readBackDone`
// redraws (not called when the read-back failed). A partial freeze area is then announced to
// `frame` when there is one. False when the recall itself failed; that has been shown.
bool recallDeviceTemplate(QWidget* parent, BusyRunner& busy, MessagePresenter& presenter,
                          const OperationContext& ctx, int slot, IFrameMessenger* frame,
                          const std::function<void()>& readBackDone);

// One store command; nothing waits for an answer.
void storeDeviceTemplate(QWidget* from, BusyRunner& busy, CommandFacade& facade, int slot);

} // namespace korvane::ui
