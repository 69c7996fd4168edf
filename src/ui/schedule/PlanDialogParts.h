#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace korvane::ui {

struct PanelContext;

// What the plan editor, the older plan dialog and the clock dialog build alike.

// A push button that Enter in an edit does not press.
QPushButton* makeDialogButton(const QString& text, QWidget* parent, const char* objectName);

// With the link closed nothing would go out, yet the busy dialog would report success: says
// "打开串口失败!" and gives false.
bool linkOpenOrSay(QWidget* parent, const PanelContext& context);

// Asks whether to read the processor's plan list and reads all 64 entries into the link's plan
// table behind the busy dialog; true when the table holds a fresh copy.
bool askAndReadPlanList(QWidget* parent, const PanelContext& context);

} // namespace korvane::ui
