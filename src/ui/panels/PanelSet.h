#pragma once

class QWidget;

namespace korvane::ui {

class ICapturePanel;
class ICentrePane;
class ICommPanel;
class IDualPicturePanel;
class IInputBar;
class IOutputPanel;
class IPanel;
class IPictureQualityPanel;
class IPointLocateWindow;

// The panes of the main frame. The frame takes the widgets over (they become its children);
// every pointer but the tool windows must be set (the frame tests run without them).
struct PanelSet {
    IInputBar* inputBar = nullptr;
    IPictureQualityPanel* pictureQuality = nullptr;
    ICapturePanel* capture = nullptr;
    IPanel* sound = nullptr;
    IOutputPanel* output = nullptr;
    IDualPicturePanel* dualPicture = nullptr;
    ICommPanel* communication = nullptr;
    ICentrePane* centre = nullptr;
    // The tool windows, shown by the menu.
    IPointLocateWindow* pointLocate = nullptr;
    QWidget* testPattern = nullptr;
};

} // namespace korvane::ui
