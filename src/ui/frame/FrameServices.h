#pragma once

#include <functional>

namespace korvane {
class Settings;
class CommandFacade;
class DeviceLink;
class MessageSink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class MessagePresenter;
class IPanelFactory;

// Everything the main frame works with, handed in so that the frame runs the same in the
// program and in tests. Every part outlives the frame.
struct FrameServices {
    DeviceLink& link;
    ParameterMirror& mirror;
    CommandFacade& facade;
    Settings& settings;
    MessagePresenter& presenter;
    MessageSink* messages;
    BusyRunner& busy;
    IPanelFactory& panels;
    // Starts the program anew once this process has ended (after a language change).
    std::function<void()> restart;
    // The application's own commands.
    std::function<void()> about;
    std::function<void()> help;
};

} // namespace korvane::ui
