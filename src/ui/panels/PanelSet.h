#pragma once

class QWidget;

namespace korvane::ui {

class ICapturePanel;
class ICentrePane;
class ICommPanel;
class IDualPicturePanel;
class IInputBar;
class IOutputPanel;
class IPictureQualityPanel;
class IPointLocateWindow;
class ISoundPanel;

// The panes of the main frame. The frame takes the widgets over (they become its children);
// every pointer but the tool windows must be set.
struct PanelSet {
    IInputBar* inputBar = nullptr;
    IPictureQualityPanel* pictureQuality = nullptr;
    ICapturePanel* capture = nullptr;
    ISoundPanel* sound = nullptr;
    IOutputPanel* output = nullptr;
    IDualPicturePanel* dualPicture = nullptr;
    ICommPanel* communication = nullptr;
    ICentrePane* centre = nullptr;
    // Shown later by its tool; may stay null until it exists.
    IPointLocateWindow* pointLocate = nullptr;
    // The test-pattern window, shown by the menu; may stay null.
    QWidget* testPattern = nullptr;
};

} // namespace korvane::ui
